#include "app/update_run.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <fstream>
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
#include "base/file_system.h"
#include "test_support/temp_folder.h"

namespace updater::app {
namespace {

using patch::FileState;

using test::RecordingView;
using test::Utf8;

// An installation in a folder of the test's own: the folders and files are on disk, where the
// run looks for them; each file's state code, the replacements and the other steps are on paper.
class FakeEngine : public UpdateEngine {
  public:
    FakeEngine() { std::filesystem::create_directories(installFolder); }

    std::string FindInstallFolder(std::int32_t appId) override {
        EXPECT_EQ(appId, 6);
        if (throwOnLookup) throw std::runtime_error("registry broke");
        return installFolder;
    }
    // Each check judges a file of its own identity, so that a replacement shows which check it took.
    patch::FileCheck CheckFile(int, const std::string& path) override {
        if (throwOnState) throw std::runtime_error("read failed");
        return {files.at(path), base::FileIdentity{1, ++checks}};
    }
    patch::ReplaceOutcome WriteCurrentVersion(int, const std::string& path,
                                              const std::optional<base::FileIdentity>& checked) override {
        replaced.push_back(path);
        replacedOver.push_back(checked);
        patch::ReplaceOutcome outcome;
        if (!replaceSucceeds || failTimes > 0) {
            --failTimes;
            outcome.failedStep = patch::ReplaceStep::kWrite;
            outcome.written = {replaceStep, replaceError};
            if (onFailedReplace) onFailedReplace(path);
            return outcome;
        }
        Put(path, FileState::kCurrent);
        return outcome;
    }
    std::vector<FileHolder> ProgramsHolding(const std::string&) override { return holders; }
    std::vector<std::string> WordStartupFolders() override { return wordFolders; }
    patch::DictionaryUpdateResult UpdateDictionary(const std::string& folder, std::int32_t& progress,
                                                   UpdateView& view) override {
        dictionaryFolder = folder;
        progress = 50;
        view.Pump();
        progress = 100;
        return dictionaryResult;
    }
    void UpdateShortcuts(const std::string& folder) override { shortcutFolders.push_back(folder); }

    // A folder of the test's (made when needed) and a file in it.
    std::string Folder(std::string_view name) const { return disk.Path(name); }
    std::string In(std::string_view folder, std::string_view file) const {
        return Folder(folder) + base::PathSeparator() + std::string(file);
    }
    // The program file in the install folder.
    std::string Target() const { return In("Lexivo", "Quorbel2.exe"); }
    // A file on disk in the given state, its folder made if need be.
    void Put(const std::string& path, FileState state) {
        std::filesystem::create_directories(std::filesystem::path(path).parent_path());
        std::ofstream(path, std::ios::binary) << "content";
        files[path] = state;
    }

    ::updater::test::TempFolder disk;
    std::string installFolder = Folder("Lexivo");
    std::map<std::string, FileState> files;
    std::vector<std::string> wordFolders;
    std::vector<std::string> replaced, shortcutFolders;
    std::vector<std::optional<base::FileIdentity>> replacedOver;  // the checked file each replacement took
    std::uint64_t checks = 0;
    std::string dictionaryFolder;
    patch::DictionaryUpdateResult dictionaryResult;
    bool replaceSucceeds = true, throwOnLookup = false, throwOnState = false;
    base::FileError replaceError = base::FileError::kIo;
    base::SafeWriteStep replaceStep = base::SafeWriteStep::kMove;
    int failTimes = 0;  // failures before replacements succeed
    std::function<void(const std::string& path)> onFailedReplace;
    std::vector<FileHolder> holders;
};

// A message with %s standing for a path.
std::string With(std::string message, const std::string& path) {
    return message.replace(message.find("%s"), 2, path);
}

class UpdateRunTest : public ::testing::Test {
  protected:
    UpdateRunTest() {
        test::NoMessages none;
        ConfigureThisBuild(config, none);
        state.uiLanguage = kEnglish;
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
            {kTextDiskFull, u"Not enough free disk space"},
            {kTextIoError, u"I/O Error"},
            {kTextFileInUse, u"The file to be patched is in use by another program"},
        };
        for (const auto& [id, text] : english)
            services.texts[{kEnglish, id}] = text;
        services.texts[{kPolish, kTextIntroduction}] = u"Wstep %s %s\r\n\r\n";
        services.texts[{kPolish, kTextOk}] = u"OK\r\n";
    }

