// Decoding JPEG bytes (the side picture) into an image with libjpeg-turbo.
#pragma once

#include <QByteArray>
#include <QImage>
#include <QString>

#include <variant>

// Largest picture accepted, in pixels: far above any picture the program ships, small enough that a forged
// header cannot make the decoder allocate more than a few tens of megabytes.
constexpr qint64 kMaxJpegPixels = 4096 * 4096;

// The decoded RGB image, or the reason the bytes were refused.
std::variant<QImage, QString> decodeJpeg(const QByteArray &bytes);
