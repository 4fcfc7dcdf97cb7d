// JPEG bytes through the side-picture decoder: forged headers must be refused before any large allocation.
#include "jpegimage.h"

#include <cstddef>
#include <cstdint>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    const auto decoded = decodeJpeg(QByteArray(reinterpret_cast<const char *>(data), qsizetype(size)));
    if (const auto *image = std::get_if<QImage>(&decoded)) {
        if (qint64(image->width()) * image->height() > kMaxJpegPixels) {
            __builtin_trap();
        }
    }
    return 0;
}
