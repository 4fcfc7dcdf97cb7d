// The Position and Size groups of the main window: the monitor, the horizontal and vertical alignment with their
// offsets, the width and the height, each of the four numbers in percent or in pixels, and Maximized. The panel
// shows a placement, gives back the one it holds, and converts a value when its unit is switched.
#pragma once

#include <QObject>
#include <QStringList>

#include "placement/placement.h"

class MainController;
class QCheckBox;
class QComboBox;
class QGroupBox;
class QLabel;
class QWidget;
class ValueField;

class PlacementPanel : public QObject
{
    Q_OBJECT

public:
    enum class Value { Horz, Vert, Width, Height };

    // Creates the two groups on `window`, with their controls in tab order.
    PlacementPanel(QWidget *window, const MainController &controller);

    void assignCaptions();
    // Fills the monitor list anew: at start-up, and when monitors come or go. The monitor last chosen (the first one
    // at start-up) is selected while the list holds it; while it does not, nothing is selected (the primary monitor
    // stands in), and it is selected again once the list is long enough again.
    void setMonitorList(const QStringList &entries);

    // Shows the placement with Updating set: a unit that changes installs its limits without converting, and each
    // value is clamped to the limits of its unit. A monitor or an alignment not in its list leaves no selection; that
    // monitor is selected once the monitor list holds it (see setMonitorList).
    void show(const Placement &placement);
    // The placement the controls hold: the selected indices (-1 for none), the values and units, Maximized.
    Placement placement() const;
    int monitorIndex() const;
    bool maximized() const;

    // The unit handler of one value: with Updating set it installs the limits of the unit now on; else it also
    // converts the value with the selected monitor's width or height (the primary monitor's without a selection).
    void switchUnit(Value value);

    // Set while the program itself fills the controls: the unit handlers convert nothing then.
    bool Updating = false;

private:
    ValueField *field(Value value) const;
    int referencePx(Value value) const;

    const MainController &m_controller;
    int m_chosenMonitor = 0; // the index the user picked or an entry showed last, whether in the list or not
    QGroupBox *PositionGrp = nullptr;
    QLabel *ScreenLbl = nullptr;
    QComboBox *MonitorCbo = nullptr;
    QLabel *HorzLbl = nullptr;
    QComboBox *HorzCbo = nullptr;
    ValueField *m_horz = nullptr;
    QLabel *VertLbl = nullptr;
    QComboBox *VertCbo = nullptr;
    ValueField *m_vert = nullptr;
    QGroupBox *SizeGrp = nullptr;
    QCheckBox *MaximizedChk = nullptr;
    QLabel *WidthLbl = nullptr;
    ValueField *m_width = nullptr;
    QLabel *HeightLbl = nullptr;
    ValueField *m_height = nullptr;
};
