#pragma once
// Formatted captions (window caption, version line, introduction, per-file lines and messages).
// The catalogue's format texts use "%s" placeholders. They are filled in UTF-16: composing them as
// 8-bit text in the system's code page would lose every letter of the interface language that the
// code page lacks (Polish letters on a Western system, French ones on a Polish system).

#include <initializer_list>
#include <span>
#include <string>
#include <string_view>

namespace updater::app {

// Replaces each "%s" with the next argument and "%%" with "%". A "%s" without an argument left
// becomes empty; any other "%" sequence is kept as it stands.
std::u16string FormatCaption(std::u16string_view format, std::span<const std::u16string_view> args);
std::u16string FormatCaption(std::u16string_view format, std::initializer_list<std::u16string_view> args);

}  // namespace updater::app
