#pragma once
// Stand-ins for the window's services in the app tests: a small text table with the Polish and
// English texts the windows show, and the catalogue row this build names.

#include <map>
#include <string>
#include <utility>

#include "app/main_patcher.h"

namespace updater::app::test {

class FakeServices : public MainWindowServices {
  public:
    FakeServices();

    std::u16string Text(Language language, std::int32_t id, bool forceTextCodePage) const override;
    std::u16string Title(std::uint8_t entry, std::int32_t variant) const override;
    std::u16string VersionText(std::uint8_t entry) const override;
    Language DetectSystemLanguage() const override { return detected; }
    Language StartLanguage(Language detectedLanguage, const AppConfiguration& config) const override;
    std::u16string DecodeSpecialVersion(std::string_view scrambled, std::int32_t appId) const override;

    Language detected = kPolish;
    mutable std::vector<bool> forcedLookups;  // forceTextCodePage of every lookup, in order
    std::map<std::pair<Language, std::int32_t>, std::u16string> texts;
};

}  // namespace updater::app::test
