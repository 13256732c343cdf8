#pragma once
// TKod: the scrambling the product applies to its registry value names and values and to texts
// configured into this program. Encode and Decode are keyed by the product (AppId 1 to 13) and a
// purpose number (mode 1 to 6); a flag picks between the two XOR variants for AppId 4 to 11.
//
// Neither direction ever fails: an empty text gives an empty string, an AppId or mode out of
// range gives the text back unchanged, and malformed scrambled text decodes to whatever the
// arithmetic yields (never reading past its input). Decode(Encode(s)) == s for every s.

#include <string>
#include <string_view>

namespace updater::environment {

class TKod {
  public:
    std::string Encode(std::string_view text, int appId, int mode, bool flag) const noexcept;
    std::string Decode(std::string_view text, int appId, int mode, bool flag) const noexcept;
};

// The one instance every caller uses; it holds no state.
const TKod& SharedKod() noexcept;

}  // namespace updater::environment
