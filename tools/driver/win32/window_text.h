#pragma once
// Reading a window's text and class from another process, and printing them, for the programs that
// drive the updater's windows (ui_driver, the end-to-end driver, the window tests). Windows only.

#include <windows.h>

#include <cstddef>
#include <string>

#include "base/unicode.h"

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

// A button's or label's text as it shows: the "&" that marks an access key dropped, "&&" shown as
// one "&".
inline std::wstring Shown(const std::wstring& text) {
    std::wstring shown;
    for (std::size_t i = 0; i < text.size(); ++i) {
        if (text[i] == L'&' && i + 1 < text.size()) ++i;
        shown.push_back(text[i]);
    }
    return shown;
}

// The window's class name.
inline std::wstring ClassName(HWND window) {
    wchar_t name[256] = {};
    GetClassNameW(window, name, 256);
    return name;
}

inline std::string Utf8(const std::wstring& text) {
    return base::Utf8FromUtf16({reinterpret_cast<const char16_t*>(text.data()), text.size()});
}

// UTF-8 on one output line: CR dropped, LF shown as "\n".
inline std::string PrintableLine(const std::wstring& text) {
    std::string line;
    for (char c : Utf8(text)) {
        if (c == '\r') continue;
        if (c == '\n') {
            line += "\\n";
        } else {
            line.push_back(c);
        }
    }
    return line;
}

}  // namespace updater::driving
