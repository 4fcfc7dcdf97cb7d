// One window per settings file. The first start listens on local sockets named after the settings file's identity;
// a later window start with the same file finds one, asks it to come to the front, waits for its answer, and ends
// instead of opening a second window (two windows would each write the file at exit). The sockets live in a folder
// only this user can enter: $XDG_RUNTIME_DIR, else <temporary folder>/framewright-<uid>.
#pragma once

#include <QObject>
#include <QString>
#include <QStringList>

#include <memory>
#include <vector>

class QLocalServer;

class SingleInstance : public QObject
{
    Q_OBJECT

public:
    // What claim() found: `instance` set when this start holds the file; otherwise `refusal` is empty when a running
    // start answered and was asked to come to the front, and says why no window may open when it is not (a running
    // start that does not answer, no private folder for the sockets).
    struct Claim
    {
        std::unique_ptr<SingleInstance> instance;
        QString refusal;
    };

    ~SingleInstance() override;

    // Claims the settings file for this start. A name left behind by a start that ended without cleaning up, or one
    // that this user's running program does not hold (another owner, another kind of file, a peer of another user),
    // is removed and taken over.
    static Claim claim(const QString &settingsPath);

    // The socket paths for a settings file: one from the file's identity (its device and inode: symbolic and hard
    // links to it give the same), one from its folder's identity and its name (the file is replaced by a new inode
    // at each save, and may not exist yet). Empty, with the reason in `error`, when no private folder exists.
    static QStringList socketPaths(const QString &settingsPath, QString *error = nullptr);

signals:
    // A later start asked; the program's window (or the modal box in front of it) has been brought to the front.
    void activationRequested();

private:
    SingleInstance() = default;
    void onConnection();

    std::vector<QLocalServer *> m_servers;
};
