#include "app/product_identity.h"

namespace updater::app {

void AppConfiguration::SetAppIdentity(std::int32_t id, std::int32_t major, std::int32_t minor, std::int32_t extra,
                                      MessageSink& messages) {
    appId = id;
    versionMajor = major;
    versionMinor = minor;
    versionExtra = extra;

    switch (static_cast<std::uint32_t>(id)) {
        case 1:
        case 11:
            productLanguage = kFrench;
            break;
        case 2:
        case 3:
        case 6:
        case 7:
        case 13:
            productLanguage = kEnglish;
            break;
        case 4:
        case 5:
        case 12:
            productLanguage = kGerman;
            break;
        case 8:
            productLanguage = kItalian;
            break;
        case 9:
            productLanguage = kSpanish;
            break;
        case 10:
        case 14:
            productLanguage = kRussian;
            break;
        default:
            messages.ShowMessage(kUnknownAppIdMessage, applicationTitle);
            break;
    }
    defaultUiLanguage = id == 13 ? kHungarian : kPolish;
}

void ConfigureThisBuild(AppConfiguration& config, MessageSink& messages) {
    config.SetAppIdentity(kBuildAppId, 2, 5, 1, messages);
    config.patchKind = kBuildPatchKind;
    config.activeSet = kBuildActiveSet;
    config.configuredEntry = kBuildConfiguredEntry;
    // The dictionary step runs only in the build that carries the dictionary script.
    config.settings.updateDictionaries = kBuildUpdateDictionaries;
}

}  // namespace updater::app
