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
            messages.ShowMessage(kUnknownAppIdMessage, kInitialApplicationTitle);
            break;
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
