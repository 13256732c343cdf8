#include "app/update_run.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <functional>
#include <iterator>
#include <map>
#include <set>
#include <stdexcept>
#include <string>
#include <vector>

#include "app/text_ids.h"
#include "app/this_build.h"
#include "app_test_support.h"

namespace updater::app {
namespace {

using patch::FileState;

std::string Utf8(const std::u16string& s) {
    std::string out;
    for (char16_t c : s)
        out.push_back(c < 0x80 ? static_cast<char>(c) : '?');
    return out;
}

// Records what the run does to the window, in order.
class RecordingView : public UpdateView {
  public:
    std::u16string MainText() const override { return main; }
    void SetMainText(std::u16string_view text) override {
        main = std::u16string(text);
        mainTexts.push_back(Utf8(main));
    }
    void SetUpdateEnabled(bool enabled) override {
        updateEnabled = enabled;
        events.push_back(enabled ? "update on" : "update off");
    }
    void SetFinishEnabled(bool enabled) override {
        finishEnabled = enabled;
        events.push_back(enabled ? "finish on" : "finish off");
    }
    void FocusFinish() override { events.push_back("focus finish"); }
    void Pump() override {
        ++pumps;
        if (onPump) onPump();
    }
    std::int32_t Ask(std::u16string_view message, std::uint8_t kind) override {
        asked.push_back(Utf8(std::u16string(message)));
        events.push_back("ask");
        EXPECT_EQ(kind, 0);
        return 6;
    }
    void SetProgressTimer(bool enabled) override {
        timer = enabled;
        events.push_back(enabled ? "timer on" : "timer off");
    }
    std::optional<std::u16string> BrowseForProgram() override {
        events.push_back("browse");
        return browseResult;
    }

    std::u16string main;
    bool updateEnabled = true, finishEnabled = true, timer = false;
    int pumps = 0;
    std::function<void()> onPump;
    std::vector<std::string> events, asked;
    std::vector<std::string> mainTexts;  // every text the main label was given, in order
    std::optional<std::u16string> browseResult;
};

// An installation on paper: folders, files with their state codes, the catalogue's names.
class FakeEngine : public UpdateEngine {
  public:
    std::string FindInstallFolder(std::int32_t appId) override {
        EXPECT_EQ(appId, 6);
        if (throwOnLookup) throw std::runtime_error("registry broke");
        return installFolder;
    }
    bool DirectoryExists(const std::string& path) override { return folders.count(path) > 0; }
    bool FileExists(const std::string& path) override { return files.count(path) > 0; }
    char PathSeparator() const override { return '\\'; }
    std::string FileName(int i) override { return i == 34 ? "Quorbel2.exe" : "File" + std::to_string(i) + ".dat"; }
    std::int32_t CurrentVersionNumber(int i) override { return newFiles.count(i) ? 1 : 2; }
    FileState CheckFileState(int, const std::string& path) override {
        if (throwOnState) throw std::runtime_error("read failed");
        return files.at(path);
    }
    patch::ReplaceOutcome ReplaceFile(int, const std::string& path) override {
        replaced.push_back(path);
        patch::ReplaceOutcome outcome;
        if (!replaceSucceeds) {
            outcome.failedStep = patch::ReplaceStep::kWrite;
            return outcome;
        }
        files[path] = FileState::kCurrent;
        return outcome;
    }
    std::vector<std::string> WordStartupFolders() override { return wordFolders; }
    std::optional<std::string> DictionaryFileFor(std::int32_t appId) override {
        if (appId != 6) return std::nullopt;
        return std::string("dravin2.sg");
    }
    patch::DictionaryUpdateResult UpdateDictionary(const std::string& folder, std::int32_t& progress,
                                                   UpdateView& view) override {
        dictionaryFolder = folder;
        progress = 50;
        view.Pump();
        progress = 100;
        return dictionaryResult;
    }
    void UpdateShortcuts(const std::string& folder) override { shortcutFolders.push_back(folder); }
    std::u16string Widen(const std::string& text) const override { return {text.begin(), text.end()}; }
    std::string Narrow(const std::u16string& text) const override { return std::string(text.begin(), text.end()); }

