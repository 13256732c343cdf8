#include "app/catalogue_texts.h"

#include "app/caption_format.h"
#include "app/text_ids.h"
#include "environment/kod.h"
#include "localisation/conversion_maps.h"
#include "localisation/text_catalogue.h"
#include "patch/file_catalogue.h"

namespace updater::app {
namespace {

constexpr int kSpecialVersionMode = 6;

std::u16string WidenProductText(std::string_view text) {
    return localisation::ConvertText(text, localisation::TextMap::kCentralEuropean);
}

}  // namespace

std::u16string CatalogueTexts::Text(Language language, std::int32_t id, bool forceTextCodePage) const {
    return localisation::GetText(language, id, forceTextCodePage, platform_);
}

std::u16string ProductTitle(std::uint8_t entry, Language language) {
    return WidenProductText(patch::Title(entry, language == localisation::kPolish ? 1 : 2));
}

std::u16string ProductVersionText(std::uint8_t entry) {
    return WidenProductText(patch::VersionText(entry));
}

std::u16string IntroductionText(const TextLookup& texts, Language language, std::uint8_t entry) {
    return FormatCaption(texts.Text(language, kTextIntroduction, false),
                         {ProductTitle(entry, language), ProductVersionText(entry)});
}

std::u16string SpecialVersionText(std::string_view scrambled, std::int32_t appId) {
    return WidenProductText(environment::SharedKod().Decode(scrambled, appId, kSpecialVersionMode, false));
}

}  // namespace updater::app
