#pragma once
// The interface font of a window or control: face UIFontName() and the character set of the
// interface language, everything else (height, weight, style) kept. Windows only.

#include <windows.h>

#include <cstdint>

namespace updater::localisation::win32 {

// Sets the face name and character set of a font description in place.
void ApplyInterfaceFont(LOGFONTW& font, std::uint8_t language);

}  // namespace updater::localisation::win32
