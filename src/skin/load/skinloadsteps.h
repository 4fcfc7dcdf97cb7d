// The steps of a skin load, in the order they run; each fills its part of SkinObjects from the description.
// Internal to the loader.
#pragma once

#include <optional>
#include <string>

#include "skin/model/skinobjects.h"
#include "skindescription.h"

struct PlatformLook;

namespace skinload {

// Section names are compared upper-cased (ASCII letters only).
inline std::string upperCased(std::string text)
{
    for (char &c : text) {
        if (c >= 'a' && c <= 'z') {
            c = static_cast<char>(c - 'a' + 'A');
        }
    }
    return text;
}

// Frame counts are at least 1 after every rule, so that a frame always has a defined size.
template<typename T> void setFrameCount(std::optional<T> &object, int frameCount)
{
    if (object) {
        object->frameCount = frameCount < 1 ? 1 : frameCount;
    }
}

// Keeps the frame count that "Frame" gave, raised to 1.
template<typename T> void keepFrameCount(std::optional<T> &object)
{
    if (object) {
        setFrameCount(object, object->frameCount);
    }
}

// An object of kind T when the section names an image under imageKey: the common keys and that image.
template<typename T>
std::optional<T> readObject(
    const SkinDescription &description, const char *section, const char *imageKey, const SkinColours &colours)
{
    if (!description.has(section, imageKey)) {
        return std::nullopt;
    }
    T object;
    description.readCommon(section, object, colours.buttonText);
    object.image = description.image(section, imageKey);
    return object;
}

void readFrame(const SkinDescription &description, SkinObjects &skin);                                // 1, 2
void readColours(const SkinDescription &description, const SkinColours &platform, SkinObjects &skin); // 3
void readSysButtons(const SkinDescription &description, SkinObjects &skin);                           // 4, 5
void readButtonsAndTitle(const SkinDescription &description, SkinObjects &skin);                      // 6, 7
void readControls(const SkinDescription &description, SkinObjects &skin);                             // 8-21
void deriveImages(const PlatformLook &look, SkinObjects &skin); // after all sections

} // namespace skinload
