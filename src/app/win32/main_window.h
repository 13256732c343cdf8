#pragma once
// TfrmMainPatcher: the program's main window. It creates and lays out the controls, measures and
// paints, and forwards every event to MainPatcher, which decides.

#include <array>
#include <cstdint>
#include <string>

#include "app/main_patcher.h"
#include "app/win32/accessible_object.h"
#include "app/win32/flag_button.h"
#include "app/win32/window_support.h"

namespace updater::app::win32 {

class TfrmPytanie;

inline constexpr wchar_t kMainWindowClass[] = L"TfrmMainPatcher";
// Posted to the main window (wParam: kind 0 to 3), it shows the question dialog with a sample
// message in the interface language: lets a driver program show every kind of the dialog, which
// the update run alone never does.
inline constexpr wchar_t kPreviewQuestionMessage[] = L"UpdaterPreviewQuestion";

class TfrmMainPatcher : public MainWindowControls, private DialogWindow {
  public:
    // Creates the window hidden and runs FormCreate; its update button runs the update on engine.
    TfrmMainPatcher(const AppConfiguration& config, const TextLookup& texts, UpdateEngine& engine);
    ~TfrmMainPatcher() override;
    TfrmMainPatcher(const TfrmMainPatcher&) = delete;
    TfrmMainPatcher& operator=(const TfrmMainPatcher&) = delete;

    void AttachQuestionDialog(TfrmPytanie& dialog) { question_ = &dialog; }
    // Closing the window ends the program's message loop.
    void SetEndsProgram(bool ends) { endsProgram_ = ends; }
    // The first show: FormShow, then the window appears centred with the focus on btnUpdate.
    void Show();

    MainPatcher& Patcher() { return patcher_; }
    WindowHandle Handle() const { return window_; }

    // MainWindowControls.
    std::u16string MainText() const override;
    void SetMainText(std::u16string_view text) override;
    void SetUpdateEnabled(bool enabled) override;
    void SetFinishEnabled(bool enabled) override;
    void FocusFinish() override;
    void Pump() override;
    std::int32_t Ask(std::u16string_view message, std::uint8_t kind) override;
    void SetProgressTimer(bool enabled) override;
    std::optional<std::u16string> BrowseForProgram() override;
    void SetText(MainCaption control, std::u16string_view text) override;
    void PlaceFlag(Flag flag, bool offered, int designLeft) override;
    void SetFlagPressed(Flag flag, bool pressed) override;
    bool FlagPressed(Flag flag) const override;
    void ApplyFont(MainFont font, Language language) override;
    void SetQuestionLanguage(Language language) override;
    void Close() override;

  private:
    std::optional<LRESULT> HandleMessage(UINT message, WPARAM wParam, LPARAM lParam) override;
    template <class Handler>
    void RunHandler(Handler handler);
    void CreateControls();
    void OnCommand(int id, WORD code);
    // The flags at their design places, moved clear of lblJezyk as wide as it now is.
    void PlaceLanguageRow();
    // The group's one tab stop: the pressed offered flag, else the first offered one.
    void UpdateFlagTabStop();

    const TextLookup& texts_;
    MainPatcher patcher_;
    TfrmPytanie* question_ = nullptr;
    bool endsProgram_ = true;
    int busy_ = 0;  // handlers running; a close waits until they have returned
    bool closePending_ = false;
    bool progressTimerOn_ = false;

    WindowHandle window_ = nullptr;
    WindowHandle pnlMain_ = nullptr, pnlTop_ = nullptr, pnlBottom_ = nullptr, pnlIntro_ = nullptr;
    WindowHandle bevel_ = nullptr;
    WindowHandle btnZamknij_ = nullptr, btnUpdate_ = nullptr;
    WindowHandle lblTytul_ = nullptr, lblKrok_ = nullptr, lblJezyk_ = nullptr, lblMain_ = nullptr;
    WindowHandle lblWersjaSpecjalna_ = nullptr;
    std::array<WindowHandle, kFlagCount> flags_{};
    std::array<Bitmap, kFlagCount> flagBitmaps_;  // outlive the buttons: the window goes first
    std::array<int, kFlagCount> flagDesignLefts_{};
    AccessibleTraits finishAccessible_;          // btnZamknij's description: the verdict, once a run has ended
    std::array<Font, kMainFonts.size()> fonts_;  // by MainFont
    std::u16string openDialogTitle_;
    unsigned previewMessage_ = 0;
};

}  // namespace updater::app::win32
