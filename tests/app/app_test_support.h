#pragma once
// Stand-ins for the app tests: a small table with the Polish and English texts the windows show,
// and an update engine for the tests of what starts a run.

#include <functional>
#include <map>
#include <string>
#include <utility>
#include <vector>

#include "app/catalogue_texts.h"
#include "app/update_run.h"

namespace updater::app::test {

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
