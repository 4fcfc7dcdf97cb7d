// Image references and BMP decoding through Qt's reader, with the size budget checked from the header.
#include "skinimage.h"

#include <QBuffer>
#include <QByteArray>
#include <QImageReader>

std::string skinImageEntryName(std::string_view reference)
{
    const size_t folderEnd = reference.find_last_of("\\/");
    const std::string_view name = folderEnd == std::string_view::npos ? reference : reference.substr(folderEnd + 1);
    constexpr std::string_view kExtension = ".bmp";
    const size_t dot = name.rfind('.');
    if (dot == std::string_view::npos || name.substr(dot) != kExtension) {
        return {};
    }
    return std::string(name);
}

QImage decodeSkinBitmap(std::span<const uint8_t> bytes)
{
    if (bytes.empty()) {
        return {};
    }
    const QByteArray data
        = QByteArray::fromRawData(reinterpret_cast<const char *>(bytes.data()), static_cast<qsizetype>(bytes.size()));
    QBuffer buffer;
    buffer.setData(data);
    buffer.open(QIODevice::ReadOnly);
    QImageReader reader(&buffer, "bmp");
    const QSize size = reader.size();
    if (!size.isValid() || size.width() > kMaxSkinImageSidePx || size.height() > kMaxSkinImageSidePx
        || qint64(size.width()) * size.height() > kMaxSkinImagePixels) {
        return {};
    }
    const QImage image = reader.read();
    if (image.isNull() || image.size() != size) {
        return {};
    }
    return image.convertToFormat(QImage::Format_RGB32);
}
