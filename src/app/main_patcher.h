#pragma once
// The main window's decisions, apart from the drawing: which flag buttons are offered and where,
// the language the window starts in, every caption for a language, the flag-click rule, and the
// handlers that tie them together; the update button starts the update run. The window
// (win32/main_window.h) implements MainWindowControls and forwards its events to MainPatcher.

#include <array>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

#include "app/catalogue_texts.h"
#include "app/product_identity.h"
#include "app/update_run.h"
#include "app/update_view.h"

namespace updater::app {

// The flag buttons in declaration order, which is also the order a click examines them in.
enum class Flag : std::uint8_t { kPolski, kAngielski, kNiemiecki, kFrancuski, kWloski };
inline constexpr std::size_t kFlagCount = 5;
inline constexpr std::array<Flag, kFlagCount> kFlags{Flag::kPolski, Flag::kAngielski, Flag::kNiemiecki,
                                                     Flag::kFrancuski, Flag::kWloski};
using FlagStates = std::array<bool, kFlagCount>;  // indexed by Flag

constexpr std::size_t Index(Flag flag) {
    return static_cast<std::size_t>(flag);
}
// The interface language a flag stands for: 0, 1, 3, 2, 4.
Language FlagLanguage(Flag flag);

struct FlagPlacement {
    bool offered = false;  // enabled and visible
    int left = 0;          // design pixels on pnlIntro
};
using FlagPlacements = std::array<FlagPlacement, kFlagCount>;

// The Polish flag always, plus the product's own language's flag moved next to it (German, French
// or Italian take English's place); the others stay hidden where they were designed.
FlagPlacements PlaceFlags(Language productLanguage);
// Patch kinds 4 and 5 never offer the English flag.
bool HidesEnglishFlag(std::int32_t patchKind);
// The one flag shown pressed for a language; none for Spanish, Russian and Hungarian.
FlagStates PressedFlags(Language language);
// A click on a flag: the clicked one is pressed and the rest released; clicking the pressed one
// releases it, leaving every flag up.
FlagStates ClickFlag(FlagStates pressed, Flag clicked);
// The language of the first pressed flag in declaration order; none when every flag is up.
std::optional<Language> LanguageOfPressedFlags(const FlagStates& pressed);

// Keys a focused flag answers. Space works as a click. Enter, which elsewhere in the window starts
// the update, only chooses the flag's language: it never starts the update from a flag, and never
// releases a language already chosen.
enum class FlagKey : std::uint8_t { kSpace, kEnter };
FlagStates PressFlagByKey(FlagStates pressed, Flag focused, FlagKey key);
// The flag Tab stops at, the group's one tab stop: the pressed flag, else the first offered one in
// declaration order (Polish, which is always offered); none when no flag is offered.
std::optional<Flag> TabStopFlag(const FlagStates& pressed, const std::array<bool, kFlagCount>& offered);

// Every caption ApplyLanguage sets for one language.
struct MainWindowTexts {
    std::u16string caption;          // the window's caption, its task-bar entry too (text 261)
    std::u16string title;            // lblTytul (text 261)
    std::u16string version;          // lblKrok (text 263)
    std::u16string update;           // btnUpdate (text 264)
    std::u16string finish;           // btnZamknij (text 7)
    std::u16string openDialogTitle;  // dlgOtworz (text 269)
    std::u16string main;             // lblMain (text 271, 272 or 273)
};
MainWindowTexts ComposeMainWindowTexts(Language language, const MainWindowState& state, std::uint8_t entry,
                                       const TextLookup& texts);
// What the progress timer shows: the base text, the percentage in decimal and "%".
std::u16string ProgressCaption(std::u16string_view base, std::int32_t percent);

enum class MainCaption : std::uint8_t {
    kCaption,          // the window's own caption
    kTitle,            // lblTytul
    kVersion,          // lblKrok
    kSpecialVersion,   // lblWersjaSpecjalna
    kUpdateButton,     // btnUpdate
    kFinishButton,     // btnZamknij
    kOpenDialogTitle,  // dlgOtworz
};

enum class MainFont : std::uint8_t { kWindow, kTitle, kVersion, kMain, kLanguage };
inline constexpr std::array<MainFont, 5> kMainFonts{MainFont::kWindow, MainFont::kTitle, MainFont::kVersion,
                                                    MainFont::kMain, MainFont::kLanguage};

// The window as MainPatcher drives it.
class MainWindowControls : public UpdateView {
  public:
    virtual void SetText(MainCaption control, std::u16string_view text) = 0;
    virtual void PlaceFlag(Flag flag, bool offered, int designLeft) = 0;
    virtual void SetFlagPressed(Flag flag, bool pressed) = 0;
    virtual bool FlagPressed(Flag flag) const = 0;
    // ApplyInterfaceFont on a control's font for a language.
    virtual void ApplyFont(MainFont font, Language language) = 0;
    // The question dialog's SetLanguage.
    virtual void SetQuestionLanguage(Language language) = 0;
    virtual void Close() = 0;
};

class MainPatcher {
  public:
    // The update button runs the update against engine.
    MainPatcher(const AppConfiguration& config, const TextLookup& texts, MainWindowControls& controls,
                UpdateEngine& engine);

    void FormCreate();
    // Before the window is first shown: flags, start language (from the system's, detected),
    // captions, special-version label.
    void FormShow(Language detected);
    // Closing is always allowed.
    bool FormCloseQuery() const { return true; }
    void btnZamknijClick();
    void btnUpdateClick();
    // Shared by the five flags; runs after the clicked flag's pressed state has changed.
    void btnPolskiClick();
    void TimerPostepProcTimer();
    void ApplyLanguage(Language language);

    MainWindowState& State() { return state_; }
    const MainWindowState& State() const { return state_; }

  private:
    const AppConfiguration& config_;
    const TextLookup& texts_;
    MainWindowControls& controls_;
    UpdateEngine& engine_;
    MainWindowState state_;
};

}  // namespace updater::app
