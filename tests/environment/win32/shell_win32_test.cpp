// The shell routines and the shortcut step against the real shell: links are written as .lnk
// files and read back through the shell's own link object. Program groups are made in the user's
// Programs folder and removed again; a test refuses to run where one of them already exists.
#include <objidl.h>
#include <shlobj.h>
#include <shobjidl.h>
#include <windows.h>

#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <set>
#include <string>
#include <vector>

#include "base/file_system.h"
#include "base/win32/system_code_page.h"
#include "environment/registry.h"
#include "environment/shell.h"
#include "environment/shortcuts.h"
#include "environment/win32/com.h"
#include "test_support/temp_folder.h"

namespace updater::environment {
namespace {

namespace fs = std::filesystem;
using base::win32::WidenSystem;
using win32::ComPtr;

struct LinkInfo {
    std::string path;
    std::string workingDirectory;
    std::string description;
};

// Loads a link file through the shell; with resolve, the shell first finds the target again.
LinkInfo ReadLink(const std::string& linkFile, bool resolve = false) {
    LinkInfo info;
    ComPtr<IShellLinkA> link;
    EXPECT_EQ(CoCreateInstance(CLSID_ShellLink, nullptr, CLSCTX_INPROC_SERVER, IID_IShellLinkA, link.ReceiveVoid()),
              S_OK);
    ComPtr<IPersistFile> file;
    if (!link || FAILED(link->QueryInterface(IID_IPersistFile, file.ReceiveVoid()))) return info;
    EXPECT_EQ(file->Load(WidenSystem(linkFile).c_str(), STGM_READ), S_OK) << linkFile;
    if (resolve) {
        EXPECT_EQ(link->Resolve(nullptr, SLR_NO_UI | SLR_NOUPDATE), S_OK);
    }
    char buffer[MAX_PATH + 1] = {};
    if (SUCCEEDED(link->GetPath(buffer, MAX_PATH, nullptr, resolve ? 0 : SLGP_RAWPATH))) info.path = buffer;
    buffer[0] = '\0';
    if (SUCCEEDED(link->GetWorkingDirectory(buffer, MAX_PATH))) info.workingDirectory = buffer;
    buffer[0] = '\0';
    if (SUCCEEDED(link->GetDescription(buffer, MAX_PATH))) info.description = buffer;
    return info;
}

// A link's description through the shell's wide interface: the letters a user sees.
std::wstring WideDescription(const std::string& linkFile) {
    ComPtr<IShellLinkW> link;
    ComPtr<IPersistFile> file;
    if (FAILED(CoCreateInstance(CLSID_ShellLink, nullptr, CLSCTX_INPROC_SERVER, IID_IShellLinkW, link.ReceiveVoid())) ||
        FAILED(link->QueryInterface(IID_IPersistFile, file.ReceiveVoid())) ||
        FAILED(file->Load(WidenSystem(linkFile).c_str(), STGM_READ)))
        return L"(unreadable)";
    wchar_t buffer[MAX_PATH + 1] = {};
    if (FAILED(link->GetDescription(buffer, MAX_PATH))) return L"(no description)";
    return buffer;
}

std::string Join(std::string_view folder, std::string_view name) {
    return std::string(folder) + "\\" + std::string(name);
}

class ShellWin32Test : public testing::Test {
  protected:
    void SetUp() override { ASSERT_TRUE(com_.Ok()); }

    win32::ComApartment com_;
    test::TempFolder folder_;
};

TEST_F(ShellWin32Test, SpecialFolderEndsInASeparator) {
    char expected[MAX_PATH] = {};
    ASSERT_EQ(SHGetFolderPathA(nullptr, CSIDL_APPDATA, nullptr, SHGFP_TYPE_CURRENT, expected), S_OK);
    EXPECT_EQ(SystemShell().GetSpecialFolder(kCsidlAppData), std::string(expected) + "\\");
    EXPECT_EQ(SystemShell().GetSpecialFolder(0x7F), "") << "no such folder";
}

TEST_F(ShellWin32Test, ProgramsFolderIsExplorersRecord) {
    const std::string programs = GetProgramsFolder(SystemRegistry(), false);
    ASSERT_FALSE(programs.empty());
    EXPECT_TRUE(base::DirectoryExists(programs));
    char expected[MAX_PATH] = {};
    ASSERT_EQ(SHGetFolderPathA(nullptr, CSIDL_PROGRAMS, nullptr, SHGFP_TYPE_CURRENT, expected), S_OK);
    EXPECT_EQ(programs, expected);
}

TEST_F(ShellWin32Test, LinkHoldsTargetFolderAndDescriptionAndIsReplaced) {
    const std::string target = folder_.Write("Tools.exe", "MZ");
    const std::string other = folder_.Write("Other.chm", "ITSF");
    const std::string link = folder_.Path("Tools.lnk");
    Shell& shell = SystemShell();

    ASSERT_TRUE(shell.CreateShortcut(target, link, "Narz\352dzia"));
    LinkInfo info = ReadLink(link);
    EXPECT_EQ(info.path, target);
    EXPECT_EQ(info.workingDirectory, folder_.Root() + "\\");
    EXPECT_EQ(info.description, "Narz\352dzia");
    EXPECT_EQ(ReadLink(link, true).path, target) << "the link resolves to its target";

    ASSERT_TRUE(shell.CreateShortcut(other, link, ""));
    info = ReadLink(link);
    EXPECT_EQ(info.path, other);
    EXPECT_EQ(info.description, "");
    EXPECT_EQ(folder_.Listing(), "Other.chm\nTools.exe\nTools.lnk\n");
}

TEST_F(ShellWin32Test, AFailedSaveIsReported) {
    const std::string target = folder_.Write("Tools.exe", "MZ");
    EXPECT_FALSE(SystemShell().CreateShortcut(target, Join(folder_.Path("missing"), "Tools.lnk"), ""));
    EXPECT_FALSE(SystemShell().CreateShortcut(target, "", ""));
    EXPECT_FALSE(SystemShell().CreateShortcut(target, folder_.Path(std::string("a\0b.lnk", 7)), ""));
}

// The shortcut step on the real Start menu. The groups named after the products' titles are made
// in the user's Programs folder and removed again.
class ShortcutStepWin32Test : public ShellWin32Test {
  protected:
    void SetUp() override {
        ShellWin32Test::SetUp();
        programs_ = GetProgramsFolder(SystemRegistry(), false);
        ASSERT_TRUE(base::DirectoryExists(programs_));
        for (auto title : kTitles) {
            ASSERT_FALSE(fs::exists(Wide(Join(programs_, title))))
                << title << " already exists: run these tests in a throwaway prefix";
        }
        owned_ = true;
        install_ = folder_.Root() + "\\";
    }
    void TearDown() override {
        if (!owned_) return;
        for (auto title : kTitles) {
            std::error_code error;
            fs::remove_all(Wide(Join(programs_, title)), error);
            EXPECT_FALSE(error) << title;
        }
    }

