// SkinTarget: what the skin style knows about the widget it is asked to paint: its kind and the skin source it
// is painted from. Empty for a widget that keeps the platform look.
#pragma once

#include <QObject>
#include <QVariant>
#include <memory>

#include "skin/model/skinsource.h"

// The dynamic property that carries the framework's Tag of a control, a window or a menu.
inline constexpr char kTagProperty[] = "Tag";

// A widget's Tag; 0 when unset.
inline int controlTag(const QObject &object)
{
    return object.property(kTagProperty).toInt();
}

// How the skin style paints a control. The parts of a control (scroll bars, a list's header, the arrows of
// an up-down) are registered with kinds of their own when their control is matched.
enum class SkinKind {
    None, // the platform look
    Button,
    CheckBox,
    RadioButton,
    Edit,
    Combo,
    GroupBox,
    Panel,
    UpDown,
    UpDownArrow,
    ScrollArea, // a control with scroll bars
    ListView,   // a control with scroll bars and a header
    ScrollBar,
    Header,
};

struct SkinTarget
{
    SkinKind kind = SkinKind::None;
    std::shared_ptr<const SkinSource> source; // held for the paint
    const SkinObjects *skin = nullptr;        // the source's skin; non-null whenever source is

    explicit operator bool() const { return skin != nullptr; }
};
