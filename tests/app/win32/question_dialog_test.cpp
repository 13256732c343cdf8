#include "app/win32/question_dialog.h"

#include <gtest/gtest.h>

#include "app/question_layout.h"
#include "app/win32/control_ids.h"
#include "window_test_support.h"

namespace updater::app {
namespace {

using namespace win32;
using test::ControlById;
using test::RectInParent;
using test::TextOf;
using test::WhenVisible;

// Every message measures as the same label, so the dialog's geometry follows from that size alone.
class FixedMeasure : public TextMeasure {
  public:
    explicit FixedMeasure(PixelSize size) : size_(size) {}
    PixelSize Measure(std::u16string_view, std::optional<int>) const override { return size_; }

  private:
    PixelSize size_;
};

// What the dialog looked like while it waited.
struct Seen {
    RECT client{};
    RECT outer{};
    RECT label{};
    RECT yes{}, no{}, cancel{};
    bool noVisible = false, cancelVisible = false;
    std::u16string yesText, noText, message;
    HWND owner = nullptr;
    bool ownerEnabled = true;
    HWND focus = nullptr;
};

class QuestionDialogWin32Test : public ::testing::Test {
  protected:
    void SetUp() override {
        ASSERT_EQ(ScreenDpi(), 96);
        windows.main->Show();
        test::PumpFor(0);
    }

    // Asks, records the dialog as shown, then does the answer (a click or a key) inside its loop.
    std::int32_t AskAndAnswer(std::u16string_view message, std::uint8_t kind, std::function<void(HWND)> answer) {
        WhenVisible(kQuestionDialogClass, [this, answer](HWND dialog) {
            GetClientRect(dialog, &seen.client);
            GetWindowRect(dialog, &seen.outer);
            seen.label = RectInParent(ControlById(dialog, kQuestionLabelId));
            seen.yes = RectInParent(ControlById(dialog, kYesButtonId));
            seen.no = RectInParent(ControlById(dialog, kNoButtonId));
            seen.cancel = RectInParent(ControlById(dialog, kCancelButtonId));
            seen.noVisible = IsWindowVisible(ControlById(dialog, kNoButtonId));
            seen.cancelVisible = IsWindowVisible(ControlById(dialog, kCancelButtonId));
            seen.yesText = TextOf(ControlById(dialog, kYesButtonId));
            seen.noText = TextOf(ControlById(dialog, kNoButtonId));
            seen.message = TextOf(ControlById(dialog, kQuestionLabelId));
            seen.owner = GetWindow(dialog, GW_OWNER);
            seen.ownerEnabled = IsWindowEnabled(windows.main->Handle());
            seen.focus = GetFocus();
            answer(dialog);
        });
        return windows.question->Ask(windows.main->Handle(), message, kind);
    }
    static std::function<void(HWND)> Press(int id) {
        return [id](HWND dialog) { PostMessageW(ControlById(dialog, id), BM_CLICK, 0, 0); };
    }
    static std::function<void(HWND)> Key(WPARAM key, std::function<void(HWND)> then = nullptr) {
        return [key, then](HWND) {
            PostMessageW(GetFocus(), WM_KEYDOWN, key, 0);
            if (then) WhenVisible(kQuestionDialogClass, then);
        };
    }

