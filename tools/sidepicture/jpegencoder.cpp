// Encodes a QImage as a baseline JPEG through the TurboJPEG API.
#include "jpegencoder.h"

#include <memory>

#include <turbojpeg.h>

namespace art {

namespace {

struct CompressorDeleter
{
    void operator()(void *handle) const { tjDestroy(handle); }
};

struct BufferDeleter
{
    void operator()(unsigned char *buffer) const { tjFree(buffer); }
};

} // namespace

EncodedJpeg encodeJpeg(const QImage &image, int quality)
{
    if (image.isNull()) {
        return {{}, QStringLiteral("the image is empty")};
    }
    if (quality < 1 || quality > 100) {
        return {{}, QStringLiteral("quality %1 is not within 1..100").arg(quality)};
    }
    const QImage rgb = image.convertToFormat(QImage::Format_RGB888);

    const std::unique_ptr<void, CompressorDeleter> compressor(tjInitCompress());
    if (!compressor) {
        return {{}, QString::fromUtf8(tjGetErrorStr2(nullptr))};
    }
    unsigned char *rawBuffer = nullptr;
    unsigned long size = 0;
    // The pitch is the scan line length QImage uses (padded to 4 bytes), not width * 3.
    const int result = tjCompress2(compressor.get(), rgb.constBits(), rgb.width(), int(rgb.bytesPerLine()),
        rgb.height(), TJPF_RGB, &rawBuffer, &size, TJSAMP_444, quality, TJFLAG_ACCURATEDCT);
    const std::unique_ptr<unsigned char, BufferDeleter> buffer(rawBuffer);
    if (result != 0) {
        return {{}, QString::fromUtf8(tjGetErrorStr2(compressor.get()))};
    }
    return {QByteArray(reinterpret_cast<const char *>(buffer.get()), qsizetype(size)), {}};
}

} // namespace art
