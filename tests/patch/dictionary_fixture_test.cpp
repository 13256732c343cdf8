// The synthetic dictionary that meets the build's own record, converted end to end.
#include "fixtures/dictionary_fixture.h"

#include <gtest/gtest.h>

#include <fstream>
#include <iterator>
#include <string>

#include "patch/crc32.h"
#include "patch/dictionary_update.h"
#include "patch/resource_source.h"
#include "test_support/temp_folder.h"

namespace updater::patch {
namespace {

std::uint32_t CrcOf(std::string_view text) {
    return Crc32(std::span(reinterpret_cast<const std::uint8_t*>(text.data()), text.size()));
}

std::string ReadSourceFile(const std::string& relative) {
    std::ifstream in(std::string(UPDATER_SOURCE_DIR) + "/" + relative, std::ios::binary);
    return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

TEST(DictionaryFixture, MeetsTheBuildsRecordAndConvertsEndToEnd) {
    const auto fixture = fixtures::GenerateDictionaryFixture();
    ASSERT_TRUE(fixture.has_value());
    const TPatchSlownikInfo& record = DictionaryUpdates()[0];
    ASSERT_EQ(fixture->oldText.size(), static_cast<std::size_t>(record.oldState.size));
    ASSERT_EQ(CrcOf(fixture->oldText), record.oldState.crc32);
    ASSERT_EQ(fixture->newText.size(), static_cast<std::size_t>(record.newState.size));
    ASSERT_EQ(CrcOf(fixture->newText), record.newState.crc32);
    // The committed script that the dictionary build embeds is this generator's, byte for byte.
    EXPECT_TRUE(fixture->script == ReadSourceFile("resources/dictionary/PSLDRAVIN2.txt"))
        << "regenerate it with: patchkit fixture dict-script resources/dictionary/PSLDRAVIN2.txt";

    test::TempFolder folder;
    folder.Write("dravin2.sg", fixture->oldText);
    MemoryResources resources;
    resources.Add("PSLDRAVIN2", {fixture->script.begin(), fixture->script.end()});
    const std::string root = folder.Root() + base::PathSeparator();
    int progress = -1;
    const auto first = UpdateDictionary(root, record, resources, progress, nullptr);
    EXPECT_EQ(first.code, DictionaryUpdateCode::kConverted);
    EXPECT_EQ(first.outcome, DictionaryUpdateOutcome::kReplaced);
    EXPECT_EQ(progress, 100);
    EXPECT_TRUE(folder.Read("dravin2.sg") == fixture->newText);
    EXPECT_EQ(folder.Listing(), "dravin2.sg\n");

    EXPECT_EQ(UpdateDictionary(root, record, resources, progress, nullptr).code, DictionaryUpdateCode::kAlreadyNew);
}

TEST(DictionaryFixture, SmallShapesMeetTheirSizesAndChecksumsAndImpossibleOnesAreRefused) {
    for (std::uint64_t seed = 1; seed <= 5; ++seed) {
        fixtures::DictionaryFixtureShape shape;
        shape.oldSize = 5000 + static_cast<std::int64_t>(seed) * 1111;
        shape.oldCrc = static_cast<std::uint32_t>(seed * 0x9E3779B9u);
        shape.newSize = shape.oldSize + 700;
        shape.newCrc = ~shape.oldCrc;
        shape.removals = 10;
        shape.seed = seed;
        const auto f = fixtures::GenerateDictionaryFixture(shape);
        ASSERT_TRUE(f.has_value()) << seed;
        EXPECT_EQ(f->oldText.size(), static_cast<std::size_t>(shape.oldSize));
        EXPECT_EQ(CrcOf(f->oldText), shape.oldCrc);
        EXPECT_EQ(f->newText.size(), static_cast<std::size_t>(shape.newSize));
        EXPECT_EQ(CrcOf(f->newText), shape.newCrc);
        EXPECT_EQ(f->newText.find('\0'), std::string::npos);
    }
    fixtures::DictionaryFixtureShape tooSmall;
    tooSmall.oldSize = 100;
    EXPECT_FALSE(fixtures::GenerateDictionaryFixture(tooSmall).has_value());
    fixtures::DictionaryFixtureShape shrinking;
    shrinking.oldSize = 50'000;
    shrinking.newSize = 10'000;
    EXPECT_FALSE(fixtures::GenerateDictionaryFixture(shrinking).has_value());
}

// The dictionary build (UPDATER_DICTIONARY_BUILD) carries the committed script as PSLDRAVIN2 and
// switches the step on; the ordinary build carries neither.
TEST(DictionaryFixture, OnlyTheDictionaryBuildCarriesTheScript) {
    const auto script = ProgramResources().Find("PSLDRAVIN2");
#ifdef UPDATER_DICTIONARY_BUILD
    ASSERT_TRUE(script.has_value());
    EXPECT_TRUE(std::string(script->begin(), script->end()) == ReadSourceFile("resources/dictionary/PSLDRAVIN2.txt"));
#else
    EXPECT_FALSE(script.has_value());
#endif
}

}  // namespace
}  // namespace updater::patch
