#include "app/win32/main_window.h"

#include <gtest/gtest.h>

#include <oleacc.h>

#include <stdexcept>

#include "app/win32/control_ids.h"
#include "app/win32/message_pump.h"
#include "window_test_support.h"

namespace updater::app {
namespace {

using namespace win32;
using test::ControlById;
using test::PumpFor;
using test::TextOf;

class MainWindowWin32Test : public ::testing::Test {
  protected:
    void SetUp() override {
        ASSERT_EQ(ScreenDpi(), 96) << "the design sizes below are the 96-DPI ones";
        windows.main->Show();
        PumpFor(0);
    }
    HWND Main() const { return windows.main->Handle(); }
    HWND Control(int id) const { return ControlById(Main(), id); }
    HWND Flag(app::Flag flag) const { return Control(kFirstFlagId + static_cast<int>(Index(flag))); }
    void Click(HWND control) {
        SendMessageW(control, BM_CLICK, 0, 0);
        PumpFor(0);
    }
    bool Down(app::Flag flag) const { return SendMessageW(Flag(flag), BM_GETCHECK, 0, 0) == BST_CHECKED; }

    test::ProgramWindows windows;
};

TEST_F(MainWindowWin32Test, RegistersItsClassesAndIsAFixedWindowWithoutTitleBarButtons) {
    EXPECT_EQ(FindWindowW(L"TfrmMainPatcher", nullptr), Main());
    wchar_t name[64] = {};
    GetClassNameW(windows.question->Handle(), name, 64);
    EXPECT_STREQ(name, L"TfrmPytanie");
    EXPECT_EQ(GetWindow(windows.question->Handle(), GW_OWNER), Main());

    const LONG style = GetWindowLongW(Main(), GWL_STYLE);
    EXPECT_EQ(style & WS_CAPTION, WS_CAPTION);
    EXPECT_EQ(style & (WS_SYSMENU | WS_THICKFRAME | WS_MINIMIZEBOX | WS_MAXIMIZEBOX), 0);

    RECT client;
    GetClientRect(Main(), &client);
    EXPECT_EQ(client.right, 505);
    EXPECT_EQ(client.bottom, 355);
    RECT outer;
    GetWindowRect(Main(), &outer);
    EXPECT_EQ(outer.left, (GetSystemMetrics(SM_CXSCREEN) - (outer.right - outer.left)) / 2);
    EXPECT_EQ(outer.top, (GetSystemMetrics(SM_CYSCREEN) - (outer.bottom - outer.top)) / 2);
}

TEST_F(MainWindowWin32Test, ControlsStandWhereTheyWereDesigned) {
    auto expectAt = [](HWND control, int left, int top, int width, int height) {
        ASSERT_NE(control, nullptr);
        const RECT r = test::RectInParent(control);
        EXPECT_EQ(r.left, left);
        EXPECT_EQ(r.top, top);
        if (width) {
            EXPECT_EQ(r.right - r.left, width);
        }
        if (height) {
            EXPECT_EQ(r.bottom - r.top, height);
        }
    };
    expectAt(GetParent(Control(kTitleLabelId)), 0, 0, 505, 53);
    expectAt(GetParent(Control(kUpdateButtonId)), 0, 318, 505, 37);
    expectAt(GetParent(Control(kMainLabelId)), 0, 53, 505, 265);
    expectAt(Control(kUpdateButtonId), 5, 10, 100, 25);
    expectAt(Control(kFinishButtonId), 403, 10, 100, 25);
    expectAt(Control(kTitleLabelId), 8, 8, 489, 15);
    expectAt(Control(kVersionLabelId), 20, 28, 0, 0);
    expectAt(Control(kMainLabelId), 12, 12, 481, 217);
    expectAt(Control(kLanguageLabelId), 12, 240, 0, 0);
    expectAt(Flag(Flag::kPolski), 200, 236, 38, 24);
    expectAt(Flag(Flag::kAngielski), 238, 236, 38, 24);

    // This build offers the Polish and the English flag only.
    EXPECT_TRUE(IsWindowVisible(Flag(Flag::kPolski)));
    EXPECT_TRUE(IsWindowVisible(Flag(Flag::kAngielski)));
    for (app::Flag hidden : {Flag::kNiemiecki, Flag::kFrancuski, Flag::kWloski}) {
        EXPECT_FALSE(IsWindowVisible(Flag(hidden)));
        EXPECT_FALSE(IsWindowEnabled(Flag(hidden)));
    }
    EXPECT_EQ(TextOf(Control(kLanguageLabelId)), u"Język / Language / Sprache / Langue:");
}

// Which caption each language gives is decided natively (main_patcher_test); here: the captions
// reach their controls, with access keys, and the question dialog follows.
TEST_F(MainWindowWin32Test, OpensInPolishAndTheFlagsSwitchEveryCaption) {
    EXPECT_TRUE(Down(Flag::kPolski));
    EXPECT_FALSE(Down(Flag::kAngielski));
    EXPECT_EQ(TextOf(Main()), u"Lexivo Angielskiego 2.5 - Uaktualnienie");
    EXPECT_EQ(TextOf(Control(kTitleLabelId)), u"Lexivo Angielskiego 2.5 - Uaktualnienie");
    EXPECT_EQ(TextOf(Control(kVersionLabelId)), u"Wersja 2.5.1");
    EXPECT_EQ(TextOf(Control(kUpdateButtonId)), u"&Uaktualnij");
    EXPECT_EQ(TextOf(Control(kFinishButtonId)), u"&Zakończ");
    EXPECT_EQ(TextOf(windows.question->Handle()), u"Uwaga");
    const std::u16string polishIntroduction = TextOf(Control(kMainLabelId));
    // Composed in UTF-16, the Polish letters survive whatever code page the system uses.
    EXPECT_NE(polishIntroduction.find(u"Jeżeli Quillex jest uruchomiony, należy go zamknąć"), std::u16string::npos)
        << "system code page " << GetACP();

    Click(Flag(Flag::kAngielski));
    EXPECT_FALSE(Down(Flag::kPolski));
    EXPECT_TRUE(Down(Flag::kAngielski));
    EXPECT_EQ(TextOf(Main()), u"Lexivo Angielskiego 2.5 - Update");
    EXPECT_EQ(TextOf(Control(kFinishButtonId)), u"&Finish");
    EXPECT_EQ(TextOf(Control(kMainLabelId)).rfind(u"This program will update", 0), 0u);
    EXPECT_EQ(TextOf(windows.question->Handle()), u"Attention");
    EXPECT_EQ(TextOf(ControlById(windows.question->Handle(), kYesButtonId)), u"Yes");

    Click(Flag(Flag::kPolski));
    EXPECT_EQ(TextOf(Control(kMainLabelId)), polishIntroduction);
}

// The flag group's rule is native (FlagChoice); here: a click on the pressed flag reaches it.
TEST_F(MainWindowWin32Test, ClickingThePressedFlagReleasesIt) {
    const std::u16string before = TextOf(Control(kMainLabelId));
    Click(Flag(Flag::kPolski));
    EXPECT_FALSE(Down(Flag::kPolski));
    EXPECT_FALSE(Down(Flag::kAngielski));
    EXPECT_EQ(TextOf(Control(kMainLabelId)), before);

    Click(Flag(Flag::kPolski));
    EXPECT_TRUE(Down(Flag::kPolski));
}

TEST_F(MainWindowWin32Test, FontsFollowTheLanguageExceptTitleAndLanguageRow) {
    auto fontOf = [](HWND control) {
        LOGFONTW font{};
        GetObjectW(reinterpret_cast<HFONT>(SendMessageW(control, WM_GETFONT, 0, 0)), sizeof(font), &font);
        return font;
    };
    const LOGFONTW title = fontOf(Control(kTitleLabelId));
    EXPECT_STREQ(title.lfFaceName, L"Arial");
    EXPECT_EQ(title.lfHeight, -12);
    EXPECT_EQ(title.lfWeight, FW_BOLD);
    EXPECT_EQ(fontOf(Control(kVersionLabelId)).lfHeight, -12);
    EXPECT_EQ(fontOf(Control(kMainLabelId)).lfHeight, -11);
    EXPECT_EQ(fontOf(Control(kLanguageLabelId)).lfHeight, -11);
    EXPECT_EQ(fontOf(Control(kUpdateButtonId)).lfHeight, -11);

    windows.main->Patcher().ApplyLanguage(kFrench);
    EXPECT_EQ(fontOf(Control(kMainLabelId)).lfCharSet, ANSI_CHARSET);
    EXPECT_EQ(fontOf(Control(kVersionLabelId)).lfCharSet, ANSI_CHARSET);
    EXPECT_EQ(fontOf(Control(kUpdateButtonId)).lfCharSet, ANSI_CHARSET);
    EXPECT_EQ(fontOf(Control(kTitleLabelId)).lfCharSet, EASTEUROPE_CHARSET);
    EXPECT_EQ(fontOf(Control(kLanguageLabelId)).lfCharSet, EASTEUROPE_CHARSET);
    EXPECT_EQ(fontOf(ControlById(windows.question->Handle(), kYesButtonId)).lfCharSet, ANSI_CHARSET);
    // French has no flag in this build: none shows pressed.
    EXPECT_FALSE(Down(Flag::kPolski));
    EXPECT_FALSE(Down(Flag::kAngielski));
}

TEST_F(MainWindowWin32Test, TheKeyboardAloneChoosesTheLanguageAndRunsTheUpdate) {
    const int& runs = windows.engine.lookups;
    auto press = [](UINT key) {
        PostMessageW(GetFocus(), WM_KEYDOWN, key, 0);
        PostMessageW(GetFocus(), WM_KEYUP, key, 0xC0000001);
        PumpFor(0);
    };
    ASSERT_EQ(GetFocus(), Control(kUpdateButtonId));
    press(VK_TAB);
    EXPECT_EQ(GetFocus(), Control(kFinishButtonId));
    // The flags are one stop, the pressed one; the arrows move within them.
    press(VK_TAB);
    EXPECT_EQ(GetFocus(), Flag(Flag::kPolski));
    press(VK_RIGHT);
    EXPECT_EQ(GetFocus(), Flag(Flag::kAngielski));
    EXPECT_TRUE(Down(Flag::kPolski));
    press(VK_SPACE);
    EXPECT_TRUE(Down(Flag::kAngielski));
    EXPECT_EQ(TextOf(Main()), u"Lexivo Angielskiego 2.5 - Update");
    // Enter on a flag is not the default button's, nor a bare access key's.
    press(VK_RETURN);
    PostMessageW(GetFocus(), WM_CHAR, L'u', 0);
    PumpFor(0);
    EXPECT_EQ(runs, 0);
    EXPECT_TRUE(Down(Flag::kAngielski));
    press(VK_TAB);
    EXPECT_EQ(GetFocus(), Control(kUpdateButtonId));
    press(VK_RETURN);
    EXPECT_EQ(runs, 1);
    EXPECT_EQ(GetFocus(), Control(kFinishButtonId)) << "the end of a run";

    // The group's stop has moved to the flag now pressed.
    press(VK_TAB);
    EXPECT_EQ(GetFocus(), Flag(Flag::kAngielski));
    // Esc is Finish's: the window closes.
    press(VK_ESCAPE);
    PumpFor(100);
    EXPECT_FALSE(IsWindow(Main()));
}

TEST_F(MainWindowWin32Test, ScreenReadersGetPressableFlagsAndADialog) {
    ASSERT_TRUE(SUCCEEDED(CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED)));
    const auto fromWindow = reinterpret_cast<decltype(&AccessibleObjectFromWindow)>(
        reinterpret_cast<void (*)()>(GetProcAddress(LoadLibraryW(L"oleacc.dll"), "AccessibleObjectFromWindow")));
    ASSERT_NE(fromWindow, nullptr);
    auto object = [&](HWND window) {
        IAccessible* accessible = nullptr;
        EXPECT_EQ(fromWindow(window, static_cast<DWORD>(OBJID_CLIENT), IID_IAccessible,
                             reinterpret_cast<void**>(&accessible)),
                  S_OK);
        return accessible;
    };
    VARIANT self{};
    self.vt = VT_I4;
    self.lVal = CHILDID_SELF;
    auto role = [&](IAccessible* a) {
        VARIANT v{};
        a->get_accRole(self, &v);
        return v.lVal;
    };
    auto pressed = [&](IAccessible* a) {
        VARIANT v{};
        a->get_accState(self, &v);
        return (v.lVal & STATE_SYSTEM_PRESSED) != 0;
    };
    IAccessible* polish = object(Flag(Flag::kPolski));
    IAccessible* english = object(Flag(Flag::kAngielski));
    ASSERT_TRUE(polish && english);
    EXPECT_EQ(role(polish), ROLE_SYSTEM_PUSHBUTTON);
    BSTR name = nullptr;
    ASSERT_EQ(english->get_accName(self, &name), S_OK);
    EXPECT_STREQ(name, L"English");  // its own text, not the language row's label
    SysFreeString(name);
    EXPECT_TRUE(pressed(polish));
    EXPECT_FALSE(pressed(english));
    EXPECT_EQ(english->accDoDefaultAction(self), S_OK);
    PumpFor(0);
    EXPECT_FALSE(pressed(polish));
    EXPECT_TRUE(pressed(english));
    EXPECT_EQ(TextOf(Main()), u"Lexivo Angielskiego 2.5 - Update");
    polish->Release();
    english->Release();