    void Run() { RunUpdate(config, state, view, services, engine); }
    // A run on a window of its own.
    RecordingView RunOn(FakeEngine& on, MainWindowState& s) {
        RecordingView v;
        RunUpdate(config, s, v, services, on);
        return v;
    }
    std::string Main() const { return Utf8(view.main); }

    AppConfiguration config;
    MainWindowState state;
    RecordingView view;
    test::FakeTexts services;
    FakeEngine engine;
};

TEST_F(UpdateRunTest, OldFileIsReplacedAndTheRunSucceeds) {
    engine.Put(engine.Target(), FileState::kOld);
    std::vector<std::string> labelsAtPumps;
    view.onPump = [&] { labelsAtPumps.push_back(Main()); };
    Run();

    EXPECT_EQ(engine.replaced, std::vector<std::string>{engine.Target()});
    EXPECT_EQ(engine.replacedOver, (std::vector<std::optional<base::FileIdentity>>{base::FileIdentity{1, 1}}));
    EXPECT_EQ(Main(), "Update has finished successfully.");
    EXPECT_TRUE(state.finished);
    EXPECT_TRUE(state.succeeded);
    EXPECT_TRUE(view.updateEnabled && view.finishEnabled);
    EXPECT_TRUE(view.asked.empty());
    // Buttons go off before any work and come back before the verdict; focus moves to finish.
    EXPECT_EQ(view.events,
              (std::vector<std::string>{"update off", "finish off", "update on", "finish on", "focus finish"}));
    // The label repaints after the introduction, after the file's line (and again between its check
    // and its replacement), and at the end.
    ASSERT_GE(labelsAtPumps.size(), 4u);
    EXPECT_EQ(labelsAtPumps[0], "Intro Lexivo Angielskiego 2.5 2.5.1\r\n\r\n");
    EXPECT_EQ(labelsAtPumps[1], "Intro Lexivo Angielskiego 2.5 2.5.1\r\n\r\nFile ?Quorbel2.exe? is being updated ... ");
    EXPECT_EQ(labelsAtPumps[2], labelsAtPumps[1]);
    EXPECT_EQ(labelsAtPumps[3],
              "Intro Lexivo Angielskiego 2.5 2.5.1\r\n\r\nFile ?Quorbel2.exe? is being updated ... OK\r\n");
    // Kind 15 still runs the (empty) shortcut step, with the folder and its separator.
    EXPECT_EQ(engine.shortcutFolders, std::vector<std::string>{engine.installFolder + base::PathSeparator()});

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
        {"missing file", [](FakeEngine&) {}, "Error - file ?%s? could not be found in program directory.", true},
        {"unknown version", [](FakeEngine& e) { e.Put(e.Target(), FileState::kUnknownVersion); },
         "Error - unknown version of file ?%s?.", true},
        {"unreadable", [](FakeEngine& e) { e.Put(e.Target(), FileState::kError); },
         "An error occurred while opening file ?%s?.", true},
        {"no registry entry", [](FakeEngine& e) { e.installFolder.clear(); },
         "Error - program directory could not be found.", false},
        {"folder gone", [](FakeEngine& e) { e.installFolder = e.Folder("gone"); },
         "Error - program directory could not be found.", false},
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
        EXPECT_EQ(view.asked, std::vector<std::string>{c.fileLine ? With(c.asked, engine.Target()) : c.asked});
        EXPECT_FALSE(state.succeeded);
        EXPECT_TRUE(state.finished);
        EXPECT_EQ(Utf8(view.main), "Some errors occurred during update.");
        EXPECT_TRUE(engine.replaced.empty());
        EXPECT_EQ(view.events.back(), "finish on");  // no focus move after a failure
        // The dictionary and shortcut steps run only in the product's folder: with none, they
        // must not look in the current drive's root or the current folder.
        EXPECT_EQ(engine.shortcutFolders, c.fileLine
                                              ? std::vector<std::string>{engine.installFolder + base::PathSeparator()}
                                              : std::vector<std::string>{});
        EXPECT_EQ(engine.dictionaryFolder, c.fileLine ? engine.installFolder + base::PathSeparator() : "");
        if (c.fileLine) {
            EXPECT_NE(labelBeforeVerdict.find("Error\r\n"), std::string::npos) << labelBeforeVerdict;
        }
    }
}

