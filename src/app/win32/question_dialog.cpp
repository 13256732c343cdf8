#include <windows.h>

#include <oleacc.h>

#include "app/win32/question_dialog.h"

#include <array>

#include "app/win32/accessible_object.h"
#include "app/win32/control_ids.h"
#include "app/win32/message_pump.h"
#include "app/window_layout.h"

namespace updater::app::win32 {
namespace {

constexpr DWORD kStyle = WS_POPUP | WS_CAPTION | WS_CLIPSIBLINGS;
constexpr DWORD kExStyle = WS_EX_DLGMODALFRAME | WS_EX_WINDOWEDGE | WS_EX_CONTROLPARENT;

// The modal result of btnTak, btnNie and btnAnuluj, whose ids follow one another.
constexpr std::array<std::int32_t, 3> kButtonResults{kResultYes, kResultNo, kResultCancel};

// Measures in the label's own font with the label's own drawing rules.
class LabelMeasure : public TextMeasure {
  public:
    explicit LabelMeasure(HWND label) : label_(label) {}
    PixelSize Measure(std::u16string_view text, std::optional<int> wrapWidth) const override {
        return MeasureText(label_, text, wrapWidth);
    }

  private:
    HWND label_;
};

}  // namespace

TfrmPytanie::TfrmPytanie(const TextLookup& texts, HWND owner) : texts_(texts) {
    namespace q = question_dialog;
    window_ =
        CreateDialogWindow(*this, {kQuestionDialogClass, false}, kStyle, kExStyle, {Scaled(322), Scaled(124)}, owner);
    const int top = Scaled(95);
    const int width = Scaled(q::kButtonWidths[0]);
    const int height = Scaled(q::kButtonHeight);
    constexpr DWORD kButton = WS_TABSTOP | BS_PUSHBUTTON;
    yes_ = CreateControl(window_, L"BUTTON", kButton, kYesButtonId, {Scaled(8), top, width, height});
    no_ = CreateControl(window_, L"BUTTON", kButton, kNoButtonId, {Scaled(112), top, width, height});
    cancel_ = CreateControl(window_, L"BUTTON", kButton, kCancelButtonId, {Scaled(216), top, width, height});
    label_ = CreateControl(window_, L"STATIC", SS_CENTER | SS_NOPREFIX, kQuestionLabelId,
                           {Scaled(q::kLabelLeft), Scaled(q::kLabelTop), Scaled(q::kMaxLabelWidth), Scaled(13)});
    SetLanguage(kPolish);
}

TfrmPytanie::~TfrmPytanie() {
    if (window_) DestroyWindow(window_);
}

void TfrmPytanie::SetLanguage(Language language) {
    font_ = MakeInterfaceFont(question_dialog::kFontHeight, false, language);
    for (HWND control : {window_, label_, yes_, no_, cancel_})
        SetWindowFont(control, font_.get());
    const QuestionTexts texts = ComposeQuestionTexts(language, texts_);
    SetCaption(window_, texts.caption);
    SetCaption(yes_, texts.yes);
    SetCaption(no_, texts.no);
    SetCaption(cancel_, texts.cancel);
}

std::int32_t TfrmPytanie::Ask(HWND owner, std::u16string_view message, std::uint8_t kind) {
    const std::u16string yesCaption = Caption(yes_);
    const std::u16string noCaption = Caption(no_);

    const AskMetrics metrics = AskMetrics::AtDpi(ScreenDpi());
    SetCaption(label_, message);
    const LabelMeasure labelMeasure(label_);
    const TextMeasure& measure = measureOverride_ ? *measureOverride_ : labelMeasure;
    plan_ = PlanAsk(FitQuestionLabel(message, metrics.maxLabelWidth, measure), kind, metrics);

    SetWindowPos(label_, nullptr, metrics.labelLeft, metrics.labelTop, plan_.labelWidth, plan_.labelHeight,
                 SWP_NOZORDER | SWP_NOACTIVATE);
    const HWND buttons[] = {yes_, no_, cancel_};
    for (std::size_t i = 0; i < 3; ++i) {
        SetWindowPos(buttons[i], nullptr, plan_.buttonLefts[i], plan_.buttonTop, metrics.buttonWidths[i],
                     metrics.buttonHeight, SWP_NOZORDER | SWP_NOACTIVATE);
    }
    ShowWindow(no_, plan_.showNo ? SW_SHOWNA : SW_HIDE);
    EnableWindow(no_, plan_.showNo);
    ShowWindow(cancel_, plan_.showCancel ? SW_SHOWNA : SW_HIDE);
    EnableWindow(cancel_, plan_.showCancel);
    if (plan_.yesSaysOk) SetCaption(yes_, kOkCaption);
    if (plan_.noTakesCancelCaption) SetCaption(no_, Caption(cancel_));

    RECT outer{0, 0, plan_.client.width, plan_.client.height};
    AdjustWindowRectEx(&outer, kStyle, FALSE, kExStyle);
    const PixelSize size{outer.right - outer.left, outer.bottom - outer.top};
    RECT ownerRect{};
    if (!owner || !GetWindowRect(owner, &ownerRect)) SystemParametersInfoW(SPI_GETWORKAREA, 0, &ownerRect, 0);
    const auto [left, top] = CentreOver(
        {ownerRect.left, ownerRect.top, ownerRect.right - ownerRect.left, ownerRect.bottom - ownerRect.top}, size);
    if (GetWindow(window_, GW_OWNER) != owner)
        SetWindowLongPtrW(window_, GWLP_HWNDPARENT, reinterpret_cast<LONG_PTR>(owner));
    SetWindowPos(window_, HWND_TOP, left, top, size.width, size.height, SWP_NOACTIVATE);

    // Modal over the owner: it takes no input until a button closes the dialog.
    const bool ownerWasEnabled = owner && IsWindowEnabled(owner);
    if (ownerWasEnabled) EnableWindow(owner, FALSE);
    ShowWindow(window_, SW_SHOW);
    SendMessageW(window_, WM_NEXTDLGCTL, reinterpret_cast<WPARAM>(yes_), TRUE);
    result_ = 0;
    while (result_ == 0) {
        MSG msg;
        const BOOL got = GetMessageW(&msg, nullptr, 0, 0);
        if (got == 0 || got == -1) {
            // The program is ending: leave the quit message for the main loop.
            if (got == 0) PostQuitMessage(static_cast<int>(msg.wParam));
            result_ = plan_.escapeResult.value_or(kResultCancel);
            break;
        }
        DispatchWithDialogKeys(msg);
    }
    if (ownerWasEnabled) EnableWindow(owner, TRUE);
    ShowWindow(window_, SW_HIDE);
    if (owner) SetActiveWindow(owner);

    SetCaption(yes_, yesCaption);
    SetCaption(no_, noCaption);
    return result_;
}

std::optional<LRESULT> TfrmPytanie::HandleMessage(UINT message, WPARAM wParam, LPARAM lParam) {
    switch (message) {
        case WM_COMMAND:
            if (HIWORD(wParam) != BN_CLICKED) break;
            if (const int id = LOWORD(wParam); id >= kYesButtonId && id <= kCancelButtonId) {
                result_ = kButtonResults[static_cast<std::size_t>(id - kYesButtonId)];
            } else if (id == IDCANCEL && plan_.escapeResult && IsWindowVisible(window_)) {  // Esc
                result_ = *plan_.escapeResult;
            }
            return 0;
        case WM_GETOBJECT: {
            // Our own window class reads as a plain window; as a dialog, a screen reader reads its
            // message with it, as it does for the system's dialogs.
            static const AccessibleTraits kDialog{ROLE_SYSTEM_DIALOG, false, false, {}};
            if (const std::optional<LRESULT> answer = AnswerGetObject(window_, wParam, lParam, kDialog)) return *answer;
            break;
        }
        case WM_CLOSE:
            // Alt+F4 counts as Esc, so a kind without an escape cannot be dismissed without its button.
            if (plan_.escapeResult && IsWindowVisible(window_)) result_ = *plan_.escapeResult;
            return 0;
        default:
            break;
    }
    return std::nullopt;
}

}  // namespace updater::app::win32
