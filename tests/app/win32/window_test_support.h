#pragma once
// Helpers for the window tests under Wine: the real catalogue texts, a fresh main window and
// question dialog per test, control lookup by id and acting inside a modal loop.

#include <windows.h>

#include <functional>
#include <memory>
#include <string>

#include "../app_test_support.h"
#include "app/catalogue_texts.h"
#include "app/product_identity.h"
#include "app/win32/main_window.h"
#include "app/win32/question_dialog.h"
#include "test_support/temp_folder.h"

namespace updater::app::test {

// The program's windows as the entry sequence makes them, for this build's configuration. The
// update button runs the update on engine, in an install folder of the test's with no file to
// update: a run finds the folder and ends with nothing to do.
struct ProgramWindows {
    ProgramWindows();
    ~ProgramWindows();

    AppConfiguration config;
    NoMessages messages;
    CatalogueTexts services{localisation::Platform{true, 0}};
    ::updater::test::TempFolder installFolder;
    ScriptedEngine engine;
    std::unique_ptr<win32::TfrmMainPatcher> main;
    std::unique_ptr<win32::TfrmPytanie> question;
};

// The descendant of a window with a control id; null when there is none.
HWND ControlById(HWND window, int id);
std::u16string TextOf(HWND window);
// The window's rectangle relative to its parent's client area.
RECT RectInParent(HWND window);
// Processes pending messages for a while, so posted messages and repaints are handled.
void PumpFor(DWORD milliseconds);

// Runs action once, from inside whatever message loop runs next, as soon as a visible window of
// the class exists (for acting on a modal dialog from the test).
void WhenVisible(const wchar_t* className, std::function<void(HWND)> action);

}  // namespace updater::app::test
