// loadSkin: builds all skin objects from a skin package (the bytes of a skin file). Pure: no messages, no
// global state; the skin data component decides what to tell the user.
#pragma once

#include <QString>
#include <cstdint>
#include <optional>
#include <span>

#include "skin/format/skinreader.h"
#include "skin/model/platformlook.h"
#include "skin/model/skinobjects.h"

struct SkinLoadResult
{
    std::optional<SkinObjects> objects;               // set when the skin loaded
    SkinReadError packageError = SkinReadError::None; // why the package was refused, if it was
    QString errorText;                                // one line for people; empty after success
};

// Opens the package, reads its description (the first entry whose name contains ".ini") and builds every
// object in loading order, then the derived images. A package that does not open, or that has no
// description, gives no objects.
SkinLoadResult loadSkin(std::span<const uint8_t> package, const PlatformLook &look);
