// Drives the real updater.exe the way a user would: starts it, finds its main window by class,
// optionally switches the interface to English, presses Update, answers every question dialog
// with OK while noting its message, waits for the verdict, reads what the window shows, presses
// Finish and waits for the process to end. Prints a transcript, one "key: value" line each, in
// UTF-8 with line breaks written as \n, for the end-to-end scenarios to check; "verdict-after-ms"
// is the time from pressing Update to the verdict, which scripts/bench reports.
//
//   e2e_driver UPDATER.EXE [--english] [--hold FILE] [--hold-readable FILE] [--hold-shared FILE] [--ping]
//              [--capture FILE.bmp] [--tick] [--timeout SECONDS] [--open FILE | --cancel-open]
//   e2e_driver --system      prints the system's ANSI code page and the user's locale
//   e2e_driver --keep-desktop   holds a hidden window until it is ended, so the desktop lives on
//                               between two runs of the updater
//
// --tick hurries the progress timer: while a report line is in progress it posts the timer's
// tick to the main window, so a step shorter than the timer's second still shows its percentage.
// --hold keeps FILE open without sharing for the whole run, as a running program would;
// --hold-readable keeps it open for reading, sharing reading, as a program that reads it would;
// --hold-shared keeps it open for reading, letting others read and delete it, as a program that
// runs from it or a reader does. Each may be given more than once.
// --ping measures how long the main window takes to answer: from another thread it sends WM_NULL
// (SendMessageTimeout) over and over from pressing Update to the verdict, and prints the longest
// wait as "longest-unanswered-ms".
// --capture saves the finished window (with its frame) as a 24-bit BMP before Finish is pressed.
// --open answers the program's open-file dialog with FILE, --cancel-open cancels it; either way
// the dialog's filter is noted. A message box before the main window is noted and confirmed.

#include <windows.h>

#include <cstdio>
#include <cwchar>
#include <deque>
#include <string>
#include <vector>

#include "app/win32/control_ids.h"
#include "base/win32/scoped_win.h"
#include "driver/win32/window_text.h"

