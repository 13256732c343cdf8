#pragma once
// The window's services as the program uses them: interface texts from the catalogue with the
// platform values fixed at start, titles and version texts from the file catalogue, the system's
// language, the start-language rule and the scrambled special-version text.

#include "app/main_patcher.h"
#include "localisation/language.h"

namespace updater::app {

class CatalogueServices : public MainWindowServices {
  public:
    explicit CatalogueServices(const localisation::Platform& platform) : platform_(platform) {}

    std::u16string Text(Language language, std::int32_t id, bool forceTextCodePage) const override;
    std::u16string Title(std::uint8_t entry, std::int32_t variant) const override;
    std::u16string VersionText(std::uint8_t entry) const override;
    Language DetectSystemLanguage() const override;
    Language StartLanguage(Language detected, const AppConfiguration& config) const override;
    std::u16string DecodeSpecialVersion(std::string_view scrambled, std::int32_t appId) const override;

  private:
    localisation::Platform platform_;
};

}  // namespace updater::app
