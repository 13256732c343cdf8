#pragma once
// Formatted captions (window caption, version line, introduction, per-file lines and messages).
// The catalogue's format texts use "%s" placeholders. They are filled in UTF-16: composing them as
// 8-bit text in the system's code page would lose every letter of the interface language that the
// code page lacks (Polish letters on a Western system, French ones on a Polish system).

#include <initializer_list>
#include <string>
#include <string_view>

namespace updater::app {

// Replaces each "%s" with the next argument and "%%" with "%". A "%s" without an argument left
// becomes empty; any other "%" sequence is kept as it stands.
std::u16string FormatCaption(std::u16string_view format, std::initializer_list<std::u16string_view> args);

// A button caption with an access key: "&" before its first ASCII letter or digit that is not
// `taken` (compared without case; 0 takes none), and any "&" already in it doubled so that it
// shows as itself. Only ASCII: an access key must be typeable with Alt on every keyboard layout,
// and Polish letters need AltGr. A caption without a free letter gets no key.
std::u16string WithAccessKey(std::u16string_view caption, char16_t taken);
// The lower-case access key of a caption made by WithAccessKey; 0 when it has none.
char16_t AccessKeyOf(std::u16string_view caption);

}  // namespace updater::app
