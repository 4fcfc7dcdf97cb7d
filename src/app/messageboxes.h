// The one seam through which the program asks the user questions and shows its own errors, so that tests can
// answer and record them. Both boxes are modal and titled with the application title.
#pragma once

#include <QString>

class QWidget;

class MessageBoxes
{
public:
    virtual ~MessageBoxes() = default;
    // A confirmation box with Yes (the default button) and No (also taken by Escape); true for Yes.
    virtual bool question(QWidget *parent, const QString &text);
    // An error box with an OK button showing the text as given.
    virtual void error(QWidget *parent, const QString &text);
    // The box for a failure that ended a command: the message followed by a full stop.
    void failure(QWidget *parent, const QString &message) { error(parent, message + QLatin1Char('.')); }
};
