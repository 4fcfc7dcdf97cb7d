// One placement value of the main window: an edit with its up-down control and a "%"/"pixels" radio pair.
// It keeps the edit canonical (an integer within the limits of the unit in force) and converts the value when
// the unit is switched.
#pragma once

#include "placement/unitconversion.h"

#include <QObject>

#include <functional>

class QLineEdit;
class QRadioButton;
class TypingLimit;
class UpDown;

class ValueField : public QObject
{
    Q_OBJECT

public:
    ValueField(QLineEdit *edit, UpDown *upDown, QRadioButton *percent, QRadioButton *pixels, QObject *parent);

    Unit unit() const;
    // The edit's text as an integer, 0 when it is not one.
    int value() const;
    // Switches the radio pair; a button that goes on runs the unit handler.
    void setUnit(Unit unit);
    // Sets the up-down's position, clamped to the current limits, which writes the edit.
    void setValue(int value);
    void load(Unit unit, int value)
    {
        setUnit(unit);
        setValue(value);
    }

    void setPixelsCaption(const QString &caption);

    // The normalisation of the edit: its text becomes the canonical integer within the current limits.
    void normalise();
    // The unit handler: installs the limits and typing length of the unit now on and, unless `updating`,
    // converts the position with the reference size (the monitor's width or height in pixels), which is asked
    // for only then: it costs a query of the window system.
    void switchUnit(bool updating, const std::function<int()> &referencePx);

signals:
    // A button of the radio pair went from off to on.
    void unitSwitched();

private:
    void installLimits(Unit unit);

    QLineEdit *m_edit;
    UpDown *m_upDown;
    QRadioButton *m_percent;
    QRadioButton *m_pixels;
    TypingLimit *m_typingLimit;
};
