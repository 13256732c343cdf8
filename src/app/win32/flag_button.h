#pragma once
// The language flag buttons: flat buttons showing a flag bitmap that stay down once pressed. They
// answer the messages of a check box (BM_CLICK, BM_GETCHECK, BM_SETCHECK) so that automation can
// use them like one, and report a click, or Space, to their parent as BN_CLICKED and Enter as
// kFlagEnterNotification. Which flags are down is decided by the main window (one group, at most
// one down); the button only draws and reports. Screen readers get a toggle button named by the
// window text (the language, not drawn), pressed or not.

#include <string_view>

#include "app/question_layout.h"
#include "app/win32/window_support.h"

namespace updater::app::win32 {

inline constexpr wchar_t kFlagButtonClass[] = L"UpdaterFlagButton";
// WM_COMMAND's notification code for Enter on a flag; the dialog manager never sees that Enter.
inline constexpr WORD kFlagEnterNotification = 0x4000;

// Creates a hidden, disabled flag button; the bitmap is borrowed and must outlive the button. It
// is drawn at its own size, centred.
WindowHandle CreateFlagButton(WindowHandle parent, int id, const PixelRect& rect, std::u16string_view name,
                              HBITMAP bitmap);
void SetFlagDown(WindowHandle button, bool down);
bool IsFlagDown(WindowHandle button);

}  // namespace updater::app::win32
