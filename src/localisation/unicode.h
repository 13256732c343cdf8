#pragma once
// UTF-16 to UTF-8, for printing interface texts in tools and logs.

#include <string>
#include <string_view>

namespace updater::localisation {

// A lone surrogate becomes U+FFFD; GetText never produces one.
std::string Utf8FromUtf16(std::u16string_view text);

}  // namespace updater::localisation
