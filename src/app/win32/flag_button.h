#pragma once
// The language flag buttons: flat buttons showing a flag bitmap that stay down once pressed. They
// answer the messages of a check box (BM_CLICK, BM_GETCHECK, BM_SETCHECK) so that automation can
// use them like one, and report a click to their parent as BN_CLICKED. Which flags are down is
// decided by the main window (one group, at most one down); the button only draws and reports.
// Their window text names the language for screen readers; it is not drawn.

#include <string_view>

#include "app/question_layout.h"
#include "app/win32/window_support.h"

namespace updater::app::win32 {

inline constexpr wchar_t kFlagButtonClass[] = L"UpdaterFlagButton";

// Creates a hidden, disabled flag button; the bitmap is borrowed and must outlive the button.
WindowHandle CreateFlagButton(WindowHandle parent, int id, const PixelRect& rect, std::u16string_view name,
                              HBITMAP bitmap);
void SetFlagDown(WindowHandle button, bool down);
bool IsFlagDown(WindowHandle button);

}  // namespace updater::app::win32