    std::string installFolder = "C:\\Lexivo";
    std::set<std::string> folders{"C:\\Lexivo"};
    std::map<std::string, FileState> files;
    std::set<int> newFiles;
    std::vector<std::string> wordFolders;
    std::vector<std::string> replaced, shortcutFolders;
    std::string dictionaryFolder;
    patch::DictionaryUpdateResult dictionaryResult;
    bool replaceSucceeds = true, throwOnLookup = false, throwOnState = false;
};

class UpdateRunTest : public ::testing::Test {
  protected:
    UpdateRunTest() {
        NoMessages none;
        ConfigureThisBuild(config, none);
        state.uiLanguage = kEnglish;
        config.titleVariant = 2;
        const std::pair<std::int32_t, std::u16string> english[] = {
            {kTextOk, u"OK\r\n"},
            {kTextError, u"Error\r\n"},
            {kTextNothingToUpdate, u"The installed version doesn\u2032t need updating."},
            {kTextUpdatingFile, u"File \u2032%s\u2032 is being updated ... "},
            {kTextFolderNotFound, u"Error - program directory could not be found."},
            {kTextFileNotFound, u"Error - file \u2032%s\u2032 could not be found in program directory."},
            {kTextUnknownVersion, u"Error - unknown version of file \u2032%s\u2032."},
            {kTextCannotOpen, u"An error occurred while opening file \u2032%s\u2032."},
            {kTextIntroduction, u"Intro %s %s\r\n\r\n"},
        };
        for (const auto& [id, text] : english)
            services.texts[{kEnglish, id}] = text;
        services.texts[{kPolish, kTextIntroduction}] = u"Wstep %s %s\r\n\r\n";
        services.texts[{kPolish, kTextOk}] = u"OK\r\n";
    }

    struct NoMessages : MessageSink {
        void ShowMessage(std::string_view, std::string_view) override {}
    };

    void Run() { RunUpdate(config, state, view, services, engine); }
    std::string Main() const { return Utf8(view.main); }

