#include "app/main_patcher.h"

#include <string>

#include "app/caption_format.h"
#include "app/text_ids.h"
#include "app/window_layout.h"

namespace updater::app {
namespace {

constexpr std::array<Language, kFlagCount> kFlagLanguages{kPolish, kEnglish, kGerman, kFrench, kItalian};

}  // namespace

Language FlagLanguage(Flag flag) {
    return kFlagLanguages[Index(flag)];
}

FlagPlacements PlaceFlags(Language productLanguage) {
    FlagPlacements placements;
    for (Flag flag : kFlags) {
        FlagPlacement& p = placements[Index(flag)];
        p.offered = flag == Flag::kPolski || FlagLanguage(flag) == productLanguage;
        // English already stands next to the Polish flag; another product language takes its place.
        const bool besidePolish = p.offered && flag > Flag::kAngielski;
        p.left = main_window::kFlagLefts[Index(besidePolish ? Flag::kAngielski : flag)];
    }
    return placements;
}

bool HidesEnglishFlag(std::int32_t patchKind) {
    return patchKind == 4 || patchKind == 5;
}

FlagStates PressedFlags(Language language) {
    FlagStates pressed{};
    for (Flag flag : kFlags)
        pressed[Index(flag)] = FlagLanguage(flag) == language;
    return pressed;
}

FlagStates ClickFlag(FlagStates pressed, Flag clicked) {
    const bool wasPressed = pressed[Index(clicked)];
    pressed.fill(false);
    pressed[Index(clicked)] = !wasPressed;
    return pressed;
}

FlagStates PressFlagByKey(FlagStates pressed, Flag focused, FlagKey key) {
    if (key == FlagKey::kEnter && pressed[Index(focused)]) return pressed;
    return ClickFlag(pressed, focused);
}

std::optional<Flag> TabStopFlag(const FlagStates& pressed, const std::array<bool, kFlagCount>& offered) {
    for (Flag flag : kFlags) {
        if (offered[Index(flag)] && pressed[Index(flag)]) return flag;
    }
    for (Flag flag : kFlags) {
        if (offered[Index(flag)]) return flag;
    }
    return std::nullopt;
}

std::optional<Language> LanguageOfPressedFlags(const FlagStates& pressed) {
    for (Flag flag : kFlags) {
        if (pressed[Index(flag)]) return FlagLanguage(flag);
    }
    return std::nullopt;
}

MainWindowTexts ComposeMainWindowTexts(Language language, const MainWindowState& state, std::uint8_t entry,
                                       const TextLookup& texts) {
    const auto text = [&](std::int32_t id) { return texts.Text(language, id, false); };
    MainWindowTexts composed;
    composed.caption = FormatCaption(text(kTextTitle), {ProductTitle(entry, language)});
    composed.title = composed.caption;
    composed.version = FormatCaption(text(kTextVersion), {ProductVersionText(entry)});
    composed.update = text(kTextUpdate);
    composed.finish = text(kTextFinish);
    composed.openDialogTitle = text(kTextOpenDialogTitle);
    // After a run only its outcome is kept, so "nothing needed updating" shows as success here.
    if (state.finished) {
        composed.main = text(state.succeeded ? kTextSucceeded : kTextFailed);
    } else {
        composed.main = IntroductionText(texts, language, entry);
    }
    return composed;
}

std::u16string ProgressCaption(std::u16string_view base, std::int32_t percent) {
    std::u16string text(base);
    for (char c : std::to_string(percent))
        text.push_back(static_cast<char16_t>(c));
    text.push_back(u'%');
    return text;
}

MainPatcher::MainPatcher(const AppConfiguration& config, const TextLookup& texts, MainWindowControls& controls,
                         UpdateEngine& engine)
    : config_(config), texts_(texts), controls_(controls), engine_(engine) {}

void MainPatcher::FormCreate() {
    state_.finished = false;
    state_.succeeded = false;
}

void MainPatcher::FormShow(Language detected) {
    const FlagPlacements placements = PlaceFlags(config_.productLanguage);
    for (Flag flag : kFlags)
        controls_.PlaceFlag(flag, placements[Index(flag)].offered, placements[Index(flag)].left);

    ApplyLanguage(localisation::StartLanguage(detected, config_.productLanguage, config_.settings.preferProductLanguage,
                                              config_.defaultUiLanguage));

    if (HidesEnglishFlag(config_.patchKind)) {
        controls_.PlaceFlag(Flag::kAngielski, false, placements[Index(Flag::kAngielski)].left);
    }
    if (config_.settings.specialVersion) {
        controls_.SetText(MainCaption::kSpecialVersion,
                          SpecialVersionText(config_.settings.specialVersionText, config_.appId));
    }
}

void MainPatcher::btnZamknijClick() {
    controls_.Close();
}

void MainPatcher::btnUpdateClick() {
    RunUpdate(config_, state_, controls_, texts_, engine_);
}

void MainPatcher::btnPolskiClick() {
    FlagStates pressed{};
    for (Flag flag : kFlags)
        pressed[Index(flag)] = controls_.FlagPressed(flag);
    if (const std::optional<Language> language = LanguageOfPressedFlags(pressed)) ApplyLanguage(*language);
}

void MainPatcher::TimerPostepProcTimer() {
    controls_.SetMainText(ProgressCaption(state_.progressBaseText, state_.progressPercent));
}

void MainPatcher::ApplyLanguage(Language language) {
    state_.uiLanguage = language;

    const FlagStates pressed = PressedFlags(language);
    for (Flag flag : kFlags)
        controls_.SetFlagPressed(flag, pressed[Index(flag)]);

    controls_.SetQuestionLanguage(language);

    // The title and the language row always keep the Central European character set.
    for (MainFont font : kMainFonts)
        controls_.ApplyFont(font, font == MainFont::kTitle || font == MainFont::kLanguage ? kPolish : language);

    const MainWindowTexts texts = ComposeMainWindowTexts(language, state_, config_.configuredEntry, texts_);
    controls_.SetText(MainCaption::kCaption, texts.caption);
    controls_.SetText(MainCaption::kTitle, texts.title);
    controls_.SetText(MainCaption::kVersion, texts.version);
    controls_.SetText(MainCaption::kUpdateButton, texts.update);
    controls_.SetText(MainCaption::kFinishButton, texts.finish);
    controls_.SetText(MainCaption::kOpenDialogTitle, texts.openDialogTitle);
    controls_.SetMainText(texts.main);
}

}  // namespace updater::app
