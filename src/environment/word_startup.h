#pragma once
// The word processor's start-up folders, where the product's Word templates may have been put
// instead of the product's own folder. Each installed Word version records its own folder in the
// current user's registry, or uses the default one under the user's application data.

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "environment/registry.h"
#include "environment/shell.h"

namespace updater::environment {

inline constexpr std::string_view kOfficeKey = "Software\\Microsoft\\Office\\";
inline constexpr std::string_view kWordOptionsSubkey = "Options";
inline constexpr std::string_view kWordStartupValue = "STARTUP-PATH";

struct WordVersion {
    std::string_view key;    // below kOfficeKey, with its trailing separator
    std::string_view label;  // as the version is named in the lines
};

// Tried in this order.
inline constexpr WordVersion kWordVersions[] = {
    {"8.0\\Word\\", "97"},
    {"9.0\\Word\\", "2000"},
    {"10.0\\Word\\", "XP"},
    {"11.0\\Word\\", "2003"},
};

// The default start-up folder: the application data folder + "Microsoft\Word\Startup", without a
// trailing separator; empty when the shell does not know the application data folder.
std::string DefaultWordStartupFolder(Shell& shell);

// Replaces lines with one "name=folder" line per start-up folder in use (folders without a trailing
// separator) and returns their number:
//   "Microsoft Word <label>=<folder>" for each version, in table order, that records a folder of
//   its own (compared with the default folder without regard to Windows-1250 letter case);
//   then "Microsoft Word <label>/<label>...=<default>" for the versions that use the default folder;
//   or "Microsoft Word (nie znaleziono)=<default>" when no version is installed at all.
// The registry is only read, in the current user's hive. A registry read that fails ends the
// search; what was found until then is kept. Never throws.
std::int32_t GetWordStartupFolders(std::vector<std::string>& lines, Shell& shell, Registry& registry) noexcept;

}  // namespace updater::environment
