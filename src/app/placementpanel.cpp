// The placement controls: their creation, showing and reading a placement, and the unit handlers.
#include "placementpanel.h"

#include "formcontrols.h"
#include "maincontroller.h"
#include "updown.h"
#include "valuefield.h"

#include <QCheckBox>
#include <QComboBox>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QRadioButton>

namespace {

// An index into a list of `count` items, or -1 (no selection) for one that is not in it.
int indexOrNone(int index, int count)
{
    return index >= 0 && index < count ? index : -1;
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

PlacementPanel::PlacementPanel(QWidget *window, const MainController &controller)
    : QObject(window)
    , m_controller(controller)
{
    PositionGrp = group(window, "PositionGrp", 176, 8, 362, 102);
    ScreenLbl = label(PositionGrp, "ScreenLbl", 12, 24, 120, 13);
    MonitorCbo = dropDownList(PositionGrp, "MonitorCbo", 132, 20, 214, 21);
    HorzLbl = label(PositionGrp, "HorzLbl", 12, 48, 120, 13);
    HorzCbo = dropDownList(PositionGrp, "HorzCbo", 132, 44, 64, 21);
    m_horz = valueControls(PositionGrp, {"HorzEdt", "HorzUpd", "HorzPnl", "Horz1Rdo", "Horz2Rdo"}, 202, 44, 268);
    VertLbl = label(PositionGrp, "VertLbl", 12, 72, 120, 13);
    VertCbo = dropDownList(PositionGrp, "VertCbo", 132, 68, 64, 21);
    m_vert = valueControls(PositionGrp, {"VertEdt", "VertUpd", "VertPnl", "Vert1Rdo", "Vert2Rdo"}, 202, 68, 268);

    SizeGrp = group(window, "SizeGrp", 550, 8, 212, 102);
    MaximizedChk = inGroup(place(new QCheckBox(SizeGrp), "MaximizedChk", 12, 22, 188, 17));
    WidthLbl = label(SizeGrp, "WidthLbl", 12, 48, 40, 13);
    m_width = valueControls(SizeGrp, {"WidthEdt", "WidthUpd", "WidthPnl", "Width1Rdo", "Width2Rdo"}, 52, 44, 118);
    HeightLbl = label(SizeGrp, "HeightLbl", 12, 72, 40, 13);
    m_height = valueControls(SizeGrp, {"HeightEdt", "HeightUpd", "HeightPnl", "Height1Rdo", "Height2Rdo"}, 52, 68, 118);

    connect(MonitorCbo, &QComboBox::activated, this, [this](int index) { m_chosenMonitor = index; });
    for (const Value value : {Value::Horz, Value::Vert, Value::Width, Value::Height}) {
        connect(field(value), &ValueField::unitSwitched, this, [this, value] { switchUnit(value); });
    }
}

void PlacementPanel::assignCaptions()
{
    PositionGrp->setTitle(QStringLiteral(" Position "));
    ScreenLbl->setText(QStringLiteral("Screen:"));
    HorzLbl->setText(QStringLiteral("Horizontal alignment:"));
    VertLbl->setText(QStringLiteral("Vertical alignment:"));
    SizeGrp->setTitle(QStringLiteral(" Size "));
    MaximizedChk->setText(QStringLiteral("Maximized"));
    WidthLbl->setText(QStringLiteral("Width:"));
    HeightLbl->setText(QStringLiteral("Height:"));
    for (ValueField *value : {m_horz, m_vert, m_width, m_height}) {
        value->setPixelsCaption(QStringLiteral("pixels"));
    }
    HorzCbo->clear();
    HorzCbo->addItems({QStringLiteral("Left"), QStringLiteral("Center"), QStringLiteral("Right")});
    VertCbo->clear();
    VertCbo->addItems({QStringLiteral("Top"), QStringLiteral("Center"), QStringLiteral("Bottom")});
}

void PlacementPanel::setMonitorList(const QStringList &entries)
{
    MonitorCbo->clear();
    MonitorCbo->addItems(entries);
    MonitorCbo->setCurrentIndex(indexOrNone(m_chosenMonitor, MonitorCbo->count()));
}

void PlacementPanel::show(const Placement &placement)
{
    Updating = true;
    m_chosenMonitor = placement.screenIndex;
    MonitorCbo->setCurrentIndex(indexOrNone(m_chosenMonitor, MonitorCbo->count()));
    HorzCbo->setCurrentIndex(indexOrNone(int(placement.horzAlignment), HorzCbo->count()));
    m_horz->load(placement.horzOffset.unit, placement.horzOffset.value);
    VertCbo->setCurrentIndex(indexOrNone(int(placement.vertAlignment), VertCbo->count()));
    m_vert->load(placement.vertOffset.unit, placement.vertOffset.value);
    m_width->load(placement.width.unit, placement.width.value);
    m_height->load(placement.height.unit, placement.height.value);
    // Set both ways: a box left checked by the previous entry would make the next Apply maximize by mistake.
    MaximizedChk->setChecked(placement.maximized);
    Updating = false;
}

Placement PlacementPanel::placement() const
{
    Placement placement;
    placement.screenIndex = MonitorCbo->currentIndex();
    placement.horzAlignment = HorzAlignment(HorzCbo->currentIndex());
    placement.horzOffset = {m_horz->value(), m_horz->unit()};
    placement.vertAlignment = VertAlignment(VertCbo->currentIndex());
    placement.vertOffset = {m_vert->value(), m_vert->unit()};
    placement.width = {m_width->value(), m_width->unit()};
    placement.height = {m_height->value(), m_height->unit()};
    placement.maximized = MaximizedChk->isChecked();
    return placement;
}

int PlacementPanel::monitorIndex() const
{
    return MonitorCbo->currentIndex();
}

bool PlacementPanel::maximized() const
{
    return MaximizedChk->isChecked();
}

void PlacementPanel::switchUnit(Value value)
{
    field(value)->switchUnit(Updating, [this, value] { return referencePx(value); });
}

ValueField *PlacementPanel::field(Value value) const
{
    switch (value) {
    case Value::Horz:
        return m_horz;
    case Value::Vert:
        return m_vert;
    case Value::Width:
        return m_width;
    case Value::Height:
        break;
    }
    return m_height;
}

int PlacementPanel::referencePx(Value value) const
{
    const QSize reference = m_controller.referenceSize(MonitorCbo->currentIndex());
    return value == Value::Horz || value == Value::Width ? reference.width() : reference.height();
}
