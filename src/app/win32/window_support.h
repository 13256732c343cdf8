#pragma once
// Small pieces both windows share: the screen's DPI and design-pixel scaling, interface fonts,
// captions as UTF-16, labels sized to their text, and window class registration.

#include <memory>
#include <optional>
#include <string>
#include <string_view>

#include "app/product_identity.h"
#include "app/question_layout.h"

struct HWND__;
struct HFONT__;
struct HINSTANCE__;

namespace updater::app::win32 {

using WindowHandle = HWND__*;

// The DPI of the screen; design pixels are scaled from 96 by it.
int ScreenDpi();
int Scaled(int designPixels);

// An owned GDI font, deleted with the owner.
struct FontDeleter {
    void operator()(HFONT__* font) const;
};
using Font = std::unique_ptr<HFONT__, FontDeleter>;

// A font of the given design character height in the interface face and the character set of the
// language: what ApplyInterfaceFont makes of the control's font.
Font MakeInterfaceFont(int designHeight, bool bold, Language language);
void SetWindowFont(WindowHandle window, HFONT__* font);

void SetCaption(WindowHandle window, std::u16string_view text);
std::u16string Caption(WindowHandle window);

// The extent of text in a window's font: single lines when wrapWidth is empty, else wrapped at
// word boundaries within it. Labels are drawn with the same rules.
PixelSize MeasureText(WindowHandle window, std::u16string_view text, std::optional<int> wrapWidth);
// Resizes a single-line label to its text, keeping its top-left corner.
void AutoSizeLabel(WindowHandle label);

HINSTANCE__* ModuleInstance();

// A panel: a plain child window that holds controls, passes their notifications on to the
// top-level window and paints its background white or in the button face colour.
WindowHandle CreatePanel(WindowHandle parent, const PixelRect& rect, bool white);

}  // namespace updater::app::win32
