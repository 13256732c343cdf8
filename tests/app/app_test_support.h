#pragma once
// Stand-ins for the app tests: a small table with the Polish and English texts the windows show,
// a window that records what it is told, and an update engine for the tests of what starts a run.

#include <gtest/gtest.h>

#include <functional>
#include <map>
#include <optional>
#include <string>
#include <utility>
#include <vector>

#include "app/catalogue_texts.h"
#include "app/update_run.h"

namespace updater::app::test {

// For building this program's configuration, which says nothing.
struct NoMessages : MessageSink {
    void ShowMessage(std::string_view, std::string_view) override { ADD_FAILURE() << "unexpected message"; }
};

// A text with every character past ASCII as "?", for comparing with plain literals.
std::string Utf8(std::u16string_view s);

// Records what the run does to the window, in order; answers every question with Yes.
template <class View>
class RecordingViewOf : public View {
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
        asked.push_back(Utf8(message));
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
using RecordingView = RecordingViewOf<UpdateView>;

class FakeTexts : public TextLookup {
  public:
    FakeTexts();

    std::u16string Text(Language language, std::int32_t id, bool forceTextCodePage) const override;

    mutable std::vector<bool> forcedLookups;  // forceTextCodePage of every lookup, in order
    std::map<std::pair<Language, std::int32_t>, std::u16string> texts;
};

// The install folder is folder (not found when empty), and duringLookup runs while the run looks
// for it; the run's other effects do nothing.
class ScriptedEngine : public UpdateEngine {
  public:
    std::string FindInstallFolder(std::int32_t) override {
        ++lookups;
        if (duringLookup) duringLookup();
        return folder;
    }
    std::vector<std::string> WordStartupFolders() override { return {}; }
    patch::FileCheck CheckFile(int, const std::string&) override { return {}; }
    patch::ReplaceOutcome WriteCurrentVersion(int, const std::string&,
                                              const std::optional<base::FileIdentity>&) override {
        return {};
    }
    patch::DictionaryUpdateResult UpdateDictionary(const std::string&, std::int32_t&, UpdateView&) override {
        return {};
    }
    void UpdateShortcuts(const std::string&) override {}

    std::string folder;
    std::function<void()> duringLookup;
    int lookups = 0;
};

}  // namespace updater::app::test
