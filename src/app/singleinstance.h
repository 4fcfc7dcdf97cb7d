// One window per settings file. The first start listens on a local socket named after the settings file's path; a
// later window start with the same file finds it, asks it to come to the front, and ends instead of opening a second
// window (two windows would each write the file at exit).
#pragma once

#include <QObject>
#include <QString>

#include <memory>

class QLocalServer;

class SingleInstance : public QObject
{
    Q_OBJECT

public:
    ~SingleInstance() override;

    // Claims the settings file for this start. Returns nothing when a running start holds it; that start was asked
    // to come to the front. A socket left behind by a start that ended without cleaning up is taken over.
    static std::unique_ptr<SingleInstance> claim(const QString &settingsPath);

    // The socket name for a settings file: the same file, however its path is spelled, gives the same name; other
    // users get other names.
    static QString serverName(const QString &settingsPath);

signals:
    // A later start asked; the program's window (or the modal box in front of it) has been brought to the front.
    void activationRequested();

private:
    SingleInstance() = default;
    void onConnection();

    QLocalServer *m_server = nullptr;
};
