// For a program linked without the D-Bus compositors' backends (see dbuscompositors.h). Its caller hands such
// sessions to a program that has them (sessionNeedsDBus), so this answer is a safeguard, not a path users take.
#include "dbuscompositors.h"

namespace platform {

SessionWindowSystem openDBusCompositor()
{
    SessionWindowSystem opened;
    opened.error = QStringLiteral("this program is built without the backends of KWin and GNOME Shell");
    return opened;
}

} // namespace platform
