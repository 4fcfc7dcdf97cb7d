// Control matching: Tag, Skin3rd table, Qt class rules.
#include "controlmatcher.h"

#include <QAbstractScrollArea>
#include <QCheckBox>
#include <QComboBox>
#include <QGroupBox>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QTreeView>
#include <QVariant>

#include "skin/component/skindata.h"

namespace {

constexpr qsizetype kMaxSkin3rdKindLength = 50;

using Set = TSkinData::SkinControlSet;

ControlMatch kindIf(bool allowed, SkinKind kind, bool matchChildren = false)
{
    return {allowed ? kind : SkinKind::None, matchChildren, std::nullopt};
}

ControlMatch fromSkin3rd(const QString &kind, Set controls)
{
    if (kind == QLatin1String("combobox")) {
        return kindIf(controls & TSkinData::xcCombo, SkinKind::Combo);
    }
    if (kind == QLatin1String("edit")) {
        return kindIf(controls & TSkinData::xcEdit, SkinKind::Edit);
    }
    if (kind == QLatin1String("radiobutton")) {
        return kindIf(controls & TSkinData::xcRadioButton, SkinKind::RadioButton);
    }
    if (kind == QLatin1String("checkbox")) {
        return kindIf(controls & TSkinData::xcCheckBox, SkinKind::CheckBox);
    }
    if (kind == QLatin1String("panel")) {
        return kindIf(controls & TSkinData::xcPanel, SkinKind::Panel);
    }
    if (kind == QLatin1String("button") || kind == QLatin1String("bitbtn") || kind == QLatin1String("pngbitbtn")
        || kind == QLatin1String("menubtn") || kind == QLatin1String("mediaplayer")) {
        return kindIf(controls & TSkinData::xcButton, SkinKind::Button);
    }
    if (kind == QLatin1String("speedbutton")) {
        return kindIf(controls & TSkinData::xcSpeedButton, SkinKind::Button);
    }
    if (kind == QLatin1String("scrollbar")) {
        return kindIf(controls & TSkinData::xcScrollbar, SkinKind::ScrollArea, true);
    }
    if (kind == QLatin1String("singlescrollbar")) {
        return kindIf(controls & TSkinData::xcScrollbar, SkinKind::ScrollBar);
    }
    if (kind == QLatin1String("container") || kind == QLatin1String("embedscrollbar")) {
        return {SkinKind::None, true, std::nullopt};
    }
    if (kind == QLatin1String("groupbox")) {
        return kindIf(controls & TSkinData::xcGroupBox, SkinKind::GroupBox);
    }
    if (kind == QLatin1String("radiogroup")) {
        ControlMatch match = kindIf(controls & TSkinData::xcGroupBox, SkinKind::GroupBox);
        match.childKind = controls & TSkinData::xcRadioButton ? SkinKind::RadioButton : SkinKind::None;
        return match;
    }
    if (kind == QLatin1String("checkgroup")) {
        ControlMatch match = kindIf(controls & TSkinData::xcGroupBox, SkinKind::GroupBox);
        match.childKind = controls & TSkinData::xcRadioButton ? SkinKind::CheckBox : SkinKind::None;
        return match;
    }
    // "nil", and kinds whose controls this program does not have (tabs, progress and track bars, date-time
    // pickers): not skinned.
    return {};
}

bool isPlainContainer(const QWidget &control)
{
    const char *name = control.metaObject()->className();
    return qstrcmp(name, "QWidget") == 0 || qstrcmp(name, "QFrame") == 0;
}

ControlMatch fromQtClass(QWidget &control, Set controls)
{
    if (control.inherits("UpDown")) {
        return kindIf(controls & TSkinData::xcSpin, SkinKind::UpDown);
    }
    if (qobject_cast<QCheckBox *>(&control)) {
        return kindIf(controls & TSkinData::xcCheckBox, SkinKind::CheckBox);
    }
    if (qobject_cast<QGroupBox *>(&control)) {
        return kindIf(controls & TSkinData::xcPanel, SkinKind::GroupBox, true);
    }
    if (qobject_cast<QRadioButton *>(&control)) {
        return kindIf(controls & TSkinData::xcRadioButton, SkinKind::RadioButton);
    }
    if (qobject_cast<QComboBox *>(&control)) {
        return kindIf(controls & TSkinData::xcCombo, SkinKind::Combo);
    }
    if (qobject_cast<QTreeView *>(&control)) {
        return kindIf(controls & TSkinData::xcScrollbar, SkinKind::ListView);
    }
    if (qobject_cast<QAbstractScrollArea *>(&control)) {
        return kindIf(controls & TSkinData::xcScrollbar, SkinKind::ScrollArea);
    }
    if (qobject_cast<QPushButton *>(&control)) {
        return kindIf(controls & TSkinData::xcButton, SkinKind::Button);
    }
    if (qobject_cast<QLineEdit *>(&control)) {
        return kindIf(controls & TSkinData::xcEdit, SkinKind::Edit);
    }
    // Containers: Qt nests controls in plain widgets for layout, so their children are always offered.
    if (isPlainContainer(control)) {
        return kindIf(controls & TSkinData::xcPanel, SkinKind::Panel, true);
    }
    return {SkinKind::None, true, std::nullopt};
}

bool isGroupOfButtons(const QString &lowerClassName)
{
    return lowerClassName.contains(QLatin1String("radiogroup")) || lowerClassName.contains(QLatin1String("checkgroup"));
}

} // namespace

std::optional<QString> skin3rdKind(const QStringList &table, const QString &className)
{
    const QString key = className.toLower() + QLatin1Char('=');
    for (const QString &line : table) {
        if (line.toLower().startsWith(key)) {
            return line.mid(key.size(), kMaxSkin3rdKindLength).toLower();
        }
    }
    return std::nullopt;
}

ControlMatch matchControl(QWidget &control, const TSkinData &skinData)
{
    const QString className = QString::fromLatin1(control.metaObject()->className());
    if (controlTag(control) == skinData.disableTag()) {
        if (isGroupOfButtons(className.toLower())) {
            for (QWidget *child : control.findChildren<QWidget *>(Qt::FindDirectChildrenOnly)) {
                child->setProperty(kTagProperty, skinData.disableTag());
            }
        }
        return {};
    }
    if (const std::optional<QString> kind = skin3rdKind(skinData.skin3rd(), className)) {
        return fromSkin3rd(*kind, skinData.skinControls());
    }
    return fromQtClass(control, skinData.skinControls());
}
