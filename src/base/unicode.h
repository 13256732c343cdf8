#pragma once
// UTF-16 to UTF-8: the one conversion of the code, for interface texts printed by the tools, the
// strings of an executable's resources, and the native build's file names.

#include <string>
#include <string_view>

namespace updater::base {

// A surrogate pair becomes its one code point; a lone surrogate (a high one not followed by a low
// one, or a low one on its own) becomes U+FFFD, so that the result is always valid UTF-8.
std::string Utf8FromUtf16(std::u16string_view text);

}  // namespace updater::base
