// The description of the shipped skin: image names, margins, frame counts, colours and fonts.
#pragma once

#include <QByteArray>

namespace skinart {

inline constexpr const char *kDescriptionName = "framewright.ini";

QByteArray skinDescription();

} // namespace skinart