namespace {

using updater::base::win32::Bitmap;
using updater::base::win32::ScopedCompatibleDC;
using updater::base::win32::ScopedGetDC;
using updater::base::win32::ScopedSelectObject;
using updater::base::win32::UniqueHandle;
using updater::driving::ClassName;
using updater::driving::WindowText;
namespace ids = updater::app::win32;
constexpr int kEnglishFlagId = ids::kFirstFlagId + 1;  // the flags follow Polish in language order
constexpr UINT_PTR kProgressTimerId = 1;

void Say(const char* key, const std::wstring& value) {
    std::printf("%s: %s\n", key, updater::driving::PrintableLine(value).c_str());
}

struct Search {
    DWORD process;
    const wchar_t* className;
    bool visibleOnly;
    HWND found;
};

BOOL CALLBACK FindTopLevel(HWND window, LPARAM param) {
    auto* s = reinterpret_cast<Search*>(param);
    DWORD pid = 0;
    GetWindowThreadProcessId(window, &pid);
    if (pid == s->process && ClassName(window) == s->className && (!s->visibleOnly || IsWindowVisible(window))) {
        s->found = window;
        return FALSE;
    }
    return TRUE;
}

HWND TopLevel(DWORD process, const wchar_t* className, bool visibleOnly) {
    Search s{process, className, visibleOnly, nullptr};
    EnumWindows(FindTopLevel, reinterpret_cast<LPARAM>(&s));
    return s.found;
}

struct ChildSearch {
    int id;
    HWND found;
};

BOOL CALLBACK FindChild(HWND window, LPARAM param) {
    auto* s = reinterpret_cast<ChildSearch*>(param);
    if (GetDlgCtrlID(window) == s->id) {
        s->found = window;
        return FALSE;
    }
    return TRUE;
}

// Controls sit on panels; EnumChildWindows walks every level.
HWND Control(HWND top, int id) {
    ChildSearch s{id, nullptr};
    EnumChildWindows(top, FindChild, reinterpret_cast<LPARAM>(&s));
    return s.found;
}

bool SaveBitmap(HWND window, const std::wstring& path) {
    RECT r;
    if (!GetWindowRect(window, &r)) return false;
    const int w = r.right - r.left, h = r.bottom - r.top;
    const ScopedGetDC screen(nullptr);
    const ScopedCompatibleDC memory(screen.get());
    BITMAPINFO info{};
    info.bmiHeader.biSize = sizeof(info.bmiHeader);
    info.bmiHeader.biWidth = w;
    info.bmiHeader.biHeight = h;
    info.bmiHeader.biPlanes = 1;
    info.bmiHeader.biBitCount = 24;
    info.bmiHeader.biCompression = BI_RGB;
    void* bits = nullptr;
    const Bitmap bitmap(CreateDIBSection(screen.get(), &info, DIB_RGB_COLORS, &bits, nullptr, 0));
    {
        const ScopedSelectObject selected(memory.get(), bitmap.get());
        BitBlt(memory.get(), 0, 0, w, h, screen.get(), r.left, r.top, SRCCOPY);
        GdiFlush();
    }
    const DWORD stride = ((static_cast<DWORD>(w) * 3 + 3) & ~3u);
    const DWORD imageSize = stride * static_cast<DWORD>(h);
    BITMAPFILEHEADER file{};
    file.bfType = 0x4D42;
    file.bfOffBits = sizeof(file) + sizeof(info.bmiHeader);
    file.bfSize = file.bfOffBits + imageSize;
    const UniqueHandle out(
        CreateFileW(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr));
    if (!out.IsOpen()) return false;
    DWORD written = 0;
    return WriteFile(out.Get(), &file, sizeof(file), &written, nullptr) &&
           WriteFile(out.Get(), &info.bmiHeader, sizeof(info.bmiHeader), &written, nullptr) &&
           WriteFile(out.Get(), bits, imageSize, &written, nullptr);
}

// The open-file dialog's controls (the common dialog's own ids).
constexpr int kFileTypeComboId = 0x470;         // cmb1
constexpr int kFileNameIds[] = {0x47C, 0x480};  // cmb13 (explorer style), edt1

struct StaticSearch {
    std::wstring text;
};

BOOL CALLBACK CollectStatic(HWND window, LPARAM param) {
    auto* s = reinterpret_cast<StaticSearch*>(param);
    if (ClassName(window) == L"Static" && IsWindowVisible(window)) {
        const std::wstring text = WindowText(window);
        if (!text.empty()) s->text += (s->text.empty() ? L"" : L" ") + text;
    }
    return TRUE;
}

// The text of a message box: its visible static controls.
std::wstring MessageText(HWND box) {
    StaticSearch s;
    EnumChildWindows(box, CollectStatic, reinterpret_cast<LPARAM>(&s));
    return s.text;
}

// Which flags the window offers (visible), in button order; the pressed one marked with "*".
std::wstring Flags(HWND main) {
    static constexpr const wchar_t* kNames[] = {L"PL", L"EN", L"DE", L"FR", L"IT"};
    std::wstring flags;
    for (int i = 0; i < 5; ++i) {
        HWND flag = Control(main, ids::kFirstFlagId + i);
        if (flag == nullptr || !IsWindowVisible(flag)) continue;
        flags += (flags.empty() ? L"" : L" ") + std::wstring(kNames[i]);
        if (SendMessageW(flag, BM_GETCHECK, 0, 0) == BST_CHECKED) flags += L"*";
    }
    return flags;
}

// Sends WM_NULL to the window over and over until told to stop, noting the longest answer.
struct Pinger {
    HWND window = nullptr;
    volatile LONG stop = 0;
    double longestMs = 0;
    double longestAtMs = 0;  // when it began, from the start of the pinging
    bool timedOut = false;

