#include "patch/file_catalogue.h"

#include <gtest/gtest.h>

#include <set>
#include <string>

namespace updater::patch {
namespace {

TEST(FileCatalogue, EveryRowHasTheShapeTheEngineReliesOn) {
    std::set<std::string> fileNames;
    for (int i = kFirstFileIndex; i <= kLastFileIndex; ++i) {
        SCOPED_TRACE("file index " + std::to_string(i));
        const FileRow row = CatalogueRow(i);
        EXPECT_EQ(row.index, i);
        EXPECT_FALSE(row.titles[0].empty());
        EXPECT_FALSE(row.titles[1].empty());
        EXPECT_FALSE(row.versionText.empty());
        EXPECT_FALSE(row.resourceNames[0].empty()) << "part A always exists";
        EXPECT_NE(row.resourceNames[0], row.resourceNames[1]);
        EXPECT_TRUE(fileNames.insert(std::string(row.fileName)).second) << row.fileName << " twice";
        EXPECT_EQ(row.fileName.find_first_of("\\/:"), std::string_view::npos) << "a name, not a path";

        // The current version is the highest-numbered known one, so nothing newer can be "old".
        int highestKnown = 0;
        for (int v = 1; v <= kKnownVersionCount; ++v) {
            EXPECT_GE(row.Size(v), 0);
            if (row.Size(v) > 0) highestKnown = v;
        }
        EXPECT_EQ(row.currentVersion, highestKnown);

        for (int v = 1; v <= kKnownVersionCount; ++v) {
            const bool known = row.Size(v) > 0;
            if (row.UsesProbes()) {
                EXPECT_EQ(row.Crc(v), 0u) << "version " << v;
                EXPECT_EQ(row.Probes(v).size(), known ? std::size_t{kProbesPerTable} : 0u) << "version " << v;
            } else {
                EXPECT_EQ(row.Crc(v) != 0, known) << "version " << v;
                EXPECT_TRUE(row.Probes(v).empty()) << "version " << v;
            }
        }
    }
}

TEST(FileCatalogue, ProbesStayInsideTheirFiles) {
    for (int i = kFirstFileIndex; i <= kLastProbedFileIndex; ++i) {
        const FileRow row = CatalogueRow(i);
        for (int v = 1; v <= kKnownVersionCount; ++v) {
            const auto probes = row.Probes(v);
            if (probes.empty()) continue;
            std::set<std::int32_t> offsets;
            for (const Probe& p : probes) {
                EXPECT_GE(p.offset, 0) << i << "/" << v;
                EXPECT_LT(p.offset, row.Size(v)) << i << "/" << v;
                EXPECT_TRUE(offsets.insert(p.offset).second) << i << "/" << v << " offset " << p.offset << " twice";
            }
        }
    }
}

// Two versions of the same size are told apart only by their CRC-32 or probes; if the lower
// one's checks also passed on the higher one, the higher one could never be recognised.
TEST(FileCatalogue, VersionsOfEqualSizeCanBeToldApart) {
    int equalPairs = 0;
    for (int i = kFirstFileIndex; i <= kLastFileIndex; ++i) {
        const FileRow row = CatalogueRow(i);
        for (int a = 1; a <= kKnownVersionCount; ++a) {
            for (int b = a + 1; b <= kKnownVersionCount; ++b) {
                if (row.Size(a) == 0 || row.Size(a) != row.Size(b)) continue;
                ++equalPairs;
                if (!row.UsesProbes()) {
                    EXPECT_NE(row.Crc(a), row.Crc(b)) << i << ": " << a << "/" << b;
                    continue;
                }
                bool conflict = false;
                for (const Probe& pa : row.Probes(a))
                    for (const Probe& pb : row.Probes(b))
                        conflict |= pa.offset == pb.offset && pa.value != pb.value;
                EXPECT_TRUE(conflict) << i << ": versions " << a << " and " << b;
            }
        }
    }
    EXPECT_GE(equalPairs, 2);
}

TEST(FileCatalogue, FamilyDataCoversTheCasesTheUpdateRunTreatsSpecially) {
    int currentIsFirst = 0, withGaps = 0, withoutPartB = 0, mostVersions = 0;
    for (int i = kFirstFileIndex; i <= kLastFileIndex; ++i) {
        const FileRow row = CatalogueRow(i);
        currentIsFirst += row.currentVersion == 1;
        withoutPartB += row.resourceNames[1].empty();
        int known = 0;
        for (int v = 1; v <= row.currentVersion; ++v)
            known += row.Size(v) > 0;
        withGaps += known < row.currentVersion;
        mostVersions = std::max(mostVersions, known);
    }
    EXPECT_GE(currentIsFirst, 1) << "a file the patch adds when it is missing";
    EXPECT_GE(withGaps, 1);
    EXPECT_GE(withoutPartB, 1);
    EXPECT_EQ(mostVersions, kKnownVersionCount);
    EXPECT_NE(FileName(29).find(".dot"), std::string_view::npos) << "word-processor template";
    EXPECT_NE(FileName(30).find(".dot"), std::string_view::npos) << "word-processor template";
}

TEST(FileCatalogue, NumbersOutsideTheTableGetEmptyAnswers) {
    for (int i : {-1, 0, 35, 255, 256, 1 << 30}) {
        SCOPED_TRACE(i);
        const FileRow row = CatalogueRow(i);
        EXPECT_EQ(row.index, 0);
        EXPECT_EQ(Title(i, 1), "");
        EXPECT_EQ(VersionText(i), "");
        EXPECT_EQ(FileName(i), "");
        EXPECT_EQ(row.resourceNames[0], "");
        EXPECT_EQ(CurrentVersion(i), 0);
        EXPECT_EQ(row.currentVersion, 0);
        EXPECT_EQ(row.Size(1), 0);
        EXPECT_EQ(row.Crc(1), 0u);
        EXPECT_TRUE(row.Probes(1).empty());
    }
    for (int v : {-1, 0, 12, 1 << 30}) {
        EXPECT_EQ(CatalogueRow(34).Size(v), 0);
        EXPECT_EQ(CatalogueRow(34).Crc(v), 0u);
        EXPECT_TRUE(CatalogueRow(1).Probes(v).empty());
    }
    EXPECT_EQ(Title(34, 0), "");
    EXPECT_EQ(Title(34, 3), "");
}

TEST(FileCatalogue, ActiveSetOfThisBuildHoldsOnlyIndex34) {
    std::array<std::uint8_t, 32> bits{};
    bits[4] = 0x04;  // bit 2 of byte 4
    const base::ByteSet activeSet(bits);
    for (int i = -1; i <= 256; ++i)
        EXPECT_EQ(IsActive(activeSet, i), i == 34) << i;

    // Members outside the catalogue take no part.
    const base::ByteSet beyond{0, 35, 200};
    for (int i = 0; i <= 255; ++i)
        EXPECT_FALSE(IsActive(beyond, i)) << i;
}

}  // namespace
}  // namespace updater::patch
