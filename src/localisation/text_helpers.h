#pragma once
// Small operations on the product's 8-bit texts (bytes in Windows-1250) and one on files. None of
// them keeps state or fails: bad or empty input gives an empty result, a file problem gives -1.

#include <cstdint>
#include <string>
#include <string_view>

namespace updater::localisation {

// Lower-cases one byte by the Windows-1250 letter set. 0xBC (L with caron), 0xD7 and 0xDF are
// deliberately left alone, as the product's own lower-casing does.
std::uint8_t LowerChar(std::uint8_t c);
// LowerChar applied to every byte; the result has the length of the input.
std::string LowerText(std::string_view text);
// Whether two file names name the same file on Windows, where letter case does not count: compared
// by the whole Windows-1250 letter set, L with caron (0xBC, 0xBE) included.
bool SameNameIgnoringCase(std::string_view a, std::string_view b);
// Removes trailing ASCII digits, but never the first byte: "abc12" -> "abc", "123" -> "1".
std::string StripTrailingDigits(std::string_view text);
// True when "<" + name + ">" occurs in list. Digits are stripped from name before both sides are
// lower-cased.
bool TagListContains(std::string_view name, std::string_view list, bool ignoreCase, bool stripDigits);
// The text without its last count bytes; empty when count reaches the length, the whole text when
// count is zero or negative.
std::string DropLastChars(std::string_view text, std::int32_t count);

}  // namespace updater::localisation
