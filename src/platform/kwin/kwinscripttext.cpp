// The script texts from the program's resources.
#include "kwinscripttext.h"

#include <QFile>
#include <QJsonDocument>
#include <QString>

namespace platform::kwin {

namespace {

const QByteArray kCallMarker = "FRAMEWRIGHT_CALL";

QString resourceName(Script script)
{
    switch (script) {
    case Script::Monitors:
        return QStringLiteral(":/framewright/kwin/monitors.js");
    case Script::Windows:
        return QStringLiteral(":/framewright/kwin/windows.js");
    case Script::Window:
        return QStringLiteral(":/framewright/kwin/window.js");
    case Script::ActiveWindow:
        return QStringLiteral(":/framewright/kwin/activewindow.js");
    case Script::Place:
        return QStringLiteral(":/framewright/kwin/place.js");
    case Script::Watch:
        return QStringLiteral(":/framewright/kwin/watch.js");
    }
    return {};
}

QByteArray resource(const QString &name)
{
    QFile file(name);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

} // namespace

QByteArray scriptText(Script script, const QJsonObject &call)
{
    QByteArray head = resource(QStringLiteral(":/framewright/kwin/common.js"));
    const QByteArray body = resource(resourceName(script));
    if (head.count(kCallMarker) != 1 || body.isEmpty()) {
        return {};
    }
    head.replace(kCallMarker, QJsonDocument(call).toJson(QJsonDocument::Compact));
    return head + '\n' + body;
}

} // namespace platform::kwin
