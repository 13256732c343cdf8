#include "environment/word_startup.h"

#include <new>

#include "base/path.h"
#include "localisation/text_helpers.h"

namespace updater::environment {
namespace {

constexpr std::string_view kWordPrefix = "Microsoft Word ";
constexpr std::string_view kNotFoundLabel = "Microsoft Word (nie znaleziono)";

enum class Recorded { kFolder, kNone, kFailed };

// The start-up folder a version records below its open key, without trailing separators.
Recorded ReadStartupPath(Registry& registry, std::string_view versionKey, std::string& path) {
    const std::string optionsKey = std::string(kOfficeKey).append(versionKey).append(kWordOptionsSubkey);
    RegKey options = OpenRegKey(registry, RegRoot::kCurrentUser, optionsKey);
    if (!options.IsOpen()) return Recorded::kNone;
    RegValue value;
    switch (options.Query(kWordStartupValue, value)) {
        case RegStatus::kNotFound:
            return Recorded::kNone;
        case RegStatus::kFailed:
            return Recorded::kFailed;
        case RegStatus::kOk:
            break;
    }
    // A value of another type cannot be read as a folder: a registry failure like any other.
    if (value.type != RegType::kString) return Recorded::kFailed;
    path = base::WithoutTrailingSeparators(std::move(value.data));
    return Recorded::kFolder;
}

}  // namespace

std::string DefaultWordStartupFolder(Shell& shell) {
    const std::string appData = shell.GetSpecialFolder(kCsidlAppData);
    if (appData.empty()) return {};
    const char separator = base::PathSeparator();
    return base::WithTrailingSeparator(appData) + "Microsoft" + separator + "Word" + separator + "Startup";
}

std::int32_t GetWordStartupFolders(std::vector<std::string>& lines, Shell& shell, Registry& registry) noexcept {
    try {
        lines.clear();
        const std::string defaultFolder = DefaultWordStartupFolder(shell);
        const std::string defaultLower = localisation::LowerText(defaultFolder);

        std::string missing;
        for (const WordVersion& version : kWordVersions) {
            RegKey key = OpenRegKey(registry, RegRoot::kCurrentUser, std::string(kOfficeKey).append(version.key));
            if (!key.IsOpen()) continue;  // not installed: neither listed nor missing

            std::string path;
            if (ReadStartupPath(registry, version.key, path) == Recorded::kFailed) break;

            if (!path.empty() && localisation::LowerText(path) != defaultLower) {
                lines.push_back(std::string(kWordPrefix) + std::string(version.label) + "=" + path);
                continue;
            }
            missing += missing.empty() ? kWordPrefix : std::string_view("/");
            missing += version.label;
        }

        if (!defaultFolder.empty()) {
            if (!missing.empty()) {
                lines.push_back(missing + "=" + defaultFolder);
            } else if (lines.empty()) {
                lines.push_back(std::string(kNotFoundLabel) + "=" + defaultFolder);
            }
        }
    } catch (const std::bad_alloc&) {
        // Out of memory: keep the lines made so far.
    }
    return static_cast<std::int32_t>(lines.size());
}

}  // namespace updater::environment
