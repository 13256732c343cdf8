#include "environment/install_location.h"

#include <array>

#include "environment/kod.h"

namespace updater::environment {
namespace {

// One key per product, AppId 1 to 13. The two products of AppId 2 and 3 share one installation.
constexpr std::array<std::string_view, 13> kProductKeys = {
    "SOFTWARE\\Norvak\\Trelmio",     // 1
    "SOFTWARE\\Norvak\\Sarvelin",    // 2
    "SOFTWARE\\Norvak\\Sarvelin",    // 3
    "SOFTWARE\\Norvak\\Pombrela",    // 4
    "SOFTWARE\\Norvak\\Kestavo",     // 5
    "SOFTWARE\\Norvak\\DidOdavo2",   // 6
    "SOFTWARE\\Norvak\\Lunetrik",    // 7
    "SOFTWARE\\Norvak\\Vandoris",    // 8
    "SOFTWARE\\Norvak\\Ostrelka",    // 9
    "SOFTWARE\\Norvak\\Bremmik",     // 10
    "SOFTWARE\\Norvak\\Zelivant",    // 11
    "SOFTWARE\\Norvak\\Quendrasil",  // 12
    "SOFTWARE\\Norvak\\Marovenka",   // 13
};

// The product is a 32-bit program: its entries are looked for in the 32-bit view first and, when
// that view has nothing, in the native one (a 32-bit system, or entries put there by hand).
constexpr std::array<RegView, 2> kProductViews = {RegView::k32Bit, RegView::kNative};

bool ProductValueExists(Registry& registry, RegRoot root, std::string_view path, std::string_view name) {
    for (RegView view : kProductViews) {
        if (ReadRegBool(registry, root, path, name, view).found) return true;
    }
    return false;
}

// The value as a string, or empty when no view holds it as a string.
std::string ReadProductString(Registry& registry, RegRoot root, std::string_view path, std::string_view name) {
    std::string value;
    for (RegView view : kProductViews) {
        if (ReadRegString(registry, root, path, name, value, view)) break;
    }
    return value;
}

}  // namespace

std::string_view ProductKeyPath(int appId) noexcept {
    if (appId < 1 || appId > static_cast<int>(kProductKeys.size())) return {};
    return kProductKeys[static_cast<std::size_t>(appId - 1)];
}

bool HasForceNewReg(Registry& registry, int appId) noexcept {
    try {
        const std::string_view path = ProductKeyPath(appId);
        if (path.empty()) return false;
        const std::string name = SharedKod().Encode(kForceNewRegValue, appId, kInstallEntryMode, true);
        return ProductValueExists(registry, RegRoot::kCurrentUser, path, name) ||
               ProductValueExists(registry, RegRoot::kLocalMachine, path, name);
    } catch (...) {
        return false;
    }
}

std::string FindInstallFolder(Registry& registry, int appId) noexcept {
    try {
        if (appId == kLegacyAppId) return ReadLegacyInstallFolder(registry);
        const std::string_view path = ProductKeyPath(appId);
        if (path.empty()) return {};

        const bool flag = HasForceNewReg(registry, appId);
        const TKod& kod = SharedKod();
        const std::string name = appId == 1 ? std::string(kInstallFolderValue)
                                            : kod.Encode(kInstallFolderValue, appId, kInstallEntryMode, flag);

        std::string result;
        for (RegRoot root : {RegRoot::kCurrentUser, RegRoot::kLocalMachine}) {
            const std::string stored = ReadProductString(registry, root, path, name);
            result = kod.Decode(stored, appId, kInstallEntryMode, flag);
            // A NUL cannot be in a folder name: every file call would stop at it and work in the
            // folder named by the part before it. Such an entry counts as none.
            if (result.find('\0') != std::string::npos) result.clear();
            if (!result.empty()) break;
        }
        return result;
    } catch (...) {
        return {};
    }
}

std::string ReadLegacyInstallFolder(Registry& registry) noexcept {
    try {
        return ReadProductString(registry, RegRoot::kLocalMachine, kLegacyKeyPath, kInstallFolderValue);
    } catch (...) {
        return {};
    }
}

}  // namespace updater::environment