// A replacement that fails says which file and why, naming the programs that hold it where the
// system can tell; its line says Error and the run fails.
TEST_F(UpdateRunTest, FailedReplacementSaysWhichFileAndWhyAndFailsTheRun) {
    engine.Put(engine.Target(), FileState::kOld);
    engine.replaceSucceeds = false;
    engine.replaceError = base::FileError::kSharingViolation;
    engine.holders = {{u"Quorbel", true}, {u"Scanner", false}, {u"Quorbel", true}};
    std::string lastLine;  // the label before the verdict replaced it
    view.onPump = [&] {
        if (Main().find("is being updated") != std::string::npos) lastLine = Main();
    };
    Run();
    EXPECT_EQ(engine.replaced, std::vector<std::string>{engine.Target()});
    EXPECT_EQ(lastLine,
              "Intro Lexivo Angielskiego 2.5 2.5.1\r\n\r\nFile ?Quorbel2.exe? is being updated ... Error\r\n");
    EXPECT_EQ(view.asked, std::vector<std::string>{"The file to be patched is in use by another program (Quorbel, "
                                                   "Scanner):\n" +
                                                   engine.Target()});
    EXPECT_FALSE(state.succeeded);
    EXPECT_EQ(Main(), "Some errors occurred during update.");

    // Where nothing can tell who holds it, the file and the reason; a full disk and any other
    // failure say so.
    const std::pair<base::FileError, std::string> reasons[] = {
        {base::FileError::kSharingViolation, "The file to be patched is in use by another program"},
        {base::FileError::kDiskFull, "Not enough free disk space"},
        {base::FileError::kIo, "I/O Error"},
    };
    engine.holders.clear();
    for (const auto& [error, reason] : reasons) {
        engine.replaceError = error;
        const RecordingView again = RunOn(engine, state);
        EXPECT_EQ(again.asked, std::vector<std::string>{reason + ":\n" + engine.Target()});
    }
}

// Two updaters on one folder: the other one put the current version in place while this one
// failed to (checked again, the file is current: no failure), or its clean-up removed this one's
// new file before it was moved into place (the file is still old: replaced once more).
TEST_F(UpdateRunTest, AReplacementLostToAnotherUpdaterIsCheckedAgain) {
    engine.Put(engine.Target(), FileState::kOld);
    engine.replaceSucceeds = false;
    engine.onFailedReplace = [&](const std::string& path) { engine.Put(path, FileState::kCurrent); };
    Run();
    EXPECT_TRUE(view.asked.empty());
    EXPECT_TRUE(state.succeeded);
    EXPECT_EQ(Main(), "Update has finished successfully.");

    for (const base::SafeWriteStep step : {base::SafeWriteStep::kVerify, base::SafeWriteStep::kMove}) {
        FakeEngine other;
        other.Put(other.Target(), FileState::kOld);
        other.failTimes = 1;
        other.replaceStep = step;
        other.replaceError = base::FileError::kNotFound;
        const RecordingView v = RunOn(other, state);
        EXPECT_EQ(other.replaced.size(), 2u);
        EXPECT_EQ(other.replacedOver.back(), (base::FileIdentity{1, 2})) << "the file checked again";
        EXPECT_TRUE(v.asked.empty());
        EXPECT_TRUE(state.succeeded);
    }
    // Once more only: a new file that vanishes again is reported.
    FakeEngine held;
    held.Put(held.Target(), FileState::kOld);
    held.failTimes = 5;
    held.replaceError = base::FileError::kNotFound;
    const RecordingView v = RunOn(held, state);
    EXPECT_EQ(held.replaced.size(), 2u);
    EXPECT_EQ(v.asked.size(), 1u);
    EXPECT_FALSE(state.succeeded);
}

