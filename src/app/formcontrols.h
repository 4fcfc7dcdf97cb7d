// Making the controls of the program's forms: each gets its name and its bounds (left, top, width, height,
// relative to its parent). Controls inside a bold group box take the normal interface font.
#pragma once

#include <QWidget>

#include "uifont.h"

class QComboBox;
class QGroupBox;
class QLabel;
class QPushButton;

template<typename Widget> Widget *place(Widget *widget, const char *name, int left, int top, int width, int height)
{
    widget->setObjectName(QLatin1String(name));
    widget->setGeometry(left, top, width, height);
    return widget;
}

// Widgets inside a bold group box take the normal font explicitly; they would inherit the bold one otherwise.
template<typename Widget> Widget *inGroup(Widget *widget)
{
    widget->setFont(interfaceFont());
    return widget;
}

// A group box with a bold caption.
QGroupBox *group(QWidget *parent, const char *name, int left, int top, int width, int height);
QPushButton *button(QWidget *parent, const char *name, int left, int top, int width, int height);
QLabel *label(QWidget *parent, const char *name, int left, int top, int width, int height);
QComboBox *dropDownList(QWidget *parent, const char *name, int left, int top, int width, int height);
