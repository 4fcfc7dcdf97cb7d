// The controls of the program's forms.
#include "formcontrols.h"

#include <QComboBox>
#include <QGroupBox>
#include <QLabel>
#include <QPushButton>

QGroupBox *group(QWidget *parent, const char *name, int left, int top, int width, int height)
{
    auto *box = place(new QGroupBox(parent), name, left, top, width, height);
    box->setFont(boldInterfaceFont());
    return box;
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
