// The updater's entry: the values fixed at start, COM and the common controls, the build's
// configuration, the update engine, the windows and the message loop, in that order: each relies
// on what comes before it.

#include <windows.h>

#include <commctrl.h>
#include <objbase.h>

#include "app/catalogue_texts.h"
#include "app/responsive_file_steps.h"
#include "app/this_build.h"
#include "app/update_engine.h"
#include "app/win32/file_holders.h"
#include "app/win32/main_window.h"
#include "app/win32/message_box.h"
#include "app/win32/message_pump.h"
#include "app/win32/question_dialog.h"
#include "base/win32/dll_search.h"
#include "environment/font_charsets.h"
#include "environment/kod.h"
#include "environment/registry.h"
#include "environment/win32/com.h"
#include "localisation/language.h"
#include "patch/resource_source.h"

namespace {

// comctl32 is loaded now, not imported: see base/win32/dll_search.h. The manifest's activation
// context still chooses version 6 (visual styles).
void InitialiseCommonControls() {
    const auto initialise =
        updater::base::win32::SystemFunction<decltype(&InitCommonControlsEx)>(L"comctl32.dll", "InitCommonControlsEx");
    INITCOMMONCONTROLSEX controls{sizeof(controls), ICC_STANDARD_CLASSES | ICC_WIN95_CLASSES};
    if (initialise != nullptr) initialise(&controls);
}

}  // namespace

// The program takes no arguments, so the narrow entry point serves as well as the wide one.
int WINAPI WinMain(HINSTANCE, HINSTANCE, LPSTR, int) {
    using namespace updater;

    // Values fixed for the whole run, before any text is looked up or any font made: the
    // platform and the system's language, the interface font's face, the registry codec's tables.
    const localisation::Platform& platform = localisation::CurrentPlatform();
    environment::InitialiseInterfaceFont();
    environment::SharedKod();

    // COM on the user-interface thread for the whole run (the shortcut step creates shell links),
    // then the common controls; visual styles come from the manifest.
    const environment::win32::ComApartment com;
    InitialiseCommonControls();

    // The build's configuration; an unknown AppId is told before any window exists.
    app::AppConfiguration config;
    app::win32::MessageBoxSink messages;
    app::ConfigureThisBuild(config, messages);

    // The update run's effects: the real registry, files and payload resources. While it waits for
    // a file another program holds, the window's messages go on being handled.
    app::ResponsiveFileSteps steps([] { app::win32::PumpPendingMessages(); }, app::win32::ProgramsHolding);
    app::SystemUpdateEngine engine(config, environment::SystemRegistry(), patch::ProgramResources(), steps,
                                   app::win32::ProgramsHolding);

    // The main window, and the question dialog it owns, hidden until asked.
    const app::CatalogueTexts texts(platform);
    app::win32::TfrmMainPatcher mainWindow(config, texts, engine);
    app::win32::TfrmPytanie question(texts, mainWindow.Handle());
    mainWindow.AttachQuestionDialog(question);

    // The first show picks the language and sets every caption; the loop runs until the window
    // closes. Windows, fonts and COM are released on the way out; the program always ends with 0.
    mainWindow.Show();
    app::win32::RunMessageLoop();
    return 0;
}
