#include "window_test_support.h"

#include <gtest/gtest.h>

#include "app/this_build.h"
#include "app/win32/message_pump.h"
#include "driver/win32/window_text.h"

namespace updater::app::test {
namespace {

const wchar_t* gWaitedClass = nullptr;
std::function<void(HWND)> gAction;
UINT_PTR gTimer = 0;

void CALLBACK PollForWindow(HWND, UINT, UINT_PTR, DWORD) {
    HWND window = FindWindowW(gWaitedClass, nullptr);
    if (!window || !IsWindowVisible(window) || !gAction) return;
    KillTimer(nullptr, gTimer);
    gTimer = 0;
    auto action = std::move(gAction);
    gAction = nullptr;
    action(window);
}

}  // namespace

ProgramWindows::ProgramWindows() {
    ConfigureThisBuild(config, messages);
    config.activeSet = base::ByteSet();
    config.settings.updateDictionaries = false;
    engine.folder = installFolder.Root();
    main = std::make_unique<win32::TfrmMainPatcher>(config, services, engine);
    main->SetEndsProgram(false);
    question = std::make_unique<win32::TfrmPytanie>(services, main->Handle());
    main->AttachQuestionDialog(*question);
}

ProgramWindows::~ProgramWindows() {
    question.reset();
    main.reset();
    PumpFor(0);
}

namespace {

struct ControlSearch {
    int id;
    HWND found;
};

// A named CALLBACK function: on 32-bit Windows a lambda does not convert to the stdcall pointer.
BOOL CALLBACK MatchControlId(HWND child, LPARAM param) {
    auto* s = reinterpret_cast<ControlSearch*>(param);
    if (GetDlgCtrlID(child) != s->id) return TRUE;
    s->found = child;
    return FALSE;
}

}  // namespace

HWND ControlById(HWND window, int id) {
    ControlSearch search{id, nullptr};
    EnumChildWindows(window, &MatchControlId, reinterpret_cast<LPARAM>(&search));
    return search.found;
}

std::u16string TextOf(HWND window) {
    const std::wstring text = driving::WindowText(window);
    return {text.begin(), text.end()};
}

RECT RectInParent(HWND window) {
    RECT rect;
    GetWindowRect(window, &rect);
    MapWindowPoints(HWND_DESKTOP, GetParent(window), reinterpret_cast<POINT*>(&rect), 2);
    return rect;
}

void PumpFor(DWORD milliseconds) {
    const DWORD start = GetTickCount();
    do {
        win32::PumpPendingMessages();
        if (milliseconds) Sleep(10);
    } while (GetTickCount() - start < milliseconds);
}

void WhenVisible(const wchar_t* className, std::function<void(HWND)> action) {
    gWaitedClass = className;
    gAction = std::move(action);
    gTimer = SetTimer(nullptr, 0, 20, PollForWindow);
}

}  // namespace updater::app::test