    test::ProgramWindows windows;
    Seen seen;
};

// The geometry is decided by PlanAsk (question_layout_test.cpp); here: the plan reaches the dialog
// and its controls, for one button and for three.
TEST_F(QuestionDialogWin32Test, TheDialogTakesItsPlannedGeometry) {
    for (const std::uint8_t kind : {std::uint8_t{0}, std::uint8_t{3}}) {
        const PixelSize label = kind == 0 ? PixelSize{150, 13} : PixelSize{60, 13};
        const FixedMeasure measure(label);
        windows.question->SetMeasureForTesting(&measure);
        EXPECT_EQ(AskAndAnswer(u"one line", kind, Press(kYesButtonId)), kResultYes);
        const AskMetrics metrics = AskMetrics::AtDpi(96);
        const AskPlan plan = PlanAsk(label, kind, metrics);
        SCOPED_TRACE(int{kind});
        EXPECT_EQ(seen.client.right, plan.client.width);
        EXPECT_EQ(seen.client.bottom, plan.client.height);
        EXPECT_EQ(seen.label.left, metrics.labelLeft);
        EXPECT_EQ(seen.label.top, metrics.labelTop);
        EXPECT_EQ(seen.label.bottom - seen.label.top, plan.labelHeight);
        EXPECT_EQ(seen.label.right - seen.label.left, plan.labelWidth);
        EXPECT_EQ(seen.yes.left, plan.buttonLefts[0]);
        EXPECT_EQ(seen.yes.top, plan.buttonTop);
        EXPECT_EQ(seen.yes.bottom - seen.yes.top, metrics.buttonHeight);
        EXPECT_EQ(seen.noVisible, plan.showNo);
        EXPECT_EQ(seen.cancelVisible, plan.showCancel);
        if (plan.showCancel) {
            EXPECT_EQ(seen.no.left, plan.buttonLefts[1]);
            EXPECT_EQ(seen.cancel.left, plan.buttonLefts[2]);
        }
        EXPECT_EQ(seen.message, u"one line");
    }
}

// Centred over the owner's outer rectangle and modal over it, focus on the first button;
// afterwards the owner works again.
TEST_F(QuestionDialogWin32Test, ModalAndCentredOverItsOwner) {
    EXPECT_EQ(AskAndAnswer(u"one line", 0, Press(kYesButtonId)), kResultYes);
    RECT owner;
    GetWindowRect(windows.main->Handle(), &owner);
    const int width = seen.outer.right - seen.outer.left;
    const int height = seen.outer.bottom - seen.outer.top;
    EXPECT_EQ(seen.outer.left, owner.left + (owner.right - owner.left - width) / 2);
    EXPECT_EQ(seen.outer.top, owner.top + (owner.bottom - owner.top - height) / 2);

    EXPECT_EQ(seen.owner, windows.main->Handle());
    EXPECT_FALSE(seen.ownerEnabled);
    EXPECT_EQ(seen.focus, ControlById(windows.question->Handle(), kYesButtonId));
    EXPECT_TRUE(IsWindowEnabled(windows.main->Handle()));
    EXPECT_FALSE(IsWindowVisible(windows.question->Handle()));
}

TEST_F(QuestionDialogWin32Test, EnterAndEscapeFollowTheKind) {
    // Kind 0: Esc does nothing; Enter presses the focused OK.
    EXPECT_EQ(AskAndAnswer(u"Błąd - nie znaleziono katalogu programu.", 0, Key(VK_ESCAPE, Key(VK_RETURN))), kResultYes);
    // Kind 1: Esc answers no.
    EXPECT_EQ(AskAndAnswer(u"?", 1, Key(VK_ESCAPE)), kResultNo);
    EXPECT_EQ(seen.yesText, u"Tak");
    EXPECT_EQ(seen.noText, u"Nie");
    // Kind 2: "OK" and the cancel caption on the second button, which Esc presses.
    EXPECT_EQ(AskAndAnswer(u"?", 2, Key(VK_ESCAPE)), kResultNo);
    EXPECT_EQ(seen.yesText, u"OK");
    EXPECT_EQ(seen.noText, u"Anuluj");
    EXPECT_FALSE(seen.cancelVisible);
    // Kind 3: each button gives its own result.
    EXPECT_EQ(AskAndAnswer(u"?", 3, Press(kNoButtonId)), kResultNo);
    EXPECT_EQ(AskAndAnswer(u"?", 3, Press(kCancelButtonId)), kResultCancel);
    EXPECT_EQ(AskAndAnswer(u"?", 3, Key(VK_RETURN)), kResultYes);
}

TEST_F(QuestionDialogWin32Test, CaptionsComeBackAfterEachAskInTheCurrentLanguage) {
    EXPECT_EQ(AskAndAnswer(u"?", 2, Press(kYesButtonId)), kResultYes);
    EXPECT_EQ(AskAndAnswer(u"?", 1, Press(kYesButtonId)), kResultYes);
    EXPECT_EQ(seen.yesText, u"Tak");
    EXPECT_EQ(seen.noText, u"Nie");

    windows.main->Patcher().ApplyLanguage(kEnglish);
    EXPECT_EQ(AskAndAnswer(u"?", 0, Press(kYesButtonId)), kResultYes);
    EXPECT_EQ(AskAndAnswer(u"?", 1, Press(kYesButtonId)), kResultYes);
    EXPECT_EQ(seen.yesText, u"Yes");
    EXPECT_EQ(seen.noText, u"No");
    EXPECT_EQ(TextOf(windows.question->Handle()), u"Attention");
}

TEST_F(QuestionDialogWin32Test, ALongMessageWrapsWithin400PixelsAndGrowsTheDialog) {
    EXPECT_EQ(AskAndAnswer(u"short", 0, Press(kYesButtonId)), kResultYes);
    const int oneLine = seen.label.bottom - seen.label.top;
    const int oneLineClient = seen.client.bottom;

    std::u16string longText;
    for (int i = 0; i < 12; ++i)
        longText += u"Wystąpił błąd podczas otwierania pliku. ";
    EXPECT_EQ(AskAndAnswer(longText, 0, Press(kYesButtonId)), kResultYes);
    EXPECT_LE(seen.label.right - seen.label.left, 400);
    EXPECT_GT(seen.label.right - seen.label.left, 300);
    EXPECT_GE(seen.label.bottom - seen.label.top, 3 * oneLine);
    EXPECT_EQ(seen.client.bottom - oneLineClient, (seen.label.bottom - seen.label.top) - oneLine);
    EXPECT_EQ(seen.client.right, 32 + (seen.label.right - seen.label.left));
}

}  // namespace
}  // namespace updater::app
