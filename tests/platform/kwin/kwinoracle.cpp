// The tests' KWin oracle: oracle.js loaded, run and unloaded over D-Bus, its answer received on /oracle.
#include "kwinoracle.h"

#include <QDBusConnection>
#include <QDBusMessage>
#include <QDeadlineTimer>
#include <QFile>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QTemporaryDir>
#include <QTest>

#include <algorithm>

namespace {

QRect rectFrom(const QJsonValue &value)
{
    const QJsonArray a = value.toArray();
    return QRect(qRound(a[0].toDouble()), qRound(a[1].toDouble()), qRound(a[2].toDouble()), qRound(a[3].toDouble()));
}

QDBusMessage kwinCall(const QString &path, const QString &interface, const QString &method, const QVariantList &args)
{
    QDBusMessage call = QDBusMessage::createMethodCall(QStringLiteral("org.kde.KWin"), path, interface, method);
    call.setArguments(args);
    return QDBusConnection::sessionBus().call(call);
}

} // namespace

std::optional<OracleWindow> OracleView::window(const QString &caption) const
{
    const auto found = std::find_if(
        windows.begin(), windows.end(), [&caption](const OracleWindow &w) { return w.caption == caption; });
    return found == windows.end() ? std::nullopt : std::optional<OracleWindow>(*found);
}

bool KWinOracle::start()
{
    return QDBusConnection::sessionBus().registerObject(
        QStringLiteral("/oracle"), this, QDBusConnection::ExportScriptableSlots);
}

void KWinOracle::result(const QString &json)
{
    m_last = json;
}

std::optional<OracleView> KWinOracle::view()
{
    QFile source(QStringLiteral(FRAMEWRIGHT_KWIN_ORACLE_SCRIPT));
    if (!source.open(QIODevice::ReadOnly)) {
        return std::nullopt;
    }
    QByteArray text = source.readAll();
    text.replace("ORACLE_SERVICE", QDBusConnection::sessionBus().baseService().toUtf8());
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("oracle.js"));
    QFile file(path);
    if (!file.open(QIODevice::WriteOnly) || file.write(text) != text.size()) {
        return std::nullopt;
    }
    file.close();

    m_last.clear();
    const QString name = QStringLiteral("framewright-test-oracle-%1").arg(++m_runs);
    const QDBusMessage loaded = kwinCall(QStringLiteral("/Scripting"), QStringLiteral("org.kde.kwin.Scripting"),
        QStringLiteral("loadScript"), {path, name});
    // Scripting.start() runs the scripts loaded and not yet running: a script's own object may be another's (the
    // ids KWin gives are reused while scripts loaded later are still there).
    const QDBusMessage ran
        = kwinCall(QStringLiteral("/Scripting"), QStringLiteral("org.kde.kwin.Scripting"), QStringLiteral("start"), {});
    const bool answered = QTest::qWaitFor([this] { return !m_last.isEmpty(); }, 5000);
    kwinCall(
        QStringLiteral("/Scripting"), QStringLiteral("org.kde.kwin.Scripting"), QStringLiteral("unloadScript"), {name});
    if (!answered) {
        qWarning() << "the oracle script did not answer:" << loaded << ran.errorMessage();
        return std::nullopt;
    }

    const QJsonObject object = QJsonDocument::fromJson(m_last.toUtf8()).object();
    OracleView view;
    for (const QJsonValue &entry : object[u"windows"].toArray()) {
        const QJsonObject w = entry.toObject();
        view.windows.push_back(
            {w[u"caption"].toString(), rectFrom(w[u"frame"]), w[u"stacking"].toInt(), w[u"minimized"].toBool()});
    }
    std::stable_sort(view.windows.begin(), view.windows.end(),
        [](const OracleWindow &a, const OracleWindow &b) { return a.stacking > b.stacking; });
    for (const QJsonValue &screen : object[u"screens"].toArray()) {
        view.screens.push_back(rectFrom(screen));
    }
    view.activeCaption = object[u"active"].toString();
    return view;
}
