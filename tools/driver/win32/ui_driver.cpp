// ui_driver: drives the updater's windows from outside, for screenshots and end-to-end tests.
// It finds top-level windows by class name, reads their controls' texts and clicks controls,
// the way an accessibility tool would. The updater itself takes no arguments.
//
//   ui_driver wait CLASS [MS]     wait until a visible window of CLASS exists; print its rectangle
//   ui_driver gone CLASS [MS]     wait until no visible window of CLASS exists
//   ui_driver rect CLASS          print "left top width height" of the window's outer rectangle
//   ui_driver texts CLASS         print the window's caption and each control's class and text
//   ui_driver click CLASS TEXT    click the control whose text is TEXT (a button, a flag; an
//                                 access key's "&" is not part of it)
//   ui_driver checked CLASS TEXT  print 1 when the control is checked (pressed), else 0
//   ui_driver focus CLASS         print the text of the control that has the keyboard focus
//   ui_driver rects CLASS         print each visible control's rectangle, from the window's outer
//                                 top-left corner (as a capture of the window shows it), and text:
//                                 "left top width height TEXT"
//   ui_driver accessible CLASS [TEXT]  print what a screen reader gets for the window (or its
//                                 control with TEXT): "role N state 0xN name NAME description TEXT"
//   ui_driver preview KIND        show the question dialog of kind 0 to 3 over the main window
//   ui_driver close CLASS         ask the window to close
//
// Texts are UTF-8. Exit codes: 0 done, 1 failed (no such window or control), 2 usage.

#include <windows.h>

#include <oleacc.h>
#include <shellapi.h>

#include <cstdio>
#include <cstdlib>
#include <string>
#include <vector>

#include "driver/win32/window_text.h"

namespace {

using updater::driving::ClassName;
using updater::driving::PrintableLine;
using updater::driving::Shown;
using updater::driving::Utf8;
using updater::driving::WindowText;

HWND FindVisible(const std::wstring& className) {
    for (HWND w = FindWindowExW(nullptr, nullptr, className.c_str(), nullptr); w;
         w = FindWindowExW(nullptr, w, className.c_str(), nullptr)) {
        if (IsWindowVisible(w)) return w;
    }
    return nullptr;
}

// Waits until a visible window of the class exists (present) or none does (!present).
bool WaitFor(const std::wstring& className, DWORD timeoutMs, bool present, HWND* found = nullptr) {
    const DWORD start = GetTickCount();
    while (true) {
        HWND w = FindVisible(className);
        if ((w != nullptr) == present) {
            if (found) *found = w;
            return true;
        }
        if (GetTickCount() - start > timeoutMs) return false;
        Sleep(50);
    }
}

// A named CALLBACK function: on 32-bit Windows a lambda does not convert to the stdcall pointer.
BOOL CALLBACK CollectVisibleDescendant(HWND child, LPARAM param) {
    if (IsWindowVisible(child)) reinterpret_cast<std::vector<HWND>*>(param)->push_back(child);
    return TRUE;
}

std::vector<HWND> VisibleDescendants(HWND window) {
    std::vector<HWND> all;
    EnumChildWindows(window, &CollectVisibleDescendant, reinterpret_cast<LPARAM>(&all));
    return all;
}

HWND FindControl(HWND window, const std::wstring& text) {
    for (HWND child : VisibleDescendants(window)) {
        if (Shown(WindowText(child)) == text) return child;
    }
    return nullptr;
}

int Fail(const char* what, const std::string& name) {
    std::fprintf(stderr, "ui_driver: %s: %s\n", what, name.c_str());
    return 1;
}

void PrintRect(HWND window) {
    RECT r;
    GetWindowRect(window, &r);
    std::printf("%ld %ld %ld %ld\n", r.left, r.top, r.right - r.left, r.bottom - r.top);
}

// What a screen reader asks of the window's client object, across the process boundary as it would.
int PrintAccessible(HWND window) {
    const auto fromWindow = reinterpret_cast<decltype(&AccessibleObjectFromWindow)>(
        reinterpret_cast<void (*)()>(GetProcAddress(LoadLibraryW(L"oleacc.dll"), "AccessibleObjectFromWindow")));
    if (fromWindow == nullptr || FAILED(CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED)))
        return Fail("no accessibility library", "oleacc.dll");
    IAccessible* object = nullptr;
    if (FAILED(
            fromWindow(window, static_cast<DWORD>(OBJID_CLIENT), IID_IAccessible, reinterpret_cast<void**>(&object))) ||
        object == nullptr)
        return Fail("no accessible object for", "the window");
    VARIANT self{};
    self.vt = VT_I4;
    self.lVal = CHILDID_SELF;
    VARIANT role{}, state{};
    BSTR name = nullptr, description = nullptr;
    object->get_accRole(self, &role);
    object->get_accState(self, &state);
    object->get_accName(self, &name);
    object->get_accDescription(self, &description);
    std::printf("role %ld state 0x%lx name %s description %s\n", role.vt == VT_I4 ? role.lVal : 0L,
                state.vt == VT_I4 ? static_cast<unsigned long>(state.lVal) : 0UL,
                PrintableLine(name ? name : L"").c_str(), PrintableLine(description ? description : L"").c_str());
    SysFreeString(name);
    SysFreeString(description);
    object->Release();
    CoUninitialize();
    return 0;
}

