#include "app/catalogue_services.h"

#include "environment/kod.h"
#include "localisation/conversion_maps.h"
#include "localisation/text_catalogue.h"
#include "patch/file_catalogue.h"

namespace updater::app {
namespace {

constexpr int kSpecialVersionMode = 6;

// Product names and the special-version text are the product's Polish 8-bit text.
std::u16string WidenProductText(std::string_view text) {
    return localisation::ConvertText(text, localisation::TextMap::kCentralEuropean);
}

}  // namespace

std::u16string CatalogueServices::Text(Language language, std::int32_t id, bool forceTextCodePage) const {
    return localisation::GetText(language, id, forceTextCodePage, platform_);
}

std::u16string CatalogueServices::Title(std::uint8_t entry, std::int32_t variant) const {
    return WidenProductText(patch::Title(entry, variant));
}

std::u16string CatalogueServices::VersionText(std::uint8_t entry) const {
    return WidenProductText(patch::VersionText(entry));
}

Language CatalogueServices::DetectSystemLanguage() const {
    return localisation::DetectSystemLanguage();
}

Language CatalogueServices::StartLanguage(Language detected, const AppConfiguration& config) const {
    return localisation::StartLanguage(detected, config.productLanguage, config.settings.preferProductLanguage,
                                       config.defaultUiLanguage);
}

std::u16string CatalogueServices::DecodeSpecialVersion(std::string_view scrambled, std::int32_t appId) const {
    return WidenProductText(environment::SharedKod().Decode(scrambled, appId, kSpecialVersionMode, false));
}

}  // namespace updater::app
