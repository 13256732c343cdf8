#pragma once
// Reading a window's text from another process, for the programs that drive the updater's windows
// (ui_driver, the end-to-end driver, the window tests). Windows only.

#include <windows.h>

#include <string>

namespace updater::driving {

// The window's text, or empty when it does not answer within five seconds. One WM_GETTEXT into a
// large buffer: a request is answered only when the window's thread lets messages through, so
// asking for the length first would read two different moments. WM_GETTEXT works across
// processes, also for controls that GetWindowText would not ask.
inline std::wstring WindowText(HWND window) {
    if (window == nullptr) return {};
    std::wstring text(65536, L'\0');
    DWORD_PTR copied = 0;
    if (!SendMessageTimeoutW(window, WM_GETTEXT, text.size(), reinterpret_cast<LPARAM>(text.data()), SMTO_ABORTIFHUNG,
                             5000, &copied))
        return {};
    text.resize(copied);
    return text;
}

}  // namespace updater::driving
