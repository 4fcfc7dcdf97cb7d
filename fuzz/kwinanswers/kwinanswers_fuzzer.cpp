// The KWin scripts' answers as any bytes: the envelope, and its value read as a monitor list, a window list, one
// window and a window id. Whatever is accepted must be within the budgets. Input: the answer's JSON text.
#include "platform/kwin/kwinanswers.h"

#include <cstddef>
#include <cstdint>

using namespace platform::kwin;

namespace {

void checkWindow(const WindowState &window)
{
    if (window.id.isEmpty() || window.id.size() > kMaxWindowIdChars
        || window.title.toUtf8().size() > platform::kMaxTitleBytes || window.frame.width() < 0
        || window.frame.height() < 0) {
        __builtin_trap();
    }
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    const ScriptAnswer answer = readAnswer(QByteArrayView(reinterpret_cast<const char *>(data), qsizetype(size)));
    if (!answer.value) {
        return 0;
    }
    if (const auto monitors = monitorsFrom(*answer.value)) {
        if (monitors->empty() || qsizetype(monitors->size()) > kMaxMonitors) {
            __builtin_trap();
        }
    }
    if (const auto windows = windowsFrom(*answer.value)) {
        if (qsizetype(windows->size()) > kMaxWindows) {
            __builtin_trap();
        }
        for (const WindowState &window : *windows) {
            checkWindow(window);
        }
    }
    if (const WindowAnswer window = windowFrom(*answer.value); window.window) {
        checkWindow(*window.window);
    }
    if (const IdAnswer id = windowIdFrom(*answer.value); id.id.size() > kMaxWindowIdChars) {
        __builtin_trap();
    }
    return 0;
}
