// The texts of Framewright's KWin scripts: each a Qt resource (scripts/*.js) preceded by the shared head
// (scripts/common.js), in which the call that loads the script replaces the marker FRAMEWRIGHT_CALL.
#pragma once

#include <QByteArray>
#include <QJsonObject>

namespace platform::kwin {

// The scripts, each a file of its own under scripts/.
enum class Script { Monitors, Windows, Window, ActiveWindow, Place, Watch };

// The script's text with `call` ({service, path, interface, token, request}: see common.js) in place of the marker;
// empty when the program lacks the script.
QByteArray scriptText(Script script, const QJsonObject &call);

} // namespace platform::kwin
