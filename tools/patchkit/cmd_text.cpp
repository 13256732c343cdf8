// patchkit text: one interface text as the program would show it, for translators and testers.
#include <charconv>
#include <cstdint>
#include <cstdio>
#include <string>
#include <string_view>

#include "localisation/text_catalogue.h"
#include "localisation/unicode.h"
#include "patchkit/command.h"

namespace {

constexpr std::string_view kName = "text";

template <class T>
bool ParseNumber(std::string_view text, T& value) {
    const char* end = text.data() + text.size();
    const auto [ptr, error] = std::from_chars(text.data(), end, value);
    return !text.empty() && error == std::errc() && ptr == end;
}

int Run(patchkit::Arguments args) {
    std::uint8_t language = 0;
    std::int32_t id = 0;
    updater::localisation::Platform platform{true, 0};
    bool force = false;
    bool units = false;
    int positional = 0;
    for (std::size_t i = 0; i < args.size(); ++i) {
        const std::string& arg = args[i];
        const bool hasValue = i + 1 < args.size();
        if (arg == "--force") {
            force = true;
        } else if (arg == "--units") {
            units = true;
        } else if (arg == "--nt" && hasValue) {
            const std::string& value = args[++i];
            if (value != "0" && value != "1") {
                patchkit::Failure(kName, "--nt takes 0 or 1");
                return patchkit::UsageError(kName);
            }
            platform.isNT = value == "1";
        } else if (arg == "--system-language" && hasValue) {
            if (!ParseNumber(args[++i], platform.systemLanguage)) {
                patchkit::Failure(kName, "--system-language takes a language code from 0 to 255");
                return patchkit::UsageError(kName);
            }
        } else if (positional == 0 && ParseNumber(arg, language)) {
            ++positional;
        } else if (positional == 1 && ParseNumber(arg, id)) {
            ++positional;
        } else {
            patchkit::Failure(kName, "unexpected argument '" + arg + "'");
            return patchkit::UsageError(kName);
        }
    }
    if (positional != 2) return patchkit::UsageError(kName);

    const std::u16string text = updater::localisation::GetText(language, id, force, platform);
    std::string out;
    if (units) {
        for (char16_t unit : text) {
            char hex[8];
            std::snprintf(hex, sizeof(hex), "%04x", static_cast<unsigned>(unit));
            if (!out.empty()) out += ' ';
            out += hex;
        }
    } else {
        out = updater::localisation::Utf8FromUtf16(text);
    }
    out += '\n';
    std::fwrite(out.data(), 1, out.size(), stdout);
    return patchkit::kExitOk;
}

const patchkit::CommandRegistration kRegistration{
    kName, "LANG ID [--force] [--nt 0|1] [--system-language N] [--units]",
    "print interface text ID in language LANG (0 pl, 1 en, 2 fr, 3 de, 4 it, 5 es, 6 ru, 7 hu) as UTF-8, or with "
    "--units as UTF-16 code units in hex; --nt and --system-language set the platform (defaults 1 and 0)",
    &Run};

}  // namespace
