#include "catalogue/catalogue_text.h"

#include <gtest/gtest.h>

#include <fstream>
#include <sstream>
#include <string>

#include "patch/file_catalogue.h"

namespace updater::tools {
namespace {

std::string CommittedCatalogue() {
    std::ifstream in(UPDATER_SOURCE_DIR "/resources/catalogue.txt", std::ios::binary);
    std::ostringstream text;
    text << in.rdbuf();
    return text.str();
}

// The tables the program compiles (written by catalogue_tool) hold the catalogue as this reader
// reads it: every version in its slot, the CRC-32s, the names.
TEST(CatalogueText, TheProgramsTablesAreTheCatalogueAsRead) {
    const CatalogueReading reading = ReadCatalogue(CommittedCatalogue());
    ASSERT_TRUE(reading.catalogue) << reading.error;
    for (const CatalogueRow& row : reading.catalogue->rows) {
        const patch::FileRow compiled = patch::CatalogueRow(row.index);
        EXPECT_EQ(compiled.fileName, row.Column(CatalogueColumn::kFileName)) << row.index;
        EXPECT_EQ(compiled.versionText, row.Column(CatalogueColumn::kVersionText)) << row.index;
        const auto names = row.ResourceNames();
        EXPECT_EQ(compiled.resourceNames[0], names[0]) << row.index;
        EXPECT_EQ(compiled.resourceNames[1], names.size() == 2 ? names[1] : "") << row.index;
        EXPECT_EQ(compiled.currentVersion, row.Current().version) << row.index;
        EXPECT_EQ(compiled.CurrentCrc(), row.Current().crc) << row.index;
        std::size_t known = 0;
        for (int v = 1; v <= patch::kKnownVersionCount; ++v)
            known += compiled.Size(v) > 0 ? 1 : 0;
        EXPECT_EQ(known, row.known.size()) << row.index;
        for (const KnownVersion& k : row.known) {
            EXPECT_EQ(compiled.Size(k.version), k.size) << row.index << "/" << k.version;
            if (!compiled.UsesProbes()) {
                EXPECT_EQ(compiled.Crc(k.version), k.crc) << row.index << "/" << k.version;
            }
        }
    }
}

// A damaged row is refused with the number of its line, and a missing one is noticed.
TEST(CatalogueText, AFaultyRowIsRefusedWithItsLine) {
    const std::string committed = CommittedCatalogue();
    const auto reading = ReadCatalogue(committed);
    ASSERT_TRUE(reading.catalogue) << reading.error;
    const CatalogueRow& last = reading.catalogue->Row(patch::kLastFileIndex);
    const std::string& line = reading.catalogue->lines[last.line];
    const std::string prefix = "line " + std::to_string(last.line + 1) + ": ";
    const std::string known = last.columns[static_cast<std::size_t>(CatalogueColumn::kKnown)];
    const std::string before = line.substr(0, line.size() - known.size());
    for (const std::string& damaged : {
             before.substr(0, before.size() - 1),                          // a column short
             "35" + line.substr(2),                                        // another index
             before + " 1=2713600 2=2721280/F4F34DB0",                     // no CRC-32 of an old version
             before + " 2=2721280/F4F34DB0 1=2713600/9053AAE7",            // versions falling
             before + " 1=2713600/9053aae7 2=2721280/F4F34DB0",            // the CRC-32 in small letters
             before + " 12=2721280/F4F34DB0",                              // beyond version 11
             before + "",                                                  // no version at all
             std::string(line).replace(line.find("PEN251IEA"), 3, "pen"),  // a resource in small letters
         }) {
        std::string text = committed;
        text.replace(text.find(line), line.size(), damaged);
        const auto refused = ReadCatalogue(text);
        EXPECT_FALSE(refused.catalogue) << damaged;
        EXPECT_EQ(refused.error.rfind(prefix, 0), 0u) << damaged << ": " << refused.error;
    }
    std::string shorter = committed;
    shorter.erase(shorter.find(line), line.size() + 1);
    EXPECT_NE(ReadCatalogue(shorter).error.find("ends at row 33"), std::string::npos);
}

}  // namespace
}  // namespace updater::tools
