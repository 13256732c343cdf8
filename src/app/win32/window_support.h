#pragma once
// Small pieces both windows share: the screen's DPI and design-pixel scaling, interface fonts,
// captions as UTF-16, labels sized to their text, and the one window class and window procedure
// of the main window and the question dialog.

#include <optional>
#include <string>
#include <string_view>

#include "app/product_identity.h"
#include "app/question_layout.h"
#include "base/win32/scoped_win.h"

namespace updater::app::win32 {

using WindowHandle = HWND;
using base::win32::Bitmap;
using base::win32::Font;

// The DPI of the screen; design pixels are scaled from 96 by it.
int ScreenDpi();
int Scaled(int designPixels);

// A font of the given design character height in the interface face and the character set of the
// language: what ApplyInterfaceFont makes of the control's font.
Font MakeInterfaceFont(int designHeight, bool bold, Language language);
void SetWindowFont(WindowHandle window, HFONT font);

// A UTF-16 text as the wide functions take it (wchar_t is UTF-16 on Windows). Terminated when text
// views a whole std::u16string or a literal; otherwise pass its length too.
inline const wchar_t* Wide(std::u16string_view text) {
    return reinterpret_cast<const wchar_t*>(text.data());
}

void SetCaption(WindowHandle window, std::u16string_view text);
std::u16string Caption(WindowHandle window);

// The extent of text in a window's font: single lines when wrapWidth is empty, else wrapped at
// word boundaries within it. Labels are drawn with the same rules.
PixelSize MeasureText(WindowHandle window, std::u16string_view text, std::optional<int> wrapWidth);
// Resizes a single-line label to its text, keeping its top-left corner.
void AutoSizeLabel(WindowHandle label);

HINSTANCE ModuleInstance();

// Registers a window class of this program unless it is registered already; the module instance,
// the size and the arrow cursor are filled in.
void RegisterWindowClass(WNDCLASSEXW windowClass);

// A visible child control of a system class (BUTTON, STATIC) with its control id.
WindowHandle CreateControl(WindowHandle parent, const wchar_t* className, DWORD style, int id, const PixelRect& rect,
                           const wchar_t* text = L"");

// A panel: a plain child window that holds controls, passes their notifications on to the
// top-level window and paints its background in the window colour ("white": white unless a
// high-contrast scheme says otherwise) or in the button face colour.
WindowHandle CreatePanel(WindowHandle parent, const PixelRect& rect, bool white);

// A top-level window run by the dialog manager: the main window and the question dialog. Its
// window procedure hands each message to HandleMessage first; a message left unanswered goes to
// DefDlgProc, which gives Enter, Esc, Tab and the default button their usual meaning.
class DialogWindow {
  public:
    virtual ~DialogWindow() = default;
    // The answer to a message, or nothing to leave it to the dialog manager.
    virtual std::optional<LRESULT> HandleMessage(UINT message, WPARAM wParam, LPARAM lParam) = 0;
};

struct DialogWindowClass {
    const wchar_t* name;
    bool programIcon;  // the window shows the program's icon
};

// Creates a hidden window of the class (registered on first use) with the given client size, owned
// by owner (may be null). Every message after WM_NCCREATE goes to handler.
WindowHandle CreateDialogWindow(DialogWindow& handler, const DialogWindowClass& windowClass, DWORD style, DWORD exStyle,
                                PixelSize client, WindowHandle owner);

}  // namespace updater::app::win32
