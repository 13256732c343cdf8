#include <windows.h>

#include <commdlg.h>
#include <oleacc.h>

#include "app/win32/main_window.h"

#include <vector>

#include "app/caption_format.h"
#include "app/text_ids.h"
#include "app/win32/control_ids.h"
#include "app/win32/message_pump.h"
#include "app/win32/question_dialog.h"
#include "app/win32/resource_ids.h"
#include "app/window_layout.h"
#include "base/win32/dll_search.h"

namespace updater::app::win32 {
namespace {

namespace layout = main_window;

constexpr UINT_PTR kProgressTimerId = 1;

constexpr DWORD kStyle = WS_OVERLAPPED | WS_CAPTION | WS_CLIPCHILDREN;  // no title-bar buttons, fixed size
constexpr DWORD kExStyle = WS_EX_CONTROLPARENT | WS_EX_APPWINDOW;

constexpr std::u16string_view kLanguageCaption = u"Język / Language / Sprache / Langue:";
// Names for screen readers and automation, each in its own language.
constexpr std::array<std::u16string_view, kFlagCount> kFlagNames{u"Polski", u"English", u"Deutsch", u"Français",
                                                                 u"Italiano"};
constexpr std::array<int, kFlagCount> kFlagBitmaps{UPDATER_IDB_FLAG_POLAND, UPDATER_IDB_FLAG_UNITED_KINGDOM,
                                                   UPDATER_IDB_FLAG_GERMANY, UPDATER_IDB_FLAG_FRANCE,
                                                   UPDATER_IDB_FLAG_ITALY};

// The flag images drawn for the screen's DPI.
int FlagBitmapId(std::size_t flag) {
    return kFlagBitmaps[flag] + static_cast<int>(layout::FlagImageFor(ScreenDpi())) * UPDATER_IDB_FLAG_SIZE_STEP;
}

void SetStyleBit(HWND window, LONG bit, bool on) {
    const LONG style = GetWindowLongW(window, GWL_STYLE);
    SetWindowLongW(window, GWL_STYLE, on ? style | bit : style & ~bit);
}

PixelRect ScaledRect(const DesignRect& r) {
    return {Scaled(r.left), Scaled(r.top), Scaled(r.width), Scaled(r.height)};
}

// Counts a running handler for as long as it runs, however it ends.
class HandlerScope {
  public:
    explicit HandlerScope(int& busy) : busy_(busy) { ++busy_; }
    ~HandlerScope() { --busy_; }
    HandlerScope(const HandlerScope&) = delete;
    HandlerScope& operator=(const HandlerScope&) = delete;

