// Draws the side picture of the main window: product name, tagline, a placement motif, maker's name.
#pragma once

#include <QImage>
#include <QSize>
#include <QString>

namespace art {

inline constexpr QSize kSidePictureSize(162, 557);

struct SidePicture
{
    QImage image;  // kSidePictureSize, opaque; null when drawing failed
    QString error; // why drawing failed; empty on success
};

// Needs a QGuiApplication (text is drawn) and the font family "Liberation Sans"; without that
// family the picture is refused rather than drawn with a substitute.
SidePicture drawSidePicture();

} // namespace art
