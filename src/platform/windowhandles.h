// Handles for windows whose native ids do not fit a WindowId (KWin's UUIDs, mutter's 64-bit ids, sway's con_ids).
// A handle is given once and never to another window while the program runs, so a handle kept past its window's
// end can never reach a window that appeared later.
#pragma once

#include "platform/windowsystem.h"

#include <limits>
#include <map>
#include <optional>
#include <unordered_map>

namespace platform {

template<typename NativeId> class WindowHandles
{
public:
    // The window's handle, a new one the first time the window is seen; 0 once every handle has been given out.
    WindowId handle(const NativeId &native)
    {
        if (const auto found = m_handles.find(native); found != m_handles.end()) {
            return found->second;
        }
        if (m_next == 0) {
            return 0;
        }
        const WindowId handle = m_next;
        m_next = m_next == std::numeric_limits<WindowId>::max() ? 0 : m_next + 1;
        m_handles.emplace(native, handle);
        m_natives.emplace(handle, native);
        return handle;
    }

    // The native id behind a handle; empty for a handle never given or whose window is forgotten.
    std::optional<NativeId> native(WindowId handle) const
    {
        const auto found = m_natives.find(handle);
        return found == m_natives.end() ? std::nullopt : std::optional<NativeId>(found->second);
    }

    // The window is gone: its handle no longer resolves, and the same native id later gets a new handle.
    void forget(const NativeId &native)
    {
        if (const auto found = m_handles.find(native); found != m_handles.end()) {
            m_natives.erase(found->second);
            m_handles.erase(found);
        }
    }

private:
    std::map<NativeId, WindowId> m_handles;
    std::unordered_map<WindowId, NativeId> m_natives;
    WindowId m_next = 1;
};

} // namespace platform