int Usage() {
    std::fprintf(stderr,
                 "usage: ui_driver wait|gone CLASS [MS] | rect CLASS | texts CLASS | click CLASS TEXT |\n"
                 "       checked CLASS TEXT | focus CLASS | rects CLASS | accessible CLASS [TEXT] | preview KIND |\n"
                 "       close CLASS\n");
    return 2;
}

}  // namespace

int main() {
    // The wide command line: texts to look for may hold letters outside the system's code page.
    int argc = 0;
    LPWSTR* wideArgs = CommandLineToArgvW(GetCommandLineW(), &argc);
    if (!wideArgs) return Usage();
    const std::vector<std::wstring> args(wideArgs, wideArgs + argc);
    LocalFree(wideArgs);
    std::vector<std::string> utf8Args;  // for the messages
    for (const std::wstring& arg : args)
        utf8Args.push_back(Utf8(arg));

    if (argc < 3) return Usage();
    const std::string command = utf8Args[1];
    const std::wstring target = args[2];
    const DWORD timeout = argc > 3 ? static_cast<DWORD>(std::wcstoul(args[3].c_str(), nullptr, 10)) : 10000;

    if (command == "wait") {
        HWND w = nullptr;
        if (!WaitFor(target, timeout, true, &w)) return Fail("no visible window of class", utf8Args[2]);
        PrintRect(w);
        return 0;
    }
    if (command == "gone") return WaitFor(target, timeout, false) ? 0 : Fail("still visible", utf8Args[2]);
    if (command == "preview") {
        HWND main = FindVisible(L"TfrmMainPatcher");
        if (!main) return Fail("no visible window of class", "TfrmMainPatcher");
        PostMessageW(main, RegisterWindowMessageW(L"UpdaterPreviewQuestion"),
                     std::strtoul(utf8Args[2].c_str(), nullptr, 10), 0);
        return 0;
    }

    HWND window = FindVisible(target);
    if (!window) return Fail("no visible window of class", utf8Args[2]);
    if (command == "rect" && argc == 3) {
        PrintRect(window);
        return 0;
    }
    if (command == "texts" && argc == 3) {
        std::printf("%s\t%s\n", Utf8(ClassName(window)).c_str(), PrintableLine(WindowText(window)).c_str());
        for (HWND child : VisibleDescendants(window))
            std::printf("  %s\t%s\n", Utf8(ClassName(child)).c_str(), PrintableLine(WindowText(child)).c_str());
        return 0;
    }
    if (command == "focus" && argc == 3) {
        GUITHREADINFO gui{};
        gui.cbSize = sizeof(gui);
        if (!GetGUIThreadInfo(GetWindowThreadProcessId(window, nullptr), &gui) || gui.hwndFocus == nullptr)
            return Fail("no focus in", utf8Args[2]);
        std::printf("%s\n", PrintableLine(Shown(WindowText(gui.hwndFocus))).c_str());
        return 0;
    }
    if (command == "rects" && argc == 3) {
        RECT outer;
        GetWindowRect(window, &outer);
        for (HWND child : VisibleDescendants(window)) {
            RECT r;
            GetWindowRect(child, &r);
            std::printf("%ld %ld %ld %ld %s\n", r.left - outer.left, r.top - outer.top, r.right - r.left,
                        r.bottom - r.top, PrintableLine(Shown(WindowText(child))).c_str());
        }
        return 0;
    }
    if (command == "accessible" && (argc == 3 || argc == 4)) {
        HWND control = argc == 4 ? FindControl(window, args[3]) : window;
        if (!control) return Fail("no visible control with text", utf8Args[3]);
        return PrintAccessible(control);
    }
    if (command == "close" && argc == 3) {
        PostMessageW(window, WM_CLOSE, 0, 0);
        return 0;
    }
    if ((command == "click" || command == "checked") && argc == 4) {
        HWND control = FindControl(window, args[3]);
        if (!control) return Fail("no visible control with text", utf8Args[3]);
        if (command == "checked") {
            std::printf("%d\n", SendMessageW(control, BM_GETCHECK, 0, 0) == BST_CHECKED ? 1 : 0);
        } else {
            PostMessageW(control, BM_CLICK, 0, 0);
        }
        return 0;
    }
    return Usage();
}
