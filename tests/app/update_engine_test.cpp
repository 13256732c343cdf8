// The update run on the program's real engine: the registry entry the product's installer leaves,
// the program file on disk, the payloads this program carries and the real text catalogue.
#include "app/update_engine.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <chrono>
#include <string>
#include <vector>

#include "app/catalogue_texts.h"
#include "app/responsive_file_steps.h"
#include "app/this_build.h"
#include "app_test_support.h"
#include "base/file_system.h"
#include "fixtures/quorbel_fixture.h"
#include "patch/crc32.h"
#include "patch/resource_source.h"
#include "registry_writer/install_record.h"
#include "test_support/memory_registry.h"
#include "test_support/temp_folder.h"

namespace updater::app {
namespace {

using test::NoMessages;
using test::RecordingView;

std::uint32_t CrcOf(const updater::test::TempFolder& folder, std::string_view name) {
    const std::string bytes = folder.Read(name);
    return patch::Crc32(std::span(reinterpret_cast<const std::uint8_t*>(bytes.data()), bytes.size()));
}

TEST(SystemUpdateEngine, AnUpdateRunReachesTheRegistryTheFileAndThePayloads) {
    AppConfiguration config;
    NoMessages none;
    ConfigureThisBuild(config, none);
    updater::test::TempFolder folder;
    const std::vector<std::uint8_t> old = fixtures::MakeQuorbelOld();
    folder.Write("Quorbel2.exe", std::string_view(reinterpret_cast<const char*>(old.data()), old.size()));
    environment::MemoryRegistry registry;
    ASSERT_TRUE(
        tools::RecordInstallFolder(registry, config.appId, folder.Root(), environment::RegRoot::kCurrentUser, false));
    SystemUpdateEngine engine(config, registry, patch::ProgramResources());
    const CatalogueTexts services(localisation::Platform{true, kPolish});

    MainWindowState state;
    state.uiLanguage = kEnglish;
    RecordingView view;
    RunUpdate(config, state, view, services, engine);
    EXPECT_TRUE(view.asked.empty());
    EXPECT_TRUE(state.succeeded);
    EXPECT_TRUE(view.main.starts_with(u"Update has finished successfully."));
    EXPECT_EQ(CrcOf(folder, "Quorbel2.exe"), 0xF4F34DB0u) << "the new version, from the program's payloads";
    EXPECT_EQ(folder.Listing(), "Quorbel2.exe\n");

    // The file is now recognised as current.
    RunUpdate(config, state, view, services, engine);
    EXPECT_TRUE(state.succeeded);
    EXPECT_TRUE(view.main.starts_with(u"The installed version doesn\u2032t need updating."));

    // Without the registry entry the folder is not found.
    environment::MemoryRegistry empty;
    SystemUpdateEngine lost(config, empty, patch::ProgramResources());
    RunUpdate(config, state, view, services, lost);
    EXPECT_FALSE(state.succeeded);
    ASSERT_EQ(view.asked.size(), 1u);
    EXPECT_TRUE(view.asked[0].starts_with("Error - program directory could not be found."));
}

// Between the state check and the replacement another file takes the name (as when the folder on
// the way is a link that someone swaps): the engine writes only over the file it checked.
TEST(SystemUpdateEngine, ReplacesOnlyTheFileItChecked) {
    AppConfiguration config;
    NoMessages none;
    ConfigureThisBuild(config, none);
    updater::test::TempFolder folder;
    const std::vector<std::uint8_t> old = fixtures::MakeQuorbelOld();
    const std::string path =
        folder.Write("Quorbel2.exe", std::string_view(reinterpret_cast<const char*>(old.data()), old.size()));
    environment::MemoryRegistry registry;
    SystemUpdateEngine engine(config, registry, patch::ProgramResources());

    const patch::FileCheck check = engine.CheckFile(34, path);
    ASSERT_EQ(check.state, patch::FileState::kOld);
    ASSERT_EQ(base::MoveIntoPlace(folder.Write("swapped", "someone else's file"), path), base::FileError::kNone);
    EXPECT_EQ(engine.WriteCurrentVersion(34, path, check.identity).written.failedStep,
              base::SafeWriteStep::kTargetChanged);
    EXPECT_EQ(folder.Read("Quorbel2.exe"), "someone else's file");
    EXPECT_EQ(folder.Listing(), "Quorbel2.exe\n");
}

// The run's wait for a held file, through the safe write's back-off: the window's messages are let
// through at least every 100 ms of it, the whole five seconds long; a program the user runs that
// holds the file (it will not let go while the run waits) ends the wait at once, a service's brief
// hold (a virus scanner) does not.
TEST(ResponsiveFileSteps, WaitingForAHeldFileLetsTheWindowAnswerAndStopsForARunningProgram) {
    std::vector<std::string> log;  // "sleep N" and "pump", in order
    std::vector<FileHolder> holders = {{u"Scanner", false}};
    std::vector<std::string> asked;
    ResponsiveFileSteps steps(
        [&] { log.push_back("pump"); },
        [&](const std::string& path) {
            asked.push_back(path);
            return holders;
        },
        [&](std::chrono::milliseconds pause) { log.push_back("sleep " + std::to_string(pause.count())); });
    const auto held = [] { return base::FileError::kSharingViolation; };
    EXPECT_EQ(base::WhileHeld(steps, "C:\\P\\Quorbel2.exe", held), base::FileError::kSharingViolation);
    long long slept = 0;
    std::size_t sinceLastPump = 0;
    for (const std::string& entry : log) {
        if (entry == "pump") {
            sinceLastPump = 0;
            continue;
        }
        const long long ms = std::stoll(entry.substr(6));
        EXPECT_LE(ms, 50);
        EXPECT_EQ(sinceLastPump++, 0u) << "two sleeps without a pump between them";
        slept += ms;
    }
    EXPECT_GE(slept, 5000);
    EXPECT_EQ(log.back(), "pump");
    ASSERT_FALSE(asked.empty());
    EXPECT_EQ(asked.front(), "C:\\P\\Quorbel2.exe");

    // A write lets the messages through between its steps too: before creating the new file (the
    // content was decoded before), after writing it, after flushing it.
    updater::test::TempFolder folder;
    log.clear();
    ASSERT_TRUE(base::WriteFileSafely(folder.Path("Quorbel2.exe"), std::span<const std::uint8_t>(), steps).ok());
    EXPECT_EQ(std::count(log.begin(), log.end(), "pump"), 3);

    log.clear();
    holders.push_back({u"Quorbel", true});
    EXPECT_EQ(base::WhileHeld(steps, "C:\\P\\Quorbel2.exe", held), base::FileError::kSharingViolation);
    EXPECT_EQ(log, std::vector<std::string>{"pump"}) << "waited for a program that keeps the file";
}

}  // namespace
}  // namespace updater::app
