#include "app/product_identity.h"

#include <array>

namespace updater::app {
namespace {

// The product's own language for AppIds 1 to 14.
constexpr std::array<Language, 14> kProductLanguages{kFrench,  kEnglish, kEnglish, kGerman,  kGerman,
                                                     kEnglish, kEnglish, kItalian, kSpanish, kRussian,
                                                     kFrench,  kGerman,  kEnglish, kRussian};

}  // namespace

void AppConfiguration::SetAppIdentity(std::int32_t id, std::int32_t major, std::int32_t minor, std::int32_t extra,
                                      MessageSink& messages) {
    appId = id;
    versionMajor = major;
    versionMinor = minor;
    versionExtra = extra;

    // Compared unsigned, so that a negative AppId is as unknown as one past the end.
    if (const auto index = static_cast<std::uint32_t>(id) - 1; index < kProductLanguages.size()) {
        productLanguage = kProductLanguages[index];
    } else {
        messages.ShowMessage(kUnknownAppIdMessage, kInitialApplicationTitle);
    }
    defaultUiLanguage = id == 13 ? kHungarian : kPolish;
}

void ConfigureBuild(AppConfiguration& config, MessageSink& messages, const BuildDeclaration& build) {
    config.SetAppIdentity(build.appId, build.versionMajor, build.versionMinor, build.versionExtra, messages);
    config.patchKind = build.patchKind;
    config.activeSet = build.activeSet;
    config.configuredEntry = build.configuredEntry;
    // The dictionary step runs only in a build that carries the dictionary script.
    config.settings.updateDictionaries = build.updateDictionaries;
    config.settings.specialVersion = build.specialVersion;
    config.settings.specialVersionText = std::string(build.specialVersionText);
    config.settings.preferProductLanguage = build.preferProductLanguage;
}

}  // namespace updater::app
