#pragma once
// The interface font of a window or control: face UIFontName() and the character set of the
// interface language, everything else (height, weight, style) kept. Windows only.

#include <windows.h>

#include <cstdint>

namespace updater::localisation::win32 {

// Sets the face name and character set of a font description in place.
void ApplyInterfaceFont(LOGFONTW& font, std::uint8_t language);

// An owned GDI font, deleted with its owner.
class FontHandle {
  public:
    FontHandle() = default;
    explicit FontHandle(HFONT font) : font_(font) {}
    ~FontHandle() { Reset(); }
    FontHandle(FontHandle&& other) noexcept : font_(other.font_) { other.font_ = nullptr; }
    FontHandle& operator=(FontHandle&& other) noexcept;
    FontHandle(const FontHandle&) = delete;
    FontHandle& operator=(const FontHandle&) = delete;

    HFONT get() const { return font_; }
    explicit operator bool() const { return font_ != nullptr; }

  private:
    void Reset();
    HFONT font_ = nullptr;
};

// A new font like `font` (the stock GUI font when null) with the interface face and the
// language's character set. Empty when the font cannot be read or created; the caller then
// keeps the font it has.
FontHandle ApplyInterfaceFont(HFONT font, std::uint8_t language);

}  // namespace updater::localisation::win32