// A replacement that fails in an extra folder (a copy of a template in a word processor's start-up
// folder) is asked about and fails the run, though the main folder's line says OK; a start-up
// folder that does not exist (that word processor is not installed) is no failure.
TEST_F(UpdateRunTest, AFailedReplacementInAnExtraFolderFailsTheRun) {
    config.activeSet = base::ByteSet{29};
    const std::string t29(patch::FileName(29));
    engine.wordFolders = {"Microsoft Word 2003=" + engine.Folder("Start"), "Word 97=" + engine.Folder("absent")};
    engine.Put(engine.In("Lexivo", t29), FileState::kCurrent);
    engine.Put(engine.In("Start", t29), FileState::kOld);
    engine.replaceSucceeds = false;
    engine.replaceError = base::FileError::kSharingViolation;
    Run();
    EXPECT_EQ(view.asked, std::vector<std::string>{"The file to be patched is in use by another program:\n" +
                                                   engine.In("Start", t29)});
    EXPECT_FALSE(state.succeeded);
    EXPECT_EQ(Main(), "Some errors occurred during update.");

    // Row 30 is created wherever it is missing, but not in a folder that is not there.
    config.activeSet = base::ByteSet{30};
    engine.replaceSucceeds = true;
    engine.replaced.clear();
    const RecordingView second = RunOn(engine, state);
    const std::string t30(patch::FileName(30));
    EXPECT_EQ(engine.replaced, (std::vector<std::string>{engine.In("Lexivo", t30), engine.In("Start", t30)}));
    EXPECT_TRUE(second.asked.empty());
    EXPECT_TRUE(state.succeeded);
}

TEST_F(UpdateRunTest, PatchKind4OffersTheOpenDialogWhenTheFolderIsUnknown) {
    config.patchKind = 4;
    engine.installFolder.clear();
    const std::string chosen = engine.In("Moje", "Quorbel2.exe");
    engine.Put(chosen, FileState::kCurrent);
    view.browseResult = std::u16string(chosen.begin(), chosen.end());
    Run();
    EXPECT_EQ(view.events[2], "browse");
    EXPECT_TRUE(state.succeeded);
    EXPECT_EQ(engine.shortcutFolders, std::vector<std::string>{engine.Folder("Moje") + base::PathSeparator()});

    // Cancelled: the folder stays unknown.
    MainWindowState second;
    second.uiLanguage = kEnglish;
    const RecordingView cancelled = RunOn(engine, second);
    EXPECT_EQ(cancelled.asked, std::vector<std::string>{"Error - program directory could not be found."});

    // Other kinds never browse.
    config.patchKind = 15;
    const RecordingView other = RunOn(engine, second);
    EXPECT_EQ(std::count(other.events.begin(), other.events.end(), "browse"), 0);
}

TEST_F(UpdateRunTest, TemplatesAreAlsoLookedForInTheWordStartupFolders) {
    config.activeSet = base::ByteSet{29, 30};
    // Row 29 has older versions; row 30 has none, so it is new in this patch: created everywhere.
    ASSERT_GT(patch::CurrentVersion(29), 1);
    ASSERT_EQ(patch::CurrentVersion(30), 1);
    const std::string t29(patch::FileName(29)), t30(patch::FileName(30));
    engine.wordFolders = {"Microsoft Word 2003=" + engine.Folder("Start"),
                          "Microsoft Word 97/2000=" + engine.Folder("Default") + base::PathSeparator()};
    engine.Put(engine.In("Lexivo", t29), FileState::kCurrent);
    engine.Put(engine.In("Start", t29), FileState::kOld);               // replaced, but reports nothing
    engine.Put(engine.In("Default", t29), FileState::kUnknownVersion);  // asked about, does not fail the run
    Run();

    EXPECT_EQ(engine.replaced, (std::vector<std::string>{engine.In("Start", t29), engine.In("Lexivo", t30),
                                                         engine.In("Start", t30), engine.In("Default", t30)}));
    EXPECT_EQ(view.asked,
              std::vector<std::string>{With("Error - unknown version of file ?%s?.", engine.In("Default", t29))});
    EXPECT_TRUE(state.succeeded);
    EXPECT_EQ(Main(), "Update has finished successfully.");
}

