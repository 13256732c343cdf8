#include "app/win32/message_box.h"

#include <gtest/gtest.h>

#include "window_test_support.h"

namespace updater::app {
namespace {

// A named CALLBACK function: on 32-bit Windows a lambda does not convert to the stdcall pointer.
BOOL CALLBACK FirstStaticText(HWND child, LPARAM param) {
    wchar_t name[16] = {};
    GetClassNameW(child, name, 16);
    auto* found = reinterpret_cast<std::u16string*>(param);
    if (lstrcmpiW(name, L"Static") == 0 && found->empty()) *found = test::TextOf(child);
    return TRUE;
}

TEST(MessageBoxSinkWin32, ShowsTheTextCaptionedWithTheApplicationTitle) {
    std::u16string caption;
    std::u16string text;
    test::WhenVisible(L"#32770", [&](HWND box) {
        caption = test::TextOf(box);
        EnumChildWindows(box, &FirstStaticText, reinterpret_cast<LPARAM>(&text));
        PostMessageW(box, WM_COMMAND, IDOK, 0);
    });
    win32::MessageBoxSink sink;
    AppConfiguration config;
    config.SetAppIdentity(15, 2, 5, 1, sink);  // an unknown product: the one message outside the catalogue
    EXPECT_EQ(caption, u"Uaktualnienie - Update");
    EXPECT_EQ(text, u"Unknown AppId !");
    EXPECT_EQ(config.productLanguage, kPolish);
}

}  // namespace
}  // namespace updater::app
