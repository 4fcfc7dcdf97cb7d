// The main window's controls: kind, parent, bounds, initial state and captions. Creation order is the tab order.
#include "mainwnd.h"

#include "clickimage.h"
#include "gridlinedelegate.h"
#include "uifont.h"
#include "updown.h"
#include "valuefield.h"

#include <QCheckBox>
#include <QComboBox>
#include <QGroupBox>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QRadioButton>
#include <QTreeWidget>

namespace {

template<typename Widget> Widget *place(Widget *widget, const char *name, int left, int top, int width, int height)
{
    widget->setObjectName(QLatin1String(name));
    widget->setGeometry(left, top, width, height);
    return widget;
}

QGroupBox *group(QWidget *parent, const char *name, int left, int top, int width, int height)
{
    auto *box = place(new QGroupBox(parent), name, left, top, width, height);
    box->setFont(boldInterfaceFont());
    return box;
}

// Widgets inside a bold group box take the normal font explicitly; they would inherit the bold one otherwise.
template<typename Widget> Widget *inGroup(Widget *widget)
{
    widget->setFont(interfaceFont());
    return widget;
}

QPushButton *button(QWidget *parent, const char *name, int left, int top, int width, int height)
{
    return inGroup(place(new QPushButton(parent), name, left, top, width, height));
}

QLabel *label(QWidget *parent, const char *name, int left, int top, int width, int height)
{
    return inGroup(place(new QLabel(parent), name, left, top, width, height));
}

QComboBox *dropDownList(QWidget *parent, const char *name, int left, int top, int width, int height)
{
    return inGroup(place(new QComboBox(parent), name, left, top, width, height));
}

struct ValueControlNames
{
    const char *edit;
    const char *upDown;
    const char *panel;
    const char *percent;
    const char *pixels;
};

// An edit at (left, top) with its up-down control beside it and the radio panel at (panelLeft, top + 2).
ValueField *valueControls(QWidget *parent, const ValueControlNames &names, int left, int top, int panelLeft)
{
    auto *edit = inGroup(place(new QLineEdit(QStringLiteral("0"), parent), names.edit, left, top, 41, 21));
    auto *upDown = place(new UpDown(parent), names.upDown, left + 41, top, 16, 21);
    auto *panel = inGroup(place(new QWidget(parent), names.panel, panelLeft, top + 2, 82, 17));
    auto *percent = place(new QRadioButton(QStringLiteral("%"), panel), names.percent, 0, 0, 32, 17);
    auto *pixels = place(new QRadioButton(panel), names.pixels, 34, 0, 48, 17);
    percent->setChecked(true);
    return new ValueField(edit, upDown, percent, pixels, parent);
}

} // namespace