    IAccessible* dialog = object(windows.question->Handle());
    ASSERT_TRUE(dialog);
    EXPECT_EQ(role(dialog), ROLE_SYSTEM_DIALOG);
    dialog->Release();

    // After a run, the finish button that takes the focus carries the verdict.
    Click(Control(kUpdateButtonId));
    const std::u16string verdict = TextOf(Control(kMainLabelId));
    EXPECT_EQ(verdict, u"The installed version doesn\u2032t need updating.");
    IAccessible* finish = object(Control(kFinishButtonId));
    ASSERT_TRUE(finish);
    BSTR description = nullptr;
    ASSERT_EQ(finish->get_accDescription(self, &description), S_OK);
    EXPECT_STREQ(description, reinterpret_cast<const wchar_t*>(verdict.c_str()));
    SysFreeString(description);
    finish->Release();
    CoUninitialize();
}

TEST_F(MainWindowWin32Test, ACloseDuringARunWaitsForTheRunToEnd) {
    bool aliveAfterPump = false;
    windows.engine.duringLookup = [&] {
        PostMessageW(Main(), WM_CLOSE, 0, 0);
        PumpPendingMessages();
        aliveAfterPump = IsWindow(Main()) && IsWindowVisible(Main());
    };
    Click(Control(kUpdateButtonId));
    EXPECT_TRUE(aliveAfterPump);
    EXPECT_FALSE(IsWindow(Main()));
}

TEST_F(MainWindowWin32Test, AnEngineThatThrowsLeavesTheWindowAbleToClose) {
    windows.engine.duringLookup = [] { throw std::runtime_error("broke"); };
    std::u16string told;
    test::WhenVisible(kQuestionDialogClass, [&](HWND dialog) {
        told = TextOf(ControlById(dialog, kQuestionLabelId));
        PostMessageW(ControlById(dialog, kYesButtonId), BM_CLICK, 0, 0);
    });
    Click(Control(kUpdateButtonId));
    EXPECT_EQ(told, u"Błąd - nie znaleziono katalogu programu.");
    ASSERT_TRUE(IsWindow(Main()));
    SendMessageW(Main(), WM_CLOSE, 0, 0);
    EXPECT_FALSE(IsWindow(Main()));
}

TEST_F(MainWindowWin32Test, TheProgressTimerShowsThePercentageOnceASecond) {
    MainWindowState& state = windows.main->Patcher().State();
    state.progressBaseText = u"Trwa aktualizacja pliku \"slownik.dat\" ... ";
    state.progressPercent = 42;
    windows.main->SetProgressTimer(true);
    const DWORD start = GetTickCount();
    while (TextOf(Control(kMainLabelId)) != u"Trwa aktualizacja pliku \"slownik.dat\" ... 42%" &&
           GetTickCount() - start < 5000) {
        PumpFor(50);
    }
    EXPECT_EQ(TextOf(Control(kMainLabelId)), u"Trwa aktualizacja pliku \"slownik.dat\" ... 42%");
    EXPECT_GE(GetTickCount() - start, 900u);  // not before the first interval

    windows.main->SetProgressTimer(false);
    windows.main->SetMainText(u"stopped");
    PumpFor(1200);
    EXPECT_EQ(TextOf(Control(kMainLabelId)), u"stopped");
}

TEST_F(MainWindowWin32Test, ARunStartsFromTheIntroductionAgain) {
    windows.main->SetMainText(u"something else");
    std::u16string duringTheRun;
    windows.engine.duringLookup = [&] { duringTheRun = TextOf(Control(kMainLabelId)); };
    Click(Control(kUpdateButtonId));
    EXPECT_EQ(duringTheRun.rfind(u"Ten program uaktualni", 0), 0u);
}

}  // namespace
}  // namespace updater::app
