// Matching a control to the way the skin paints it: the Tag that keeps the platform look, the Skin3rd class
// table, then rules for the Qt classes the program uses, each needing its SkinControls element.
#pragma once

#include <QString>
#include <QStringList>
#include <optional>

#include "skin/style/skintarget.h"

class QWidget;
class TSkinData;

struct ControlMatch
{
    SkinKind kind = SkinKind::None;
    bool matchChildren = false; // the control's children are offered in turn
    // A radio or check group: its children get this kind (SkinKind::None when the element is not skinned).
    std::optional<SkinKind> childKind;
};

// The kind of the first Skin3rd line for the class: the line's text, lower-cased, begins with the lower-cased
// class name and "="; the kind is the rest of the line (at most 50 characters), lower-cased.
std::optional<QString> skin3rdKind(const QStringList &table, const QString &className);

// The match of one control (not a window) with the component's settings. A control whose Tag equals
// DisableTag is not skinned; when it is a radio or check group, its children get the same Tag here.
ControlMatch matchControl(QWidget &control, const TSkinData &skinData);
