#pragma once
// Where the product is installed, as its installer recorded it: a scrambled "Katalog" value under
// the product's key, in the user hive or the machine hive, with a scrambled "ForceNewReg" probe
// that tells which codec variant the entries use. Nothing here throws or reports; an empty
// result means nothing usable was recorded.

#include <string>
#include <string_view>

#include "environment/registry.h"

namespace updater::environment {

// The AppId of the old product line, whose folder is recorded in plain text elsewhere.
inline constexpr int kLegacyAppId = -1;

inline constexpr std::string_view kInstallFolderValue = "Katalog";
inline constexpr std::string_view kForceNewRegValue = "ForceNewReg";
inline constexpr int kInstallEntryMode = 5;

inline constexpr std::string_view kLegacyKeyPath = "Software\\Quillex\\Osvelin";

// The product's key, relative to either hive; empty for an AppId without a row (rows are 1 to 13).
std::string_view ProductKeyPath(int appId) noexcept;

// True when the scrambled "ForceNewReg" value exists under the product's key in either hive,
// whatever its type.
bool HasForceNewReg(Registry& registry, int appId) noexcept;

// The decoded install folder as recorded (no separator added), or empty. AppId -1 reads the legacy
// entry; an AppId without a row gives an empty result. An entry holding a NUL counts as none.
std::string FindInstallFolder(Registry& registry, int appId) noexcept;

// The plain "Katalog" value under the legacy key of the machine hive, or empty.
std::string ReadLegacyInstallFolder(Registry& registry) noexcept;

}  // namespace updater::environment
