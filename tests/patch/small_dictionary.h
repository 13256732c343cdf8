#pragma once
// A small dictionary, its script and a record of our own that names it, for the dictionary update
// tests: generated to meet the record's sizes and CRC-32 values, once per test program.

#include <cstdint>

#include "fixtures/dictionary_fixture.h"
#include "patch/dictionary_update.h"

namespace updater::test {

inline constexpr patch::TPlikInfo kSmallDictionaryOld{"words.sg", 60'000, 0x0BADF00Du};
inline constexpr patch::TPlikInfo kSmallDictionaryNew{"words.sg", 61'234, 0xFEEDBEEFu};
inline constexpr patch::TPatchSlownikInfo kSmallDictionaryRecord{base::ByteSet{6}, kSmallDictionaryOld,
                                                                 kSmallDictionaryNew, "PSLWORDS"};

inline const fixtures::DictionaryFixture& SmallDictionary() {
    static const fixtures::DictionaryFixture fixture = [] {
        fixtures::DictionaryFixtureShape shape;
        shape.oldSize = kSmallDictionaryOld.size;
        shape.oldCrc = kSmallDictionaryOld.crc32;
        shape.newSize = kSmallDictionaryNew.size;
        shape.newCrc = kSmallDictionaryNew.crc32;
        shape.removals = 40;
        shape.seed = 7;
        return *fixtures::GenerateDictionaryFixture(shape);
    }();
    return fixture;
}

}  // namespace updater::test