void TMainWnd::createControls()
{
    SideImg = place(new TClickImage(this), "SideImg", 0, 0, 162, 557);

    PositionGrp = group(this, "PositionGrp", 176, 8, 362, 102);
    ScreenLbl = label(PositionGrp, "ScreenLbl", 12, 24, 120, 13);
    MonitorCbo = dropDownList(PositionGrp, "MonitorCbo", 132, 20, 214, 21);
    HorzLbl = label(PositionGrp, "HorzLbl", 12, 48, 120, 13);
    HorzCbo = dropDownList(PositionGrp, "HorzCbo", 132, 44, 64, 21);
    m_horz = valueControls(PositionGrp, {"HorzEdt", "HorzUpd", "HorzPnl", "Horz1Rdo", "Horz2Rdo"}, 202, 44, 268);
    VertLbl = label(PositionGrp, "VertLbl", 12, 72, 120, 13);
    VertCbo = dropDownList(PositionGrp, "VertCbo", 132, 68, 64, 21);
    m_vert = valueControls(PositionGrp, {"VertEdt", "VertUpd", "VertPnl", "Vert1Rdo", "Vert2Rdo"}, 202, 68, 268);

    SizeGrp = group(this, "SizeGrp", 550, 8, 212, 102);
    MaximizedChk = inGroup(place(new QCheckBox(SizeGrp), "MaximizedChk", 12, 22, 188, 17));
    WidthLbl = label(SizeGrp, "WidthLbl", 12, 48, 40, 13);
    m_width = valueControls(SizeGrp, {"WidthEdt", "WidthUpd", "WidthPnl", "Width1Rdo", "Width2Rdo"}, 52, 44, 118);
    HeightLbl = label(SizeGrp, "HeightLbl", 12, 72, 40, 13);
    m_height = valueControls(SizeGrp, {"HeightEdt", "HeightUpd", "HeightPnl", "Height1Rdo", "Height2Rdo"}, 52, 68, 118);

    DirectGrp = group(this, "DirectGrp", 176, 120, 586, 134);
    TitleLbl = label(DirectGrp, "TitleLbl", 12, 20, 456, 13);
    TitleLst = inGroup(place(new QListWidget(DirectGrp), "TitleLst", 12, 36, 456, 85));
    TitleLst->setSelectionMode(QAbstractItemView::ExtendedSelection);
    RefreshBtn = button(DirectGrp, "RefreshBtn", 478, 36, 96, 25);
    ReadBtn = button(DirectGrp, "ReadBtn", 478, 66, 96, 25);
    Apply1Btn = button(DirectGrp, "Apply1Btn", 478, 96, 96, 25);
    ReadBtn->setEnabled(false);
    Apply1Btn->setEnabled(false);

    SavedGrp = group(this, "SavedGrp", 176, 264, 586, 238);
    SavedLvw = inGroup(place(new QTreeWidget(SavedGrp), "SavedLvw", 12, 20, 456, 205));
    SavedLvw->setColumnCount(2);
    SavedLvw->setRootIsDecorated(false);
    SavedLvw->setUniformRowHeights(true);
    SavedLvw->setAllColumnsShowFocus(true);
    SavedLvw->setSelectionMode(QAbstractItemView::ExtendedSelection);
    SavedLvw->setSelectionBehavior(QAbstractItemView::SelectRows);
    SavedLvw->setEditTriggers(QAbstractItemView::NoEditTriggers);
    SavedLvw->setItemDelegate(new GridLineDelegate(SavedLvw));
    SavedLvw->header()->setSectionsClickable(true);
    SavedLvw->header()->setSectionsMovable(false);
    SavedLvw->header()->setStretchLastSection(false);
    SavedLvw->setColumnWidth(0, 272);
    SavedLvw->setColumnWidth(1, 150);
    AddBtn = button(SavedGrp, "AddBtn", 478, 20, 96, 25);
    EditBtn = button(SavedGrp, "EditBtn", 478, 50, 96, 25);
    CopyBtn = button(SavedGrp, "CopyBtn", 478, 80, 96, 25);
    RemoveBtn = button(SavedGrp, "RemoveBtn", 478, 110, 96, 25);
    UpBtn = button(SavedGrp, "UpBtn", 478, 140, 46, 25);
    DownBtn = button(SavedGrp, "DownBtn", 528, 140, 46, 25);
    PresetsBtn = button(SavedGrp, "PresetsBtn", 478, 170, 96, 25);
    Apply2Btn = button(SavedGrp, "Apply2Btn", 478, 200, 96, 25);
    for (QPushButton *needsSelection : {EditBtn, CopyBtn, RemoveBtn, UpBtn, DownBtn, Apply2Btn}) {
        needsSelection->setEnabled(false);
    }

    ExitBtn = button(this, "ExitBtn", 373, 518, 96, 25);
    HelpBtn = button(this, "HelpBtn", 473, 518, 96, 25);
}

void TMainWnd::assignCaptions()
{
    PositionGrp->setTitle(QStringLiteral(" Position "));
    ScreenLbl->setText(QStringLiteral("Screen:"));
    HorzLbl->setText(QStringLiteral("Horizontal alignment:"));
    VertLbl->setText(QStringLiteral("Vertical alignment:"));
    SizeGrp->setTitle(QStringLiteral(" Size "));
    MaximizedChk->setText(QStringLiteral("Maximized"));
    WidthLbl->setText(QStringLiteral("Width:"));
    HeightLbl->setText(QStringLiteral("Height:"));
    for (const char *pixels : {"Horz2Rdo", "Vert2Rdo", "Width2Rdo", "Height2Rdo"}) {
        findChild<QRadioButton *>(QLatin1String(pixels))->setText(QStringLiteral("pixels"));
    }
    DirectGrp->setTitle(QStringLiteral(" Direct "));
    TitleLbl->setText(QStringLiteral("Select one or more window titles:"));
    RefreshBtn->setText(QStringLiteral("Refresh list"));
    ReadBtn->setText(QStringLiteral("Read window"));
    Apply1Btn->setText(QStringLiteral("Apply"));
    SavedGrp->setTitle(QStringLiteral(" Saved "));
    SavedLvw->setHeaderLabels({QStringLiteral("Description"), QStringLiteral("Window Title")});
    AddBtn->setText(QStringLiteral("Add..."));
    EditBtn->setText(QStringLiteral("Edit..."));
    CopyBtn->setText(QStringLiteral("Copy..."));
    RemoveBtn->setText(QStringLiteral("Remove..."));
    UpBtn->setText(QStringLiteral("Up"));
    DownBtn->setText(QStringLiteral("Down"));
    PresetsBtn->setText(QStringLiteral("Presets..."));
    Apply2Btn->setText(QStringLiteral("Apply"));
    ExitBtn->setText(QStringLiteral("Exit"));
    HelpBtn->setText(QStringLiteral("Help"));

    HorzCbo->clear();
    HorzCbo->addItems({QStringLiteral("Left"), QStringLiteral("Center"), QStringLiteral("Right")});
    VertCbo->clear();
    VertCbo->addItems({QStringLiteral("Top"), QStringLiteral("Center"), QStringLiteral("Bottom")});
}
