#pragma once
// Which character sets the system offers for a font face, and the start-up choice of the
// interface face that rests on it.

#include <cstdint>
#include <functional>
#include <string>
#include <string_view>
#include <vector>

namespace updater::environment {

// The GDI name of a character-set value ("EASTEUROPE_CHARSET" for 238), or "Unknown charset N".
std::string CharsetName(std::int32_t charset);

// Appends one character-set name for every font the system enumerates for the face, repeats
// included. Appends nothing when the face is unknown, when no display context is available, or
// when the face is 32 characters or longer (more than a font description's face field holds).
// Without GDI (native builds) nothing is ever appended.
void ListFontCharsets(std::string_view faceName, std::vector<std::string>& list);

// Whether the list holds the name, letter case ignored.
bool CharsetListContains(const std::vector<std::string>& list, std::string_view charsetName);

// The font list as the start-up choice sees it; ListFontCharsets in the program, a fake in tests.
using FontCharsetLister = std::function<void(std::string_view faceName, std::vector<std::string>& list)>;

// CharsetListContains over what the lister lists for the face.
bool FontHasCharset(const FontCharsetLister& lister, std::string_view faceName, std::string_view charsetName);

// "Arial", unless Arial lacks the Central European character set and Tahoma has it.
std::string ChooseInterfaceFontName(const FontCharsetLister& lister);

// Start-up: chooses the face from the system's fonts and stores it as localisation::UIFontName.
void InitialiseInterfaceFont();

}  // namespace updater::environment
