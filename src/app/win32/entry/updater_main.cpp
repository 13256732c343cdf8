// The updater's entry: module start-up, the application's windows, the build configuration and
// the message loop, in that order: each step relies on what the steps before it set up.

#include <windows.h>

#include <commctrl.h>
#include <objbase.h>

#include "app/catalogue_services.h"
#include "app/responsive_file_steps.h"
#include "app/this_build.h"
#include "app/update_engine.h"
#include "app/update_run.h"
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

    // 1. The modules' own start-up: platform values and system language, the interface font face,
    //    the shared codec.
    const localisation::Platform& platform = localisation::CurrentPlatform();
    environment::InitialiseInterfaceFont();
    environment::SharedKod();

    // 2. The application object: COM, common controls (visual styles come from the manifest).
    // COM on the user-interface thread for the whole run: the shortcut step creates shell links.
    const environment::win32::ComApartment com;
    InitialiseCommonControls();

    // 3. The application title starts as "Uaktualnienie - Update" (AppConfiguration's initial value).
    app::AppConfiguration config;
    app::win32::MessageBoxSink messages;

    // 4 and 7 to 10. Identity, patch kind, active set, configured entry and the dictionary switch.
    // Only the first show of the main window reads them, so they are set together here; the
    // identity's "Unknown AppId !" still comes before any window exists.
    app::ConfigureThisBuild(config, messages);

    // 5. The main window (its creation runs FormCreate); 6. the question dialog, hidden.
    const app::CatalogueServices services(platform);
    app::win32::TfrmMainPatcher mainWindow(config, services);
    app::win32::TfrmPytanie question(services, mainWindow.Handle());
    mainWindow.AttachQuestionDialog(question);

    // The update button's run, against the real registry, files and payload resources. While it
    // waits for a file another program holds, the window's messages go on being handled.
    app::ResponsiveFileSteps steps([] { app::win32::PumpPendingMessages(); }, app::win32::ProgramsHolding);
    app::SystemUpdateEngine engine(config, environment::SystemRegistry(), patch::ProgramResources(), steps,
                                   app::win32::ProgramsHolding);
    mainWindow.Patcher().SetRunUpdate([&](app::MainWindowState& state, app::UpdateView& view) {
        app::RunUpdate(config, state, view, services, engine);
    });

    // 11. Show the main window (FormShow picks the language and sets every caption) and run the
    //     loop until it closes.
    mainWindow.Show();
    app::win32::RunMessageLoop();

    // 12. Windows, fonts and COM are released on the way out; the program always ends with 0.
    return 0;
}
