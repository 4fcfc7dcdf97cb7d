// Feeds arbitrary text to the readers of the GNOME Shell extension's replies: the monitor list, the window list and
// a placement result. The first byte chooses the reader; the rest is the reply, taken as UTF-8.
#include "platform/gnome/gnomereplies.h"

#include <QString>

#include <cstddef>
#include <cstdint>

// Inputs are capped so that runs stay fast; the readers' own length budget is tested in the unit test.
constexpr size_t kMaxInputBytes = 64 * 1024;

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    if (size == 0 || size > kMaxInputBytes) {
        return 0;
    }
    const QString reply = QString::fromUtf8(reinterpret_cast<const char *>(data + 1), qsizetype(size - 1));
    switch (data[0] % 3) {
    case 0:
        if (const auto monitors = platform::gnome::readMonitors(reply)) {
            Q_ASSERT(!monitors->empty() && monitors->size() <= size_t(platform::gnome::kMaxMonitors));
        }
        break;
    case 1:
        if (const auto windows = platform::gnome::readWindows(reply)) {
            for (const auto &window : *windows) {
                Q_ASSERT(window.title.toUtf8().size() <= platform::kMaxTitleBytes);
            }
        }
        break;
    default:
        platform::gnome::readPlaceResult(reply);
        break;
    }
    return 0;
}
