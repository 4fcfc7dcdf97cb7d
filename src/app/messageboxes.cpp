// Modal message boxes of the program.
#include "messageboxes.h"

#include "application.h"

#include <QMessageBox>

bool MessageBoxes::question(QWidget *parent, const QString &text)
{
    QMessageBox box(QMessageBox::Question, kApplicationTitle, text, QMessageBox::Yes | QMessageBox::No, parent);
    box.setDefaultButton(QMessageBox::Yes);
    box.setEscapeButton(QMessageBox::No);
    return box.exec() == QMessageBox::Yes;
}

void MessageBoxes::error(QWidget *parent, const QString &text)
{
    QMessageBox box(QMessageBox::Critical, kApplicationTitle, text, QMessageBox::Ok, parent);
    box.exec();
}
