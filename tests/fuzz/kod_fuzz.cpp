// Decode must stay within any input it is given, and Decode(Encode(s)) must give s back.
// Input: AppId byte, mode byte, flag byte, then the text.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string>
#include <string_view>

#include "environment/kod.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    if (size < 3) return 0;
    const int appId = static_cast<int>(data[0] % 16) - 1;  // -1 to 14
    const int mode = data[1] % 8;                          // 0 to 7
    const bool flag = (data[2] & 1) != 0;
    // A view straight onto the fuzzer's buffer, so reading one byte too far is caught.
    const std::string_view text(reinterpret_cast<const char*>(data + 3), size - 3);

    const auto& kod = updater::environment::SharedKod();
    const std::string decoded = kod.Decode(text, appId, mode, flag);
    if (decoded.size() > text.size()) std::abort();

    const std::string encoded = kod.Encode(text, appId, mode, flag);
    if (encoded.size() > 2 * text.size() + 1) std::abort();
    if (kod.Decode(encoded, appId, mode, flag) != text) std::abort();
    return 0;
}
