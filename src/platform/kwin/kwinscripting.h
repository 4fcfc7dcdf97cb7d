// Framewright's KWin scripts over the session bus: a script is loaded with org.kde.kwin.Scripting.loadScript, run,
// and unloaded; it answers by calling `reply(token, json)` on an object of this class registered on
// the program's own bus connection (callDBus to the program's unique name). Only answers that come from KWin's own
// connection and carry the token of a script still loaded are taken.
#pragma once

#include "kwinanswers.h"
#include "kwinscripttext.h"

#include <QDBusConnection>
#include <QDBusContext>
#include <QDBusPendingCall>
#include <QDeadlineTimer>
#include <QJsonObject>
#include <QObject>
#include <QTemporaryDir>

#include <functional>
#include <map>
#include <memory>
#include <optional>
#include <set>
#include <vector>

namespace platform::kwin {

using AnswerHandler = std::function<void(const ScriptAnswer &answer)>;

class KWinScripting : public QObject, protected QDBusContext
{
    Q_OBJECT
    Q_CLASSINFO("D-Bus Interface", "org.framewright.KWinScriptAnswers")

public:
    // How long a script may take to answer; an answer later than this is a failure.
    static constexpr int kAnswerTimeoutMs = 3000;
    // How long a script run through its own path may take to answer before it is run through Scripting.start().
    static constexpr int kFirstAnswerMs = 300;

    // Empty when there is no session bus or KWin does not own org.kde.KWin on it.
    static std::unique_ptr<KWinScripting> open();
    ~KWinScripting() override;

    // A script loaded and running; unloaded when this ends, after which its answers are dropped.
    class Loaded
    {
    public:
        ~Loaded();
        Loaded(const Loaded &) = delete;
        Loaded &operator=(const Loaded &) = delete;

    private:
        friend class KWinScripting;
        Loaded(KWinScripting &scripting, QString token, QString pluginName);
        KWinScripting &m_scripting;
        QString m_token;
        QString m_pluginName;
    };

    // Loads and runs `script` with `request`; `handler` gets each of its answers from the event loop. Empty when KWin
    // refused to load or run it.
    std::unique_ptr<Loaded> load(Script script, const QJsonObject &request, AnswerHandler handler);

    // Loads the script, waits for its first answer (at most kAnswerTimeoutMs) and unloads it. The answer's value, or
    // empty (and a warning logged) when the script failed or did not answer in time.
    std::optional<QJsonValue> call(Script script, const QJsonObject &request = {});

    // Runs the event loop, answers delivered, until `done` returns true or the deadline passes; whether it did.
    bool waitUntil(const std::function<bool()> &done, QDeadlineTimer deadline);

    // Whether a wait is under way: handlers that would start another operation defer it until idle().
    bool busy() const { return m_waits > 0; }

    // KWin's connection on the bus, which answers come from.
    QString kwinService() const { return m_kwinService; }

public Q_SLOTS:
    Q_SCRIPTABLE void reply(const QString &token, const QString &json);

Q_SIGNALS:
    void answered();
    void idle();

private:
    KWinScripting(QDBusConnection bus, QString kwinService);
    QByteArray scriptText(Script script, const QString &token, const QJsonObject &request) const;
    bool run(int scriptId, const QString &token);
    bool runAt(int scriptId);
    void unload(const QString &pluginName);

    QDBusConnection m_bus;
    QString m_kwinService;
    QString m_objectPath;
    QTemporaryDir m_scriptFolder;
    std::map<QString, AnswerHandler> m_handlers; // by token
    std::vector<QDBusPendingCall> m_unloads;     // finished before this object ends, so that no script stays loaded
    quint64 m_nextToken = 1;
    std::set<QString> m_answeredTokens; // scripts still loaded that have answered at least once
    int m_waits = 0;
    // KWin 6 puts a loaded script at /Scripting/Script<id>, 5.27 at /<id>; the first run finds out which.
    std::optional<bool> m_kwin6Paths;
};

} // namespace platform::kwin
