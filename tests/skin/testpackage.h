// Skin packages built in memory for tests: a description and BMP (or raw) entries, packed with the packer's
// encoder exactly as skinpack does.
#pragma once

#include <QBuffer>
#include <QByteArray>
#include <QImage>
#include <cstdint>
#include <span>
#include <string>
#include <vector>

#include "packagewriter.h"

class TestPackage
{
public:
    explicit TestPackage(const QByteArray &description, const std::string &descriptionName = "skin.ini")
    {
        raw(descriptionName, description);
    }

    // Adds image as an uncompressed 24-bit BMP entry.
    TestPackage &image(const std::string &name, const QImage &image)
    {
        QByteArray bmp;
        QBuffer buffer(&bmp);
        buffer.open(QIODevice::WriteOnly);
        image.convertToFormat(QImage::Format_RGB888).save(&buffer, "BMP");
        return raw(name, bmp);
    }

    TestPackage &raw(const std::string &name, const QByteArray &bytes)
    {
        m_entries.push_back({name, std::vector<uint8_t>(bytes.begin(), bytes.end())});
        return *this;
    }

    std::vector<uint8_t> bytes() const { return skinpack::compressImage(skinpack::unpackedImage(m_entries)); }

    QByteArray package() const
    {
        const std::vector<uint8_t> packed = bytes();
        return QByteArray(reinterpret_cast<const char *>(packed.data()), qsizetype(packed.size()));
    }

private:
    std::vector<skinpack::PackageEntry> m_entries;
};

// A solid image of frames side by side, frame k (1-based) filled with colours[k - 1].
inline QImage solidFrames(int frameWidthPx, int heightPx, const std::vector<QRgb> &colours)
{
    QImage image(frameWidthPx * int(colours.size()), heightPx, QImage::Format_RGB32);
    for (size_t k = 0; k < colours.size(); ++k) {
        for (int y = 0; y < heightPx; ++y) {
            for (int x = 0; x < frameWidthPx; ++x) {
                image.setPixel(int(k) * frameWidthPx + x, y, colours[k]);
            }
        }
    }
    return image;
}
