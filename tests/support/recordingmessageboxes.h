// Message boxes for tests: questions are answered from a script, and every box is recorded instead of shown.
#pragma once

#include "messageboxes.h"

#include <QStringList>

class RecordingMessageBoxes : public MessageBoxes
{
public:
    bool question(QWidget *, const QString &text) override
    {
        questions << text;
        return answer;
    }
    void error(QWidget *, const QString &text) override { errors << text; }

    bool answer = true;
    QStringList questions;
    QStringList errors;
};
