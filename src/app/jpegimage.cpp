// JPEG decoding through the TurboJPEG API, with the size checked before anything is allocated.
#include "jpegimage.h"

#include <turbojpeg.h>

#include <memory>

namespace {

struct TurboJpegDeleter
{
    void operator()(void *handle) const { tjDestroy(handle); }
};

} // namespace

std::variant<QImage, QString> decodeJpeg(const QByteArray &bytes)
{
    if (bytes.isEmpty()) {
        return QStringLiteral("no image data");
    }
    std::unique_ptr<void, TurboJpegDeleter> decoder(tjInitDecompress());
    if (!decoder) {
        return QStringLiteral("the JPEG decoder could not be started");
    }
    const auto *data = reinterpret_cast<const unsigned char *>(bytes.constData());
    const auto size = static_cast<unsigned long>(bytes.size());
    int width = 0;
    int height = 0;
    int subsampling = 0;
    int colorspace = 0;
    if (tjDecompressHeader3(decoder.get(), data, size, &width, &height, &subsampling, &colorspace) != 0) {
        return QStringLiteral("not a JPEG image: %1").arg(QString::fromUtf8(tjGetErrorStr2(decoder.get())));
    }
    if (width <= 0 || height <= 0 || qint64(width) * height > kMaxJpegPixels) {
        return QStringLiteral("JPEG image of %1 x %2 pixels is out of bounds").arg(width).arg(height);
    }
    QImage image(width, height, QImage::Format_RGB888);
    if (image.isNull()) {
        return QStringLiteral("no memory for a JPEG image of %1 x %2 pixels").arg(width).arg(height);
    }
    if (tjDecompress2(
            decoder.get(), data, size, image.bits(), width, static_cast<int>(image.bytesPerLine()), height, TJPF_RGB, 0)
        != 0) {
        return QStringLiteral("JPEG image could not be decoded: %1")
            .arg(QString::fromUtf8(tjGetErrorStr2(decoder.get())));
    }
    return image;
}