    static DWORD WINAPI Run(void* self) {
        auto* p = static_cast<Pinger*>(self);
        LARGE_INTEGER frequency, start;
        QueryPerformanceFrequency(&frequency);
        QueryPerformanceCounter(&start);
        const auto ms = [&](const LARGE_INTEGER& from, const LARGE_INTEGER& to) {
            return static_cast<double>(to.QuadPart - from.QuadPart) * 1000.0 / static_cast<double>(frequency.QuadPart);
        };
        while (InterlockedCompareExchange(&p->stop, 0, 0) == 0) {
            LARGE_INTEGER before, after;
            QueryPerformanceCounter(&before);
            DWORD_PTR result = 0;
            if (!SendMessageTimeoutW(p->window, WM_NULL, 0, 0, SMTO_NORMAL, 30000, &result)) p->timedOut = true;
            QueryPerformanceCounter(&after);
            if (ms(before, after) > p->longestMs) {
                p->longestMs = ms(before, after);
                p->longestAtMs = ms(start, before);
            }
            Sleep(10);
        }
        return 0;
    }
};

int Fail(const char* why) {
    std::printf("error: %s\n", why);
    return 1;
}

}  // namespace

int wmain(int argc, wchar_t** argv) {
    if (argc == 2 && std::wstring(argv[1]) == L"--system") {
        // The system the scenarios run on: its ANSI code page and the user's locale.
        std::printf("code-page: %u\nlocale: %04lX\n", GetACP(), static_cast<unsigned long>(GetUserDefaultLCID()));
        return 0;
    }
    if (argc == 2 && std::wstring(argv[1]) == L"--keep-desktop") {
        // Wine closes the desktop about a second after its last window goes; an updater started
        // in that moment may never get its window shown. One window held for the whole series
        // keeps the desktop from closing between two runs.
        HWND keeper = CreateWindowExW(0, L"STATIC", L"e2e desktop keeper", WS_POPUP, 0, 0, 1, 1, nullptr, nullptr,
                                      nullptr, nullptr);
        if (keeper == nullptr) return Fail("cannot create the desktop keeper");
        MSG message;
        while (GetMessageW(&message, nullptr, 0, 0) > 0)
            DispatchMessageW(&message);
        return 0;
    }
    if (argc < 2) {
        std::fprintf(stderr,
                     "usage: e2e_driver UPDATER.EXE [--english] [--hold[-readable|-shared] FILE] [--ping] [--capture "
                     "FILE.bmp] [--tick] "
                     "[--timeout S]\n");
        return 2;
    }
    std::wstring updater = argv[1], capture, open;
    std::vector<std::pair<std::wstring, DWORD>> holds;  // the file, and what others may do with it
    bool cancelOpen = false;
    bool english = false, tick = false, ping = false;
    DWORD timeoutMs = 120000;
    for (int i = 2; i < argc; ++i) {
        std::wstring a = argv[i];
        if (a == L"--english") {
            english = true;
        } else if (a == L"--tick") {
            tick = true;
        } else if ((a == L"--hold" || a == L"--hold-readable" || a == L"--hold-shared") && i + 1 < argc) {
            const DWORD share = a == L"--hold"            ? 0
                                : a == L"--hold-readable" ? FILE_SHARE_READ
                                                          : FILE_SHARE_READ | FILE_SHARE_DELETE;
            holds.emplace_back(argv[i + 1], share);
            ++i;
        } else if (a == L"--ping") {
            ping = true;
        } else if (a == L"--open" && i + 1 < argc) {
            open = argv[++i];
        } else if (a == L"--cancel-open") {
            cancelOpen = true;
        } else if (a == L"--capture" && i + 1 < argc) {
            capture = argv[++i];
        } else if (a == L"--timeout" && i + 1 < argc) {
            timeoutMs = static_cast<DWORD>(std::wcstoul(argv[++i], nullptr, 10)) * 1000;
        } else {
            std::fprintf(stderr, "e2e_driver: unknown argument\n");
            return 2;
        }
    }

    std::deque<UniqueHandle> held;
    for (const auto& [file, share] : holds) {
        const DWORD access = share == 0 ? GENERIC_READ | GENERIC_WRITE : GENERIC_READ;
        held.emplace_back(CreateFileW(file.c_str(), access, share, nullptr, OPEN_EXISTING, 0, nullptr));
        if (!held.back().IsOpen()) return Fail("cannot hold the file open");
    }

    STARTUPINFOW startup{};
    startup.cb = sizeof(startup);
    PROCESS_INFORMATION process{};
    std::wstring commandLine = L"\"" + updater + L"\"";
    if (!CreateProcessW(updater.c_str(), commandLine.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr, &startup,
                        &process)) {
        // What was tried and why it failed: enough to tell a bad path from a system that refused.
        const DWORD error = GetLastError();
        wchar_t directory[MAX_PATH] = {};
        GetCurrentDirectoryW(MAX_PATH, directory);
        Say("program", updater);
        Say("command-line", commandLine);
        Say("directory", directory);
        Say("program-attributes", std::to_wstring(GetFileAttributesW(updater.c_str())));
        std::printf("error: cannot start the updater (error %lu)\n", static_cast<unsigned long>(error));
        return 1;
    }
    const UniqueHandle processHandle(process.hProcess), threadHandle(process.hThread);
    WaitForInputIdle(process.hProcess, 10000);
    // Giving up ends the updater too: left running, it would hold the transcript's pipe open and
    // the scenarios would wait for it for ever.
    auto abandon = [&](const char* why) {
        TerminateProcess(process.hProcess, 99);
        return Fail(why);
    };

    const DWORD start = GetTickCount();
    auto timedOut = [&] { return GetTickCount() - start > timeoutMs; };

    HWND main = nullptr;
    while (!(main = TopLevel(process.dwProcessId, L"TfrmMainPatcher", true))) {
        if (timedOut() || WaitForSingleObject(process.hProcess, 0) == WAIT_OBJECT_0)
            return abandon("no main window appeared");
        if (HWND box = TopLevel(process.dwProcessId, L"#32770", true)) {
            Sleep(100);  // let the box draw its text
            Say("message-caption", WindowText(box));
            Say("message", MessageText(box));
            PostMessageW(box, WM_COMMAND, IDOK, 0);
            for (int i = 0; i < 100 && IsWindow(box) && IsWindowVisible(box); ++i)
                Sleep(50);
        }
        Sleep(50);
    }
    HWND update = Control(main, ids::kUpdateButtonId), finish = Control(main, ids::kFinishButtonId),
         label = Control(main, ids::kMainLabelId);
    if (!update || !finish || !label) return abandon("main window controls not found");

    Say("window", WindowText(main));
    if (english) {
        HWND flag = Control(main, kEnglishFlagId);
        if (!flag) return abandon("English flag not found");
        SendMessageW(flag, BM_CLICK, 0, 0);
        Say("window", WindowText(main));
    }
    const std::wstring before = WindowText(label);
    Say("before", before);
    Say("flags", Flags(main));
    if (const std::wstring special = WindowText(Control(main, ids::kSpecialVersionLabelId)); !special.empty())
        Say("special", special);
    Say("update-button", updater::driving::Shown(WindowText(update)));

    // Posted, not sent: the run happens inside the click handler and shows modal dialogs.
    LARGE_INTEGER frequency, pressed, verdict;
    QueryPerformanceFrequency(&frequency);
    QueryPerformanceCounter(&pressed);
    PostMessageW(update, BM_CLICK, 0, 0);
    static Pinger pinger;  // outlives the thread on every way out
    pinger.window = main;
    // CreateThread fails with a null handle, which the owner passes to CloseHandle harmlessly.
    const UniqueHandle pingThread(ping ? CreateThread(nullptr, 0, Pinger::Run, &pinger, 0, nullptr) : nullptr);
    bool sawProgress = false;
    std::vector<std::wstring> seen{before};
    std::wstring verdictText;
    bool answered = false;  // the question dialog on screen has been answered
    for (;;) {
        if (timedOut()) return abandon("the update run did not finish");
        if (WaitForSingleObject(process.hProcess, 0) == WAIT_OBJECT_0) return Fail("the updater ended during the run");
        // A text request is answered only when the updater lets messages through (its pumps and
        // dialogs). Asking again at once, with no pause, keeps a request waiting at every such
        // point, so each file's line is seen with its OK or Error before the verdict replaces it.
        const std::wstring now = WindowText(label);
        if (now != seen.back()) {
            seen.push_back(now);
            Say("seen", now);
        }
        if (!now.empty() && now.back() == L'%') sawProgress = true;
        const bool lineInProgress =
            !now.empty() && (now.back() == L'%' || (now.size() >= 5 && now.compare(now.size() - 5, 5, L" ... ") == 0));
        if (tick && lineInProgress) PostMessageW(main, WM_TIMER, kProgressTimerId, 0);

        if (HWND chooser = TopLevel(process.dwProcessId, L"#32770", true); chooser != nullptr && !answered) {
            Sleep(300);  // the dialog fills its controls after it shows
            Say("chooser-filter", WindowText(Control(chooser, kFileTypeComboId)));
            if (!open.empty() && !cancelOpen) {
                HWND name = nullptr;
                for (int id : kFileNameIds)
                    if (name == nullptr) name = Control(chooser, id);
                SetWindowTextW(name, open.c_str());
                Say("chooser-name", WindowText(name));
                HWND ok = GetDlgItem(chooser, IDOK);  // a direct child: the shell view has ids of its own
                if (ok != nullptr) {
                    PostMessageW(ok, BM_CLICK, 0, 0);
                } else {
                    PostMessageW(chooser, WM_COMMAND, IDOK, 0);
                }
            } else {
                PostMessageW(chooser, WM_COMMAND, IDCANCEL, 0);
            }
            Say("chooser", open.empty() || cancelOpen ? L"cancelled" : open);
            while (IsWindow(chooser) && IsWindowVisible(chooser) && !timedOut())
                Sleep(50);
            continue;
        }
        HWND dialog = TopLevel(process.dwProcessId, L"TfrmPytanie", true);
        if (dialog != nullptr && !answered) {
            Say("dialog-caption", WindowText(dialog));
            Say("dialog", WindowText(Control(dialog, ids::kQuestionLabelId)));
            PostMessageW(Control(dialog, ids::kYesButtonId), BM_CLICK, 0, 0);
            answered = true;
        } else if (dialog == nullptr) {
            answered = false;
            // The run enables the buttons and lets messages through before it puts the verdict in
            // place of the label's whole text; until then the label still begins with the text it
            // showed before the run, which the run's lines follow.
            const bool verdictShown = !now.empty() && (before.empty() || !now.starts_with(before));
            if (IsWindowEnabled(update) && IsWindowEnabled(finish) && verdictShown) {
                verdictText = now;
                break;
            }
        }
    }
    QueryPerformanceCounter(&verdict);
    // From pressing Update to the verdict on screen, for scripts/bench.
    std::printf("verdict-after-ms: %.1f\n", static_cast<double>(verdict.QuadPart - pressed.QuadPart) * 1000.0 /
                                                static_cast<double>(frequency.QuadPart));
    if (pingThread.Get() != nullptr) {
        InterlockedExchange(&pinger.stop, 1);
        WaitForSingleObject(pingThread.Get(), INFINITE);
        std::printf("longest-unanswered-ms: %.0f (from %.0f ms after Update was pressed)%s\n", pinger.longestMs,
                    pinger.longestAtMs, pinger.timedOut ? " (timed out)" : "");
    }
    Say("main", verdictText);
    if (sawProgress) Say("progress", L"seen");

    GUITHREADINFO gui{};
    gui.cbSize = sizeof(gui);
    if (GetGUIThreadInfo(process.dwThreadId, &gui)) {
        const int id = gui.hwndFocus ? GetDlgCtrlID(gui.hwndFocus) : 0;
        Say("focus", id == ids::kFinishButtonId ? L"finish" : id == ids::kUpdateButtonId ? L"update" : L"other");
    }
    if (!capture.empty()) {
        SetForegroundWindow(main);
        Sleep(300);
        Say("capture", SaveBitmap(main, capture) ? capture : L"failed");
    }
    held.clear();

    PostMessageW(finish, BM_CLICK, 0, 0);
    if (WaitForSingleObject(process.hProcess, 15000) != WAIT_OBJECT_0) {
        TerminateProcess(process.hProcess, 99);
        return Fail("the updater did not close on Finish");
    }
    DWORD code = 0;
    GetExitCodeProcess(process.hProcess, &code);
    std::printf("exit: %lu\n", static_cast<unsigned long>(code));
    return 0;
}
