// patchkit text: one interface text as the program would show it, for translators and testers.
#include <cstdint>
#include <cstdio>
#include <string>
#include <string_view>
#include <vector>

#include "base/unicode.h"
#include "localisation/text_catalogue.h"
#include "patchkit/arguments.h"
#include "patchkit/command.h"

namespace {

constexpr std::string_view kName = "text";

// Interface-language codes: 0 Polish to 7 Hungarian.
constexpr int kLastLanguage = updater::localisation::kHungarian;

int Run(patchkit::Arguments args) {
    updater::localisation::Platform platform{true, 0};
    bool force = false;
    bool units = false;
    std::vector<std::string_view> positional;
    for (std::size_t i = 0; i < args.size(); ++i) {
        const std::string& arg = args[i];
        if (arg == "--force") {
            force = true;
        } else if (arg == "--units") {
            units = true;
        } else if (arg == "--nt" || arg == "--system-language") {
            if (i + 1 == args.size()) return patchkit::ArgumentError(kName, arg + " needs a value");
            const bool nt = arg == "--nt";
            const auto value = patchkit::ParseInteger(args[++i], 0, nt ? 1 : kLastLanguage);
            if (!value) return patchkit::RangeError(kName, arg, 0, nt ? 1 : kLastLanguage);
            if (nt) {
                platform.isNT = *value == 1;
            } else {
                platform.systemLanguage = static_cast<std::uint8_t>(*value);
            }
        } else if (positional.size() < 2 && !arg.starts_with("--")) {
            positional.push_back(arg);
        } else {
            return patchkit::ArgumentError(kName, "unexpected argument '" + arg + "'");
        }
    }
    if (positional.size() != 2) return patchkit::UsageError(kName);
    const auto language = patchkit::ParseInteger(positional[0], 0, kLastLanguage);
    if (!language) return patchkit::RangeError(kName, "LANG", 0, kLastLanguage);
    const auto id =
        patchkit::ParseInteger(positional[1], updater::localisation::kFirstTextId, updater::localisation::kLastTextId);
    if (!id)
        return patchkit::RangeError(kName, "ID", updater::localisation::kFirstTextId,
                                    updater::localisation::kLastTextId);

    const std::u16string text =
        updater::localisation::GetText(static_cast<std::uint8_t>(*language), *id, force, platform);
    std::string out;
    if (units) {
        for (char16_t unit : text) {
            char hex[8];
            std::snprintf(hex, sizeof(hex), "%04x", static_cast<unsigned>(unit));
            if (!out.empty()) out += ' ';
            out += hex;
        }
    } else {
        out = updater::base::Utf8FromUtf16(text);
    }
    out += '\n';
    std::fwrite(out.data(), 1, out.size(), stdout);
    return patchkit::kExitOk;
}

const patchkit::CommandRegistration kRegistration{
    kName, "LANG ID [--force] [--nt 0|1] [--system-language LANG] [--units]",
    "print interface text ID (1 to 320) in language LANG (0 pl, 1 en, 2 fr, 3 de, 4 it, 5 es, 6 ru, 7 hu) as UTF-8, "
    "or with --units as UTF-16 code units in hex; --nt and --system-language set the platform (defaults 1 and 0)",
    &Run};

}  // namespace
