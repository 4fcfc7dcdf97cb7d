// KWin scripts over D-Bus. The script texts are Qt resources (scripts/*.js); the call that loads one (the program's
// bus name, reply object, token and request) replaces FRAMEWRIGHT_CALL in the shared head.
#include "kwinscripting.h"

#include <QCoreApplication>
#include <QDBusConnectionInterface>
#include <QDBusMessage>
#include <QEventLoop>
#include <QFile>
#include <QLoggingCategory>
#include <QTimer>

#include <unistd.h>

Q_LOGGING_CATEGORY(lcKWin, "framewright.kwin", QtWarningMsg)

namespace platform::kwin {

namespace {

const QString kKWinName = QStringLiteral("org.kde.KWin");
const QString kScriptingPath = QStringLiteral("/Scripting");
const QString kScriptingInterface = QStringLiteral("org.kde.kwin.Scripting");
const QString kScriptInterface = QStringLiteral("org.kde.kwin.Script");

} // namespace

std::unique_ptr<KWinScripting> KWinScripting::open()
{
    QDBusConnection bus = QDBusConnection::sessionBus();
    if (!bus.isConnected() || !bus.interface()) {
        return nullptr;
    }
    const QDBusReply<QString> owner = bus.interface()->serviceOwner(kKWinName);
    if (!owner.isValid() || owner.value().isEmpty()) {
        return nullptr;
    }
    std::unique_ptr<KWinScripting> scripting(new KWinScripting(bus, owner.value()));
    if (!scripting->m_scriptFolder.isValid()
        || !bus.registerObject(scripting->m_objectPath, scripting.get(), QDBusConnection::ExportScriptableSlots)) {
        qCWarning(lcKWin) << "cannot receive KWin's answers: no folder for the scripts or no object on the bus";
        return nullptr;
    }
    return scripting;
}

KWinScripting::KWinScripting(QDBusConnection bus, QString kwinService)
    : m_bus(std::move(bus))
    , m_kwinService(std::move(kwinService))
{
    static quint64 instances = 0;
    m_objectPath = QStringLiteral("/org/framewright/KWinScripts%1").arg(++instances);
}

KWinScripting::~KWinScripting()
{
    m_bus.unregisterObject(m_objectPath);
    for (QDBusPendingCall &unload : m_unloads) {
        unload.waitForFinished();
    }
}

QByteArray KWinScripting::scriptText(Script script, const QString &token, const QJsonObject &request) const
{
    const QByteArray text = kwin::scriptText(script,
        QJsonObject {
            {QStringLiteral("service"), m_bus.baseService()},
            {QStringLiteral("path"), m_objectPath},
            {QStringLiteral("interface"), QStringLiteral("org.framewright.KWinScriptAnswers")},
            {QStringLiteral("token"), token},
            {QStringLiteral("request"), request},
        });
    if (text.isEmpty()) {
        qCWarning(lcKWin) << "a script is missing from the program";
    }
    return text;
}

std::unique_ptr<KWinScripting::Loaded> KWinScripting::load(
    Script script, const QJsonObject &request, AnswerHandler handler)
{
    const QString token = QString::number(m_nextToken++);
    const QString pluginName = QStringLiteral("framewright-%1-%2").arg(getpid()).arg(token);
    const QString path = m_scriptFolder.filePath(token + QStringLiteral(".js"));
    const QByteArray text = scriptText(script, token, request);
    QFile file(path);
    if (text.isEmpty() || !file.open(QIODevice::WriteOnly) || file.write(text) != text.size() || !file.flush()) {
        qCWarning(lcKWin) << "cannot write the script" << path;
        return nullptr;
    }
    file.close();

    const QDBusMessage loadReply = m_bus.call(
        QDBusMessage::createMethodCall(kKWinName, kScriptingPath, kScriptingInterface, QStringLiteral("loadScript"))
        << path << pluginName);
    const QVariant id = loadReply.arguments().value(0);
    if (loadReply.type() != QDBusMessage::ReplyMessage || id.typeId() != QMetaType::Int || id.toInt() < 0) {
        qCWarning(lcKWin) << "KWin did not load the script:" << loadReply.errorMessage();
        QFile::remove(path);
        return nullptr;
    }
    m_handlers[token] = std::move(handler);
    std::unique_ptr<Loaded> loaded(new Loaded(*this, token, pluginName));
    if (!run(id.toInt(), token)) {
        return nullptr;
    }
    return loaded;
}

// KWin 5.27 and 6 give a new script the number of scripts loaded as its id, and its object the path of that id
// (/<id>, resp. /Scripting/Script<id>): once a script loaded earlier is unloaded, the next one may get the id of one
// still loaded; its own object is then not registered, and a run through that path reaches the other script (where
// it does nothing: a running script is not run again). So the script is run through its path, and when its first
// answer (every script answers at once) does not come soon, through Scripting.start(), which runs every loaded
// script that is not running yet whatever its id, but reads KWin's script configuration each time (about 25 ms).
bool KWinScripting::run(int scriptId, const QString &token)
{
    const auto answered = [this, &token] { return m_answeredTokens.contains(token); };
    if (runAt(scriptId) && waitUntil(answered, QDeadlineTimer(kFirstAnswerMs))) {
        return true;
    }
    const QDBusMessage reply = m_bus.call(
        QDBusMessage::createMethodCall(kKWinName, kScriptingPath, kScriptingInterface, QStringLiteral("start")));
    if (reply.type() != QDBusMessage::ReplyMessage) {
        qCWarning(lcKWin) << "KWin did not run the script:" << reply.errorMessage();
        return false;
    }
    return true;
}

bool KWinScripting::runAt(int scriptId)
{
    // Until a script has run, KWin 6's path is tried first, then 5.27's.
    const std::vector<bool> candidates
        = m_kwin6Paths ? std::vector<bool> {*m_kwin6Paths} : std::vector<bool> {true, false};
    QDBusMessage reply;
    for (const bool kwin6 : candidates) {
        const QString path
            = kwin6 ? QStringLiteral("/Scripting/Script%1").arg(scriptId) : QStringLiteral("/%1").arg(scriptId);
        reply = m_bus.call(QDBusMessage::createMethodCall(kKWinName, path, kScriptInterface, QStringLiteral("run")));
        if (reply.type() == QDBusMessage::ReplyMessage) {
            m_kwin6Paths = kwin6;
            return true;
        }
    }
    return false;
}

void KWinScripting::unload(const QString &pluginName)
{
    m_unloads.push_back(m_bus.asyncCall(
        QDBusMessage::createMethodCall(kKWinName, kScriptingPath, kScriptingInterface, QStringLiteral("unloadScript"))
        << pluginName));
    // Unloads already answered need no waiting for at the end.
    std::erase_if(m_unloads, [](const QDBusPendingCall &call) { return call.isFinished(); });
}

KWinScripting::Loaded::Loaded(KWinScripting &scripting, QString token, QString pluginName)
    : m_scripting(scripting)
    , m_token(std::move(token))
    , m_pluginName(std::move(pluginName))
{ }

KWinScripting::Loaded::~Loaded()
{
    m_scripting.m_handlers.erase(m_token);
    m_scripting.m_answeredTokens.erase(m_token);
    m_scripting.unload(m_pluginName);
    QFile::remove(m_scripting.m_scriptFolder.filePath(m_token + QStringLiteral(".js")));
}

void KWinScripting::reply(const QString &token, const QString &json)
{
    // Anyone on the bus can call this object: only KWin's answers to scripts still loaded count.
    if (!calledFromDBus() || message().service() != m_kwinService) {
        return;
    }
    const auto handler = m_handlers.find(token);
    if (handler == m_handlers.end()) {
        return;
    }
    m_answeredTokens.insert(token);
    // The handler may unload its own script, which erases it: it is called from a copy.
    const AnswerHandler handle = handler->second;
    handle(readAnswer(json.toUtf8()));
    Q_EMIT answered();
}

std::optional<QJsonValue> KWinScripting::call(Script script, const QJsonObject &request)
{
    std::optional<ScriptAnswer> answer;
    const std::unique_ptr<Loaded> loaded = load(script, request, [&answer](const ScriptAnswer &received) {
        if (!answer) {
            answer = received;
        }
    });
    if (!loaded) {
        return std::nullopt;
    }
    if (!waitUntil([&answer] { return answer.has_value(); }, QDeadlineTimer(kAnswerTimeoutMs))) {
        qCWarning(lcKWin) << "KWin's script did not answer within" << kAnswerTimeoutMs << "ms";
        return std::nullopt;
    }
    if (!answer->value) {
        qCWarning(lcKWin).noquote() << answer->error;
    }
    return answer->value;
}

bool KWinScripting::waitUntil(const std::function<bool()> &done, QDeadlineTimer deadline)
{
    ++m_waits;
    QEventLoop loop;
    QTimer timeout;
    timeout.setSingleShot(true);
    connect(&timeout, &QTimer::timeout, &loop, &QEventLoop::quit);
    connect(this, &KWinScripting::answered, &loop, &QEventLoop::quit);
    while (!done() && !deadline.hasExpired()) {
        timeout.start(std::max<qint64>(1, deadline.remainingTime()));
        loop.exec(QEventLoop::ExcludeUserInputEvents);
    }
    const bool reached = done();
    if (--m_waits == 0) {
        Q_EMIT idle();
    }
    return reached;
}

} // namespace platform::kwin