TEST_F(UpdateRunTest, MissingFilesInExtraFoldersAreNotErrors) {
    config.activeSet = base::ByteSet{29};
    engine.wordFolders = {"Microsoft Word (nie znaleziono)=" + engine.Folder("Startup")};  // not there
    engine.Put(engine.In("Lexivo", patch::FileName(29)), FileState::kCurrent);
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
        {Code::kConverted, Outcome::kNotWritten, "Error", "Some errors occurred during update."},
        {Code::kConverted, Outcome::kUnexpectedError, "Error", "Some errors occurred during update."},
        {Code::kUnknownState, Outcome::kNotAttempted, "Error", "Some errors occurred during update."},
    };
    config.settings.updateDictionaries = true;
    engine.Put(engine.Target(), FileState::kCurrent);
    for (const auto& c : cases) {
        engine.dictionaryResult.code = c.code;
        engine.dictionaryResult.outcome = c.outcome;
        SCOPED_TRACE(patch::Describe(engine.dictionaryResult) + " / code " + std::to_string(static_cast<int>(c.code)));
        MainWindowState s;
        s.uiLanguage = kEnglish;
        const RecordingView v = RunOn(engine, s);
        EXPECT_EQ(engine.dictionaryFolder, engine.installFolder + base::PathSeparator());
        const std::u16string base =
            u"Intro Lexivo Angielskiego 2.5 2.5.1\r\n\r\nFile \u2032Quorbel2.exe\u2032 is being updated ... OK\r\n"
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
        // A dictionary that could not be replaced is named, with why.
        const std::vector<std::string> asked{"I/O Error:\n" + engine.In("Lexivo", "dravin2.sg")};
        EXPECT_EQ(v.asked, c.outcome == Outcome::kNotWritten ? asked : std::vector<std::string>{});
    }
    // A held one says so, naming its holder where the system can tell.
    engine.dictionaryResult.code = Code::kConverted;
    engine.dictionaryResult.outcome = Outcome::kNotWritten;
    engine.dictionaryResult.written = {base::SafeWriteStep::kMove, base::FileError::kSharingViolation};
    engine.holders = {{u"Lexivo", true}};
    const RecordingView v = RunOn(engine, state);
    EXPECT_EQ(v.asked, std::vector<std::string>{"The file to be patched is in use by another program (Lexivo):\n" +
                                                engine.In("Lexivo", "dravin2.sg")});
}

TEST_F(UpdateRunTest, DictionaryStepReportsWorkUnlessTheFileWasAlreadyNew) {
    for (auto code : {patch::DictionaryUpdateCode::kAlreadyNew, patch::DictionaryUpdateCode::kConverted,
                      patch::DictionaryUpdateCode::kUnknownState}) {
        engine.dictionaryResult.code = code;
        RecordingView v;
        MainWindowState s;
        EXPECT_EQ(RunDictionaryStep(engine.installFolder, config, s, v, services, engine),
                  code != patch::DictionaryUpdateCode::kAlreadyNew);
    }
    // A product outside the record's set has no dictionary line.
    config.appId = 7;
    RecordingView v;
    EXPECT_FALSE(RunDictionaryStep(engine.installFolder, config, state, v, services, engine));
    EXPECT_TRUE(v.main.empty());
}

TEST_F(UpdateRunTest, LanguageChangeDuringARunRewritesTheLabelAndAppendsContinue) {
    engine.Put(engine.Target(), FileState::kOld);
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
        if (pumps == 4) beforeVerdict = Main();  // after the file's line, its replacement, the end
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
    throwing.Put(throwing.Target(), FileState::kOld);
    throwing.throwOnState = true;
    MainWindowState s;
    s.uiLanguage = kEnglish;
    const RecordingView v = RunOn(throwing, s);
    EXPECT_EQ(v.asked, std::vector<std::string>{With("An error occurred while opening file ?%s?.", throwing.Target())});
    EXPECT_TRUE(v.updateEnabled && v.finishEnabled);
    EXPECT_EQ(Utf8(v.main), "Some errors occurred during update.");
}

}  // namespace
}  // namespace updater::app
