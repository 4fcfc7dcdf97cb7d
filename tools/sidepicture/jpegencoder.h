// Encodes a QImage as a baseline JPEG through the TurboJPEG API.
#pragma once

#include <QByteArray>
#include <QImage>
#include <QString>

namespace art {

struct EncodedJpeg
{
    QByteArray data; // the JPEG file; empty when encoding failed
    QString error;   // why encoding failed; empty on success

    bool ok() const { return error.isEmpty(); }
};

// quality: 1..100. The image is converted to 8-bit RGB first; alpha is dropped. Colour is kept at full
// resolution (4:4:4), so thin coloured lines and small text stay crisp.
EncodedJpeg encodeJpeg(const QImage &image, int quality);

} // namespace art
