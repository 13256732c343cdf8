#pragma once
// The texts the windows and the update run show, from the catalogues: the interface texts by id
// (with the platform's values fixed at start) and the product's title and version text from the
// file catalogue, which are the product's Polish 8-bit text.

#include <cstdint>
#include <string>
#include <string_view>

#include "localisation/language.h"

namespace updater::app {

using localisation::Language;

// An interface text by catalogue id, as wide text. The update run's tests give a small table of
// their own, to follow what the run shows without the catalogue's long texts.
class TextLookup {
  public:
    virtual ~TextLookup() = default;
    virtual std::u16string Text(Language language, std::int32_t id, bool forceTextCodePage) const = 0;
};

class CatalogueTexts final : public TextLookup {
  public:
    explicit CatalogueTexts(const localisation::Platform& platform) : platform_(platform) {}
    std::u16string Text(Language language, std::int32_t id, bool forceTextCodePage) const override;

  private:
    localisation::Platform platform_;
};

// The catalogue row's title in the interface language (the first title in Polish, the second in
// any other) and its version text.
std::u16string ProductTitle(std::uint8_t entry, Language language);
std::u16string ProductVersionText(std::uint8_t entry);
// Text 271 with the product's title and version: the main label before and at the start of a run.
std::u16string IntroductionText(const TextLookup& texts, Language language, std::uint8_t entry);
// The special-version label: the build's scrambled text (mode 6, flag clear) decoded for the product.
std::u16string SpecialVersionText(std::string_view scrambled, std::int32_t appId);

}  // namespace updater::app
