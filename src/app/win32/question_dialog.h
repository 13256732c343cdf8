#pragma once
// TfrmPytanie: the modal question dialog. A centred message over a row of up to three buttons,
// sized to the message and centred over its owner; Ask runs its own modal loop.

#include <cstdint>
#include <string>
#include <string_view>

#include "app/catalogue_texts.h"
#include "app/question_layout.h"
#include "app/win32/window_support.h"

namespace updater::app::win32 {

inline constexpr wchar_t kQuestionDialogClass[] = L"TfrmPytanie";

class TfrmPytanie : private DialogWindow {
  public:
    // Creates the dialog hidden, owned by owner (may be null).
    TfrmPytanie(const TextLookup& texts, WindowHandle owner);
    ~TfrmPytanie() override;
    TfrmPytanie(const TfrmPytanie&) = delete;
    TfrmPytanie& operator=(const TfrmPytanie&) = delete;

    // Font, caption and button captions for an interface language.
    void SetLanguage(Language language);
    // Shows the message modally over owner with the buttons of kind 0 to 3 and returns the modal
    // result of the button that closed it: 6, 7 or 2.
    std::int32_t Ask(WindowHandle owner, std::u16string_view message, std::uint8_t kind);

    WindowHandle Handle() const { return window_; }
    // Tests replace the measuring of the message to place the dialog around known label sizes.
    void SetMeasureForTesting(const TextMeasure* measure) { measureOverride_ = measure; }

  private:
    std::optional<LRESULT> HandleMessage(UINT message, WPARAM wParam, LPARAM lParam) override;

    const TextLookup& texts_;
    WindowHandle window_ = nullptr;
    WindowHandle label_ = nullptr;   // lblPytanie
    WindowHandle yes_ = nullptr;     // btnTak
    WindowHandle no_ = nullptr;      // btnNie
    WindowHandle cancel_ = nullptr;  // btnAnuluj
    Font font_;
    const TextMeasure* measureOverride_ = nullptr;
    AskPlan plan_;
    std::int32_t result_ = 0;  // 0 while the dialog waits
};

}  // namespace updater::app::win32