    static fs::path Wide(const std::string& path) { return fs::path(WidenSystem(path)); }
    std::string Group(std::string_view title) {
        const std::string group = Join(programs_, title);
        EXPECT_TRUE(fs::create_directory(Wide(group)));
        return group;
    }
    void Run(std::int32_t kind, std::int32_t appId) {
        UpdateShortcuts(kind, appId, install_, SystemShell(), SystemRegistry());
    }

    static constexpr std::string_view kTitles[] = {"Lexivo Deutsch 2.5", "Lexivo Angielskiego 2.5",
                                                   "Lexivo Angielskiego 2", "Lexivo English 2.5"};
    std::string programs_;
    std::string install_;
    bool owned_ = false;
};

TEST_F(ShortcutStepWin32Test, HelpLinksForTheTranslatorHalfOnly) {
    const std::string group = Group("Lexivo Deutsch 2.5");
    const std::string trans = folder_.Write("Trans.chm", "ITSF");
    const std::string transD = folder_.Write("TransD.chm", "ITSF");
    folder_.Write("Sl_Zew.chm", "ITSF");  // without its German file
    const std::string oldTranslator = Join(group, "Hilfedatei des \334bersetzungsprogramms.lnk");
    const std::string oldDictionary = Join(group, "Hilfedatei des W\xF6rterbuchs.lnk");
    ASSERT_TRUE(SystemShell().CreateShortcut(trans, oldTranslator, ""));
    ASSERT_TRUE(SystemShell().CreateShortcut(trans, oldDictionary, ""));

    Run(6, 5);

    EXPECT_FALSE(base::FileExists(oldTranslator));
    EXPECT_TRUE(base::FileExists(oldDictionary));
    const LinkInfo polish = ReadLink(Join(group, "Hilfedatei des \334bersetzungsprogramms (Polnisch).lnk"));
    EXPECT_EQ(polish.path, trans);
    EXPECT_EQ(polish.workingDirectory, install_);
    EXPECT_EQ(polish.description, "");
    EXPECT_EQ(ReadLink(Join(group, "Hilfedatei des \334bersetzungsprogramms (Deutsch).lnk")).path, transD);
    // The names as the user sees them: two new links and the dictionary's old one.
    std::set<std::wstring> names;
    for (const auto& entry : fs::directory_iterator(Wide(group)))
        names.insert(entry.path().filename().wstring());
    EXPECT_EQ(names, (std::set<std::wstring>{L"Hilfedatei des \u00dcbersetzungsprogramms (Polnisch).lnk",
                                             L"Hilfedatei des \u00dcbersetzungsprogramms (Deutsch).lnk",
                                             L"Hilfedatei des W\u00f6rterbuchs.lnk"}));
}

TEST_F(ShortcutStepWin32Test, WebTranslatorLinkInTheGroupFound) {
    const std::string target = folder_.Write("Quorbelpl2.exe", "MZ");
    // The Polish caption's letter l with stroke is byte 0xB3 of code page 1250; a Western system
    // shows that byte as a superscript three.
    const std::wstring polish = GetACP() == 1250 ? L"T\u0142umacz stron WWW" : L"T\u00b3umacz stron WWW";
    struct Case {
        std::vector<std::string_view> groups;
        std::string_view expectedGroup;
        std::string_view caption;
        std::wstring seen;  // the link's name and description as the user sees them
    };
    const Case cases[] = {
        {{"Lexivo Angielskiego 2.5", "Lexivo English 2.5"}, "Lexivo Angielskiego 2.5", "T\xB3umacz stron WWW", polish},
        {{"Lexivo English 2.5"}, "Lexivo English 2.5", "Web Page Translator", L"Web Page Translator"},
    };
    for (const Case& c : cases) {
        for (auto g : c.groups)
            Group(g);
        Run(9, 6);
        const LinkInfo info = ReadLink(Join(Join(programs_, c.expectedGroup), c.caption) + ".lnk", true);
        EXPECT_EQ(info.path, target) << c.expectedGroup;
        EXPECT_EQ(info.description, c.caption);
        const fs::path group = Wide(Join(programs_, c.expectedGroup));
        EXPECT_TRUE(fs::exists(group / (c.seen + L".lnk"))) << "code page " << GetACP();
        EXPECT_EQ(WideDescription(Join(Join(programs_, c.expectedGroup), c.caption) + ".lnk"), c.seen);
        for (auto g : c.groups)
            fs::remove_all(Wide(Join(programs_, g)));
    }
}

}  // namespace
}  // namespace updater::environment