  private:
    int& busy_;
};

}  // namespace

TfrmMainPatcher::TfrmMainPatcher(const AppConfiguration& config, const TextLookup& texts, UpdateEngine& engine)
    : texts_(texts), patcher_(config, texts, *this, engine) {
    previewMessage_ = RegisterWindowMessageW(kPreviewQuestionMessage);
    window_ = CreateDialogWindow(*this, {kMainWindowClass, true}, kStyle, kExStyle,
                                 {Scaled(layout::kClientWidth), Scaled(layout::kClientHeight)}, nullptr);
    CreateControls();
    patcher_.FormCreate();
}

TfrmMainPatcher::~TfrmMainPatcher() {
    if (window_ && IsWindow(window_)) {
        SetWindowLongPtrW(window_, GWLP_USERDATA, 0);
        DestroyWindow(window_);
    }
}

void TfrmMainPatcher::CreateControls() {
    const int width = layout::kClientWidth;
    pnlMain_ = CreatePanel(window_, ScaledRect({0, 0, width, layout::kClientHeight}), false);
    pnlTop_ = CreatePanel(pnlMain_, ScaledRect({0, 0, width, layout::kTopHeight}), true);
    // Tab and reading order follow creation order, top to bottom: the flags (one stop for the
    // group), btnUpdate, btnZamknij.
    pnlIntro_ = CreatePanel(pnlMain_, ScaledRect({0, layout::kIntroTop, width, layout::kIntroHeight}), false);
    pnlBottom_ = CreatePanel(
        pnlMain_, ScaledRect({0, layout::kClientHeight - layout::kBottomHeight, width, layout::kBottomHeight}), false);

    bevel_ = CreateControl(pnlBottom_, L"STATIC", WS_GROUP | SS_ETCHEDHORZ, kBevelId, ScaledRect(layout::kBevel));
    btnUpdate_ = CreateControl(pnlBottom_, L"BUTTON", WS_GROUP | WS_TABSTOP | BS_PUSHBUTTON, kUpdateButtonId,
                               ScaledRect(layout::kUpdateButton));
    btnZamknij_ = CreateControl(pnlBottom_, L"BUTTON", WS_TABSTOP | BS_PUSHBUTTON, kFinishButtonId,
                                ScaledRect(layout::kFinishButton));
    // At the end of a run the focus comes here; the verdict goes with it to a screen reader.
    AnswerGetObjectWith(btnZamknij_, finishAccessible_);

    lblTytul_ = CreateControl(pnlTop_, L"STATIC", SS_LEFTNOWORDWRAP | SS_NOPREFIX, kTitleLabelId,
                              ScaledRect(layout::kTitleLabel));
    lblKrok_ = CreateControl(pnlTop_, L"STATIC", SS_LEFTNOWORDWRAP | SS_NOPREFIX, kVersionLabelId,
                             ScaledRect(layout::kVersionLabel));

    for (Flag flag : kFlags) {
        const std::size_t i = Index(flag);
        flagBitmaps_[i].reset(static_cast<HBITMAP>(
            LoadImageW(ModuleInstance(), MAKEINTRESOURCEW(FlagBitmapId(i)), IMAGE_BITMAP, 0, 0, LR_DEFAULTCOLOR)));
        flags_[i] = CreateFlagButton(
            pnlIntro_, kFirstFlagId + static_cast<int>(i),
            ScaledRect({layout::kFlagLefts[i], layout::kFlagTop, layout::kFlagWidth, layout::kFlagHeight}),
            kFlagNames[i], flagBitmaps_[i].get());
        flagDesignLefts_[i] = layout::kFlagLefts[i];
    }
    // The flags are one group: arrows move in it, and it has one tab stop (UpdateFlagTabStop).
    SetStyleBit(flags_[0], WS_GROUP, true);
    // As designed: Polish and English offered, Polish pressed; FormShow decides for the product.
    PlaceFlag(Flag::kPolski, true, layout::kFlagLefts[0]);
    PlaceFlag(Flag::kAngielski, true, layout::kFlagLefts[1]);
    SetFlagDown(flags_[0], true);

    const std::u16string languageCaption(kLanguageCaption);
    // A new group after the flags, so that the arrows stay among them.
    lblJezyk_ = CreateControl(pnlIntro_, L"STATIC", WS_GROUP | SS_LEFTNOWORDWRAP | SS_NOPREFIX, kLanguageLabelId,
                              ScaledRect(layout::kLanguageLabel), Wide(languageCaption));
    lblMain_ = CreateControl(pnlIntro_, L"STATIC", SS_LEFT | SS_NOPREFIX, kMainLabelId, ScaledRect(layout::kMainLabel));
    lblWersjaSpecjalna_ = CreateControl(pnlIntro_, L"STATIC", SS_LEFTNOWORDWRAP | SS_NOPREFIX, kSpecialVersionLabelId,
                                        ScaledRect(layout::kSpecialVersionLabel));
    ShowWindow(lblWersjaSpecjalna_, SW_HIDE);  // until it has a text

    // Design fonts until the first ApplyLanguage.
    for (MainFont font : kMainFonts)
        ApplyFont(font, kPolish);
    SendMessageW(window_, DM_SETDEFID, kUpdateButtonId, 0);
}

void TfrmMainPatcher::Show() {
    RunHandler([this] { patcher_.FormShow(localisation::DetectSystemLanguage()); });
    RECT rect;
    GetWindowRect(window_, &rect);
    const int width = rect.right - rect.left;
    const int height = rect.bottom - rect.top;
    SetWindowPos(window_, nullptr, (GetSystemMetrics(SM_CXSCREEN) - width) / 2,
                 (GetSystemMetrics(SM_CYSCREEN) - height) / 2, 0, 0, SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
    ShowWindow(window_, SW_SHOW);
    UpdateWindow(window_);
    SendMessageW(window_, WM_NEXTDLGCTL, reinterpret_cast<WPARAM>(btnUpdate_), TRUE);
}

template <class Handler>
void TfrmMainPatcher::RunHandler(Handler handler) {
    {
        const HandlerScope running(busy_);
        try {
            handler();
        } catch (...) {
            // Nothing may unwind through the window procedure; the scope still counts the handler
            // as ended, so the window can close.
        }
    }
    if (busy_ == 0 && closePending_) {
        closePending_ = false;
        DestroyWindow(window_);
    }
}

std::u16string TfrmMainPatcher::MainText() const {
    return Caption(lblMain_);
}

void TfrmMainPatcher::SetMainText(std::u16string_view text) {
    SetCaption(lblMain_, text);
    if (!finishAccessible_.description.empty()) finishAccessible_.description = text;
}

void TfrmMainPatcher::SetUpdateEnabled(bool enabled) {
    EnableWindow(btnUpdate_, enabled);
}

void TfrmMainPatcher::SetFinishEnabled(bool enabled) {
    EnableWindow(btnZamknij_, enabled);
}

void TfrmMainPatcher::FocusFinish() {
    // The verdict is in lblMain, which a screen reader does not read when the focus moves: the
    // finish button, which takes the focus, carries it as its description.
    finishAccessible_.description = MainText();
    NotifyWinEvent(EVENT_OBJECT_DESCRIPTIONCHANGE, btnZamknij_, OBJID_CLIENT, CHILDID_SELF);
    SendMessageW(window_, WM_NEXTDLGCTL, reinterpret_cast<WPARAM>(btnZamknij_), TRUE);
}

void TfrmMainPatcher::Pump() {
    PumpPendingMessages();
}

std::int32_t TfrmMainPatcher::Ask(std::u16string_view message, std::uint8_t kind) {
    return question_ ? question_->Ask(window_, message, kind) : kResultYes;
}

void TfrmMainPatcher::SetProgressTimer(bool enabled) {
    progressTimerOn_ = enabled;
    if (enabled) {
        SetTimer(window_, kProgressTimerId, layout::kTimerIntervalMs, nullptr);
    } else {
        KillTimer(window_, kProgressTimerId);
    }
}

std::optional<std::u16string> TfrmMainPatcher::BrowseForProgram() {
    // dlgOtworz: one filter entry, resizable; an empty title leaves the system's own.
    static constexpr wchar_t kFilter[] = L"Pliki programów\0*.exe\0";
    std::vector<wchar_t> fileName(32768, L'\0');
    OPENFILENAMEW ofn{};
    ofn.lStructSize = sizeof(ofn);
    ofn.hwndOwner = window_;
    ofn.lpstrFilter = kFilter;
    ofn.nFilterIndex = 1;
    ofn.lpstrFile = fileName.data();
    ofn.nMaxFile = static_cast<DWORD>(fileName.size());
    ofn.lpstrTitle = openDialogTitle_.empty() ? nullptr : Wide(openDialogTitle_);
    ofn.Flags = OFN_EXPLORER | OFN_ENABLESIZING;
    // Loaded now, not imported: comdlg32 imports comctl32 (see base/win32/dll_search.h).
    const auto getOpenFileName =
        base::win32::SystemFunction<decltype(&GetOpenFileNameW)>(L"comdlg32.dll", "GetOpenFileNameW");
    if (getOpenFileName == nullptr || !getOpenFileName(&ofn)) return std::nullopt;
    return std::u16string(reinterpret_cast<const char16_t*>(fileName.data()));
}

void TfrmMainPatcher::SetText(MainCaption control, std::u16string_view text) {
    switch (control) {
        case MainCaption::kCaption:
            SetCaption(window_, text);
            break;
        case MainCaption::kTitle:
            SetCaption(lblTytul_, text);
            break;
        case MainCaption::kVersion:
            SetCaption(lblKrok_, text);
            AutoSizeLabel(lblKrok_);
            break;
        case MainCaption::kSpecialVersion:
            SetCaption(lblWersjaSpecjalna_, text);
            AutoSizeLabel(lblWersjaSpecjalna_);
            // Empty, it would only be an empty stop in a screen reader's walk through the window.
            ShowWindow(lblWersjaSpecjalna_, text.empty() ? SW_HIDE : SW_SHOWNA);
            break;
        case MainCaption::kUpdateButton:
            // The update button takes its first letter as access key, the finish button the first
            // one that differs.
            SetCaption(btnUpdate_, WithAccessKey(text, 0));
            break;
        case MainCaption::kFinishButton:
            SetCaption(btnZamknij_, WithAccessKey(text, AccessKeyOf(Caption(btnUpdate_))));
            break;
        case MainCaption::kOpenDialogTitle:
            openDialogTitle_ = text;
            break;
    }
}

void TfrmMainPatcher::PlaceFlag(Flag flag, bool offered, int designLeft) {
    HWND button = flags_[Index(flag)];
    flagDesignLefts_[Index(flag)] = designLeft;
    EnableWindow(button, offered);
    ShowWindow(button, offered ? SW_SHOWNA : SW_HIDE);
    PlaceLanguageRow();
    UpdateFlagTabStop();
}

void TfrmMainPatcher::PlaceLanguageRow() {
    RECT label{};
    if (lblJezyk_) GetWindowRect(lblJezyk_, &label);
    for (Flag flag : kFlags) {
        const int left = layout::FlagLeft(flagDesignLefts_[Index(flag)], label.right - label.left, ScreenDpi());
        SetWindowPos(flags_[Index(flag)], nullptr, left, Scaled(layout::kFlagTop), 0, 0,
                     SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
    }
}

void TfrmMainPatcher::UpdateFlagTabStop() {
    FlagStates pressed{};
    std::array<bool, kFlagCount> offered{};
    for (Flag flag : kFlags) {
        pressed[Index(flag)] = FlagPressed(flag);
        offered[Index(flag)] = IsWindowEnabled(flags_[Index(flag)]) != FALSE;
    }
    const std::optional<Flag> stop = TabStopFlag(pressed, offered);
    for (Flag flag : kFlags)
        SetStyleBit(flags_[Index(flag)], WS_TABSTOP, stop == flag);
}

void TfrmMainPatcher::SetFlagPressed(Flag flag, bool pressed) {
    SetFlagDown(flags_[Index(flag)], pressed);
    UpdateFlagTabStop();
}

bool TfrmMainPatcher::FlagPressed(Flag flag) const {
    return IsFlagDown(flags_[Index(flag)]);
}

void TfrmMainPatcher::ApplyFont(MainFont font, Language language) {
    // Design heights by MainFont; the title's alone is bold.
    static constexpr std::array<int, kMainFonts.size()> kHeights{layout::kWindowFontHeight, layout::kTitleFontHeight,
                                                                 layout::kTitleFontHeight, layout::kWindowFontHeight,
                                                                 layout::kLanguageFontHeight};
    const auto i = static_cast<std::size_t>(font);
    fonts_[i] = MakeInterfaceFont(kHeights[i], font == MainFont::kTitle, language);
    const HWND label = std::array{lblWersjaSpecjalna_, lblTytul_, lblKrok_, lblMain_, lblJezyk_}[i];
    if (font == MainFont::kWindow) {
        // Controls without a font of their own use the window's.
        for (HWND control : {window_, btnUpdate_, btnZamknij_})
            SetWindowFont(control, fonts_[i].get());
    }
    SetWindowFont(label, fonts_[i].get());
    // The single-line labels take their text's width in the new font.
    if (font != MainFont::kTitle && font != MainFont::kMain) AutoSizeLabel(label);
    if (font == MainFont::kLanguage) PlaceLanguageRow();
}

void TfrmMainPatcher::SetQuestionLanguage(Language language) {
    if (question_) question_->SetLanguage(language);
}

void TfrmMainPatcher::Close() {
    PostMessageW(window_, WM_CLOSE, 0, 0);
}

void TfrmMainPatcher::OnCommand(int id, WORD code) {
    if (id == kUpdateButtonId) {
        RunHandler([this] { patcher_.btnUpdateClick(); });
    } else if (id == kFinishButtonId || (id == IDCANCEL && IsWindowEnabled(btnZamknij_))) {
        // Esc is the finish button's, and like it does nothing while a run has it disabled.
        RunHandler([this] { patcher_.btnZamknijClick(); });
    } else if (id >= kFirstFlagId && id < kFirstFlagId + static_cast<int>(kFlagCount)) {
        // The group: the clicked flag goes down and the others up, or it comes up on its own;
        // Enter never releases it.
        FlagStates pressed{};
        for (Flag flag : kFlags)
            pressed[Index(flag)] = FlagPressed(flag);
        const FlagStates before = pressed;
        pressed = PressFlagByKey(pressed, kFlags[static_cast<std::size_t>(id - kFirstFlagId)],
                                 code == kFlagEnterNotification ? FlagKey::kEnter : FlagKey::kSpace);
        if (pressed == before) return;
        for (Flag flag : kFlags)
            SetFlagPressed(flag, pressed[Index(flag)]);
        RunHandler([this] { patcher_.btnPolskiClick(); });
    }
}

std::optional<LRESULT> TfrmMainPatcher::HandleMessage(UINT message, WPARAM wParam, LPARAM) {
    if (message == previewMessage_ && previewMessage_ != 0) {
        if (busy_ == 0 && question_ && IsWindowEnabled(window_)) {
            const std::uint8_t kind = static_cast<std::uint8_t>(wParam);
            const Language language = patcher_.State().uiLanguage;
            RunHandler([&] {
                // Kind 0 shows a plain message (folder not found), the others a question with choices.
                Ask(texts_.Text(language, kind == 0 ? kTextFolderNotFound : kTextSampleQuestion, false), kind);
            });
        }
        return 0;
    }
    switch (message) {
        case WM_COMMAND:
            if (HIWORD(wParam) == BN_CLICKED || HIWORD(wParam) == kFlagEnterNotification)
                OnCommand(LOWORD(wParam), HIWORD(wParam));
            return 0;
        case WM_TIMER:
            // A tick still queued after the step switched the timer off must not write the
            // percentage over the step's outcome.
            if (wParam == kProgressTimerId && progressTimerOn_) patcher_.TimerPostepProcTimer();
            return 0;
        case WM_CLOSE:
            if (patcher_.FormCloseQuery()) {
                // A close during a handler (a run's pump) takes effect once the handler is done.
                if (busy_ > 0) {
                    closePending_ = true;
                } else {
                    DestroyWindow(window_);
                }
            }
            return 0;
        case WM_DESTROY:
            KillTimer(window_, kProgressTimerId);
            if (endsProgram_) PostQuitMessage(0);
            return std::nullopt;  // the dialog manager releases what it holds
        default:
            return std::nullopt;
    }
}

}  // namespace updater::app::win32
