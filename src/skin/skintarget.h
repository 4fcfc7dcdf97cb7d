// SkinTarget: what the skin style knows about the widget it is asked to paint: its kind and the loaded skin
// it is painted from. Empty for a widget that keeps the platform look.
#pragma once

#include "controlmatcher.h"

struct SkinObjects;
class TSkinData;

struct SkinTarget
{
    SkinKind kind = SkinKind::None;
    const TSkinData *data = nullptr;
    const SkinObjects *skin = nullptr; // non-null whenever data is

    explicit operator bool() const { return skin != nullptr; }
};
