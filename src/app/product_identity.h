#pragma once
// The product this updater is built for and the build's configuration (AppConfiguration): set once
// by ConfigureThisBuild before the main window exists, then only read, by the window, the update
// run and the shortcut step.

#include <cstdint>
#include <string>
#include <string_view>

#include "base/byte_set.h"
#include "localisation/language.h"

namespace updater::app {

// The interface languages are localisation's.
using localisation::kEnglish;
using localisation::kFrench;
using localisation::kGerman;
using localisation::kHungarian;
using localisation::kItalian;
using localisation::kPolish;
using localisation::kRussian;
using localisation::kSpanish;
using localisation::Language;

// The caption of a message shown before the main window exists.
inline constexpr std::string_view kInitialApplicationTitle = "Uaktualnienie - Update";
inline constexpr std::string_view kUnknownAppIdMessage = "Unknown AppId !";

// Shows a modal message with an OK button, captioned with the application title.
class MessageSink {
  public:
    virtual ~MessageSink() = default;
    virtual void ShowMessage(std::string_view text, std::string_view caption) = 0;
};

// Constants of the build, with their initial values.
struct BuildSettings {
    bool updateDictionaries = false;
    bool specialVersion = false;
    std::string specialVersionText;  // scrambled (mode 6)
    bool preferProductLanguage = false;
};

struct AppConfiguration {
    // Product identity.
    std::int32_t appId = 0;
    std::int32_t versionMajor = 0;
    std::int32_t versionMinor = 0;
    std::int32_t versionExtra = 0;
    Language productLanguage = kPolish;
    Language defaultUiLanguage = kPolish;

    std::int32_t patchKind = 0;
    base::ByteSet activeSet;
    std::uint8_t configuredEntry = 0;

    BuildSettings settings;

    // Records the identity and derives the product's languages. An AppId outside 1..14 (compared
    // unsigned, so negative ones too) shows "Unknown AppId !" and leaves productLanguage as it was.
    void SetAppIdentity(std::int32_t id, std::int32_t major, std::int32_t minor, std::int32_t extra,
                        MessageSink& messages);
};

// What one build of the family declares (builds/*.cmake, turned into app/this_build.h by CMake):
// the product's identity, the patch kind, the files it updates, the row it names and the build
// settings.
struct BuildDeclaration {
    std::int32_t appId = 0;
    std::int32_t versionMajor = 0;
    std::int32_t versionMinor = 0;
    std::int32_t versionExtra = 0;
    std::int32_t patchKind = 0;
    base::ByteSet activeSet;
    std::uint8_t configuredEntry = 0;
    bool updateDictionaries = false;
    bool specialVersion = false;
    std::string_view specialVersionText;  // scrambled (mode 6)
    bool preferProductLanguage = false;
};

// Configures the program for a declared build: the identity first (an unknown AppId is told at
// once), then the patch kind, the files to update, the catalogue row the window names and the
// build settings.
void ConfigureBuild(AppConfiguration& config, MessageSink& messages, const BuildDeclaration& build);

}  // namespace updater::app