    AppConfiguration config;
    MainWindowState state;
    RecordingView view;
    test::FakeServices services;
    FakeEngine engine;
};

const std::string kTarget = "C:\\Lexivo\\Quorbel2.exe";

TEST_F(UpdateRunTest, OldFileIsReplacedAndTheRunSucceeds) {
    engine.files[kTarget] = FileState::kOld;
    std::vector<std::string> labelsAtPumps;
    view.onPump = [&] { labelsAtPumps.push_back(Main()); };
    Run();

    EXPECT_EQ(engine.replaced, std::vector<std::string>{kTarget});
    EXPECT_EQ(Main(), "Update has finished successfully.");
    EXPECT_TRUE(state.finished);
    EXPECT_TRUE(state.succeeded);
    EXPECT_TRUE(view.updateEnabled && view.finishEnabled);
    EXPECT_TRUE(view.asked.empty());
    // Buttons go off before any work and come back before the verdict; focus moves to finish.
    EXPECT_EQ(view.events,
              (std::vector<std::string>{"update off", "finish off", "update on", "finish on", "focus finish"}));
    // The label repaints after the introduction, after the file's line, and at the end.
    ASSERT_GE(labelsAtPumps.size(), 3u);
    EXPECT_EQ(labelsAtPumps[0], "Intro Lexivo English 2.5 2.5.1\r\n\r\n");
    EXPECT_EQ(labelsAtPumps[1], "Intro Lexivo English 2.5 2.5.1\r\n\r\nFile ?Quorbel2.exe? is being updated ... ");
    EXPECT_EQ(labelsAtPumps[2],
              "Intro Lexivo English 2.5 2.5.1\r\n\r\nFile ?Quorbel2.exe? is being updated ... OK\r\n");
    // Kind 15 still runs the (empty) shortcut step, with the folder and its separator.
    EXPECT_EQ(engine.shortcutFolders, std::vector<std::string>{"C:\\Lexivo\\"});

    // A second run finds the file current: nothing needed updating.
    view.events.clear();
    Run();
    EXPECT_EQ(Main(), "The installed version doesn?t need updating.");
    EXPECT_EQ(engine.replaced.size(), 1u);
    EXPECT_EQ(view.events.back(), "focus finish");
}

TEST_F(UpdateRunTest, EveryProblemIsAskedAboutAndFailsTheRun) {
    struct Case {
        const char* name;
        std::function<void(FakeEngine&)> setUp;
        std::string asked;
        bool fileLine;
    };
    const Case cases[] = {
        {"missing file", [](FakeEngine&) {},
         "Error - file ?C:\\Lexivo\\Quorbel2.exe? could not be found in program directory.", true},
        {"unknown version", [](FakeEngine& e) { e.files[kTarget] = FileState::kUnknownVersion; },
         "Error - unknown version of file ?C:\\Lexivo\\Quorbel2.exe?.", true},
        {"unreadable", [](FakeEngine& e) { e.files[kTarget] = FileState::kError; },
         "An error occurred while opening file ?C:\\Lexivo\\Quorbel2.exe?.", true},
        {"no registry entry", [](FakeEngine& e) { e.installFolder.clear(); },
         "Error - program directory could not be found.", false},
        {"folder gone", [](FakeEngine& e) { e.folders.clear(); }, "Error - program directory could not be found.",
         false},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        FakeEngine engine;
        c.setUp(engine);
        AppConfiguration config = this->config;
        config.settings.updateDictionaries = true;
        RecordingView view;
        MainWindowState state;
        state.uiLanguage = kEnglish;
        std::string labelBeforeVerdict;
        int pumps = 0;
        view.onPump = [&] {
            if (++pumps == 3) labelBeforeVerdict = Utf8(view.main);
        };
        RunUpdate(config, state, view, services, engine);
        EXPECT_EQ(view.asked, std::vector<std::string>{c.asked});
        EXPECT_FALSE(state.succeeded);
        EXPECT_TRUE(state.finished);
        EXPECT_EQ(Utf8(view.main), "Some errors occurred during update.");
        EXPECT_TRUE(engine.replaced.empty());
        EXPECT_EQ(view.events.back(), "finish on");  // no focus move after a failure
        // The dictionary and shortcut steps run only in the product's folder: with none, they
        // must not look in the current drive's root or the current folder.
        EXPECT_EQ(engine.shortcutFolders,
                  c.fileLine ? std::vector<std::string>{"C:\\Lexivo\\"} : std::vector<std::string>{});
        EXPECT_EQ(engine.dictionaryFolder, c.fileLine ? "C:\\Lexivo\\" : "");
        if (c.fileLine) {
            EXPECT_NE(labelBeforeVerdict.find("Error\r\n"), std::string::npos) << labelBeforeVerdict;
        }
    }
}

TEST_F(UpdateRunTest, FailedReplacementIsAnErrorLineAndFailsTheRun) {
    engine.files[kTarget] = FileState::kOld;
    engine.replaceSucceeds = false;
    std::string lastLine;  // the label before the verdict replaced it
    view.onPump = [&] {
        if (Main().find("is being updated") != std::string::npos) lastLine = Main();
    };
    Run();
    EXPECT_EQ(engine.replaced, std::vector<std::string>{kTarget});
    EXPECT_EQ(lastLine, "Intro Lexivo English 2.5 2.5.1\r\n\r\nFile ?Quorbel2.exe? is being updated ... Error\r\n");
    EXPECT_TRUE(view.asked.empty()) << "the replacement's failure is its line, not a question";
    EXPECT_FALSE(state.succeeded);
    EXPECT_EQ(Main(), "Some errors occurred during update.");
}

TEST_F(UpdateRunTest, PatchKind4OffersTheOpenDialogWhenTheFolderIsUnknown) {
    config.patchKind = 4;
    engine.installFolder.clear();
    engine.folders.insert("D:\\Moje\\Lexivo");
    engine.files["D:\\Moje\\Lexivo\\Quorbel2.exe"] = FileState::kCurrent;
    view.browseResult = u"D:\\Moje\\Lexivo\\Quorbel2.exe";
    Run();
    EXPECT_EQ(view.events[2], "browse");
    EXPECT_TRUE(state.succeeded);
    EXPECT_EQ(engine.shortcutFolders, std::vector<std::string>{"D:\\Moje\\Lexivo\\"});

    // Cancelled: the folder stays unknown.
    RecordingView cancelled;
    MainWindowState second;
    second.uiLanguage = kEnglish;
    RunUpdate(config, second, cancelled, services, engine);
    EXPECT_EQ(cancelled.asked, std::vector<std::string>{"Error - program directory could not be found."});

    // Other kinds never browse.
    config.patchKind = 15;
    RecordingView other;
    RunUpdate(config, second, other, services, engine);
    EXPECT_EQ(std::count(other.events.begin(), other.events.end(), "browse"), 0);
}

TEST_F(UpdateRunTest, TemplatesAreAlsoLookedForInTheWordStartupFolders) {
    config.activeSet = base::ByteSet{29, 30};
    engine.wordFolders = {"Microsoft Word 2003=E:\\Start", "Microsoft Word 97/2000=F:\\Default\\"};
    engine.files["C:\\Lexivo\\File29.dat"] = FileState::kCurrent;
    engine.files["E:\\Start\\File29.dat"] = FileState::kOld;               // replaced, but reports nothing
    engine.files["F:\\Default\\File29.dat"] = FileState::kUnknownVersion;  // asked about, does not fail the run
    engine.newFiles = {30};                                                // new in this patch: created everywhere
    Run();

    EXPECT_EQ(engine.replaced, (std::vector<std::string>{"E:\\Start\\File29.dat", "C:\\Lexivo\\File30.dat",
                                                         "E:\\Start\\File30.dat", "F:\\Default\\File30.dat"}));
    EXPECT_EQ(view.asked, std::vector<std::string>{"Error - unknown version of file ?F:\\Default\\File29.dat?."});
    EXPECT_TRUE(state.succeeded);
    EXPECT_EQ(Main(), "Update has finished successfully.");
}

TEST_F(UpdateRunTest, MissingFilesInExtraFoldersAreNotErrors) {
    config.activeSet = base::ByteSet{29};
    engine.wordFolders = {"Microsoft Word (nie znaleziono)=G:\\Startup"};
    engine.files["C:\\Lexivo\\File29.dat"] = FileState::kCurrent;
    Run();
    EXPECT_TRUE(view.asked.empty());
    EXPECT_EQ(Main(), "The installed version doesn?t need updating.");
}

// The dictionary's line says whether the new file is in place afterwards, and the verdict agrees:
// a conversion that did not end with the new file in place is an error, never a success.
TEST_F(UpdateRunTest, DictionaryStepShowsProgressAndWhetherTheNewFileIsInPlace) {
    using Code = patch::DictionaryUpdateCode;
    using Outcome = patch::DictionaryUpdateOutcome;
    const struct {
        Code code;
        Outcome outcome;
        const char* line;
        const char* verdict;
    } cases[] = {
        {Code::kAlreadyNew, Outcome::kNotAttempted, "OK", "The installed version doesn?t need updating."},
        {Code::kConverted, Outcome::kReplaced, "OK", "Update has finished successfully."},
        {Code::kConverted, Outcome::kScriptMissing, "Error", "Some errors occurred during update."},
        {Code::kConverted, Outcome::kConversionFailed, "Error", "Some errors occurred during update."},
        {Code::kConverted, Outcome::kVerificationFailed, "Error", "Some errors occurred during update."},
        {Code::kConverted, Outcome::kReplaceFailed, "Error", "Some errors occurred during update."},
        {Code::kConverted, Outcome::kUnexpectedError, "Error", "Some errors occurred during update."},
        {Code::kUnknownState, Outcome::kNotAttempted, "Error", "Some errors occurred during update."},
    };
    config.settings.updateDictionaries = true;
    engine.files[kTarget] = FileState::kCurrent;
    for (const auto& c : cases) {
        SCOPED_TRACE(std::string(patch::Describe(c.outcome)) + " / code " + std::to_string(static_cast<int>(c.code)));
        engine.dictionaryResult.code = c.code;
        engine.dictionaryResult.outcome = c.outcome;
        RecordingView v;
        MainWindowState s;
        s.uiLanguage = kEnglish;
        RunUpdate(config, s, v, services, engine);
        EXPECT_EQ(engine.dictionaryFolder, "C:\\Lexivo\\");
        const std::u16string base =
            u"Intro Lexivo English 2.5 2.5.1\r\n\r\nFile \u2032Quorbel2.exe\u2032 is being updated ... OK\r\n"
            u"File \u2032dravin2.sg\u2032 is being updated ... ";
        EXPECT_EQ(s.progressBaseText, base);
        EXPECT_EQ(s.progressPercent, 100);
        std::vector<std::string> timerStates;  // the timer runs once, for the step alone
        std::copy_if(v.events.begin(), v.events.end(), std::back_inserter(timerStates),
                     [](const std::string& event) { return event.starts_with("timer"); });
        EXPECT_EQ(timerStates, (std::vector<std::string>{"timer on", "timer off"}));
        // The line as it stood before the verdict replaced it.
        const auto lineShown = std::find(v.mainTexts.begin(), v.mainTexts.end(), Utf8(base) + c.line + "\r\n");
        EXPECT_NE(lineShown, v.mainTexts.end());
        EXPECT_EQ(s.succeeded, std::string(c.line) == "OK");
        EXPECT_EQ(Utf8(v.main), c.verdict);
    }
}

TEST_F(UpdateRunTest, DictionaryStepReportsWorkUnlessTheFileWasAlreadyNew) {
    for (auto code : {patch::DictionaryUpdateCode::kAlreadyNew, patch::DictionaryUpdateCode::kConverted,
                      patch::DictionaryUpdateCode::kUnknownState}) {
        engine.dictionaryResult.code = code;
        RecordingView v;
        MainWindowState s;
        EXPECT_EQ(RunDictionaryStep("C:\\Lexivo", config, s, v, services, engine),
                  code != patch::DictionaryUpdateCode::kAlreadyNew);
    }
    // A product outside the record's set has no dictionary line.
    config.appId = 7;
    RecordingView v;
    EXPECT_FALSE(RunDictionaryStep("C:\\Lexivo", config, state, v, services, engine));
    EXPECT_TRUE(v.main.empty());
}

TEST_F(UpdateRunTest, LanguageChangeDuringARunRewritesTheLabelAndAppendsContinue) {
    engine.files[kTarget] = FileState::kOld;
    config.titleVariant = 1;
    state.uiLanguage = kPolish;
    int pumps = 0;
    view.onPump = [&] {
        // The user clicks the English flag right after the introduction.
        if (++pumps == 1) {
            state.uiLanguage = kEnglish;
            view.main = u"Intro again\r\n";
        }
    };
    std::string beforeVerdict;
    view.onPump = [&, inner = view.onPump]() mutable {
        inner();
        if (pumps == 3) beforeVerdict = Main();
    };
    Run();
    EXPECT_EQ(beforeVerdict, "Intro again\r\nFile ?Quorbel2.exe? is being updated ... OK\r\n");
    EXPECT_EQ(Main(), "Update has finished successfully.");
}

TEST_F(UpdateRunTest, AnErrorThrownByAPartEndsTheRunUsable) {
    engine.throwOnLookup = true;
    Run();
    EXPECT_EQ(view.asked, std::vector<std::string>{"Error - program directory could not be found."});
    EXPECT_TRUE(view.updateEnabled && view.finishEnabled);
    EXPECT_TRUE(state.finished);
    EXPECT_FALSE(state.succeeded);
    EXPECT_EQ(Main(), "Some errors occurred during update.");

    FakeEngine throwing;
    throwing.files[kTarget] = FileState::kOld;
    throwing.throwOnState = true;
    RecordingView v;
    MainWindowState s;
    s.uiLanguage = kEnglish;
    RunUpdate(config, s, v, services, throwing);
    EXPECT_EQ(v.asked, std::vector<std::string>{"An error occurred while opening file ?C:\\Lexivo\\Quorbel2.exe?."});
    EXPECT_TRUE(v.updateEnabled && v.finishEnabled);
    EXPECT_EQ(Utf8(v.main), "Some errors occurred during update.");
}

}  // namespace
}  // namespace updater::app
