#pragma once
// The exceptions each conversion map makes to its published code page, listed by hand, and a
// check of a map against a reference decoder of that code page (the C library's iconv natively,
// the system's MultiByteToWideChar under Windows).

#include <gtest/gtest.h>

#include <array>
#include <cstdint>
#include <map>

#include "localisation/conversion_maps.h"

namespace updater::localisation::test {

// A reference table: the code unit of each byte, or kNoReference where the code page has none.
inline constexpr char16_t kNoReference = 0xFFFF;
using ReferenceTable = std::array<char16_t, 256>;

enum class Reference { kIso8859_1, kWindows1250, kWindows1251, kWindows1252 };

using ExceptionList = std::map<std::uint8_t, char16_t>;

inline ExceptionList CommonExceptions() {
    return {{0x27, 0x2032}, {0x5E, 0x2038}, {0x60, 0x2035}};
}

inline ExceptionList BaseExceptions() {
    ExceptionList list = CommonExceptions();
    list.insert({{0x80, 0x20AC}, {0x82, 0x201A}, {0x84, 0x201E}, {0x85, 0x2026}, {0x86, 0x2020}, {0x87, 0x2021},
                 {0x89, 0x2030}, {0x8A, 0x0160}, {0x8B, 0x2039}, {0x8E, 0x017D}, {0x91, 0x2018}, {0x92, 0x2019},
                 {0x93, 0x201C}, {0x94, 0x201D}, {0x95, 0x2022}, {0x96, 0x2013}, {0x97, 0x2014}, {0x99, 0x2122},
                 {0x9A, 0x0161}, {0x9B, 0x203A}, {0x9E, 0x017E}, {0xAA, 0x015E}, {0xBA, 0x015F}, {0xD0, 0x0110},
                 {0xF0, 0x0111}, {0xFF, 0x02D9}});
    return list;
}

inline ExceptionList WesternExceptions() {
    ExceptionList list = CommonExceptions();
    list.insert({{0x81, 0x0081},
                 {0x8D, 0x008D},
                 {0x8F, 0x008F},
                 {0x90, 0x0090},
                 {0x9D, 0x009D},
                 {0x83, 0x0083},
                 {0x88, 0x0088},
                 {0x98, 0x0098},
                 {0xAA, 0x015E},
                 {0xBA, 0x015F}});
    return list;
}

inline ExceptionList CentralEuropeanExceptions() {
    ExceptionList list = CommonExceptions();
    list.insert({{0x81, 0x0081},
                 {0x83, 0x0083},
                 {0x88, 0x0088},
                 {0x90, 0x0090},
                 {0x98, 0x0098},
                 {0x8D, 0x008D},
                 {0x9D, 0x009D},
                 {0xA2, 0x00A2},
                 {0xB2, 0x00B2},
                 {0xBC, 0x00BC},
                 {0xBD, 0x00BD},
                 {0xBE, 0x00BE}});
    return list;
}

// Compared with Windows-1251 itself.
inline ExceptionList CyrillicExceptions() {
    ExceptionList list = CommonExceptions();
    list.insert({{0x80, 0x20AC}, {0x81, 0x0081}, {0x83, 0x0083}, {0x88, 0x0088}, {0x8A, 0x0160},
                 {0x8D, 0x008D}, {0x8E, 0x017D}, {0x90, 0x0090}, {0x98, 0x0098}, {0x9A, 0x0161},
                 {0x9D, 0x009D}, {0x9E, 0x017E}, {0xA1, 0x00A1}, {0xA2, 0x00A2}, {0xAA, 0x015E},
                 {0xB2, 0x00B2}, {0xBA, 0x015F}, {0xBC, 0x00BC}, {0xBD, 0x00BD}, {0xBE, 0x00BE}});
    return list;
}

struct MapCase {
    TextMap map;
    Reference reference;
    ExceptionList (*exceptions)();
    const char* name;
};

inline const MapCase kMapCases[] = {
    {TextMap::kBase, Reference::kIso8859_1, &BaseExceptions, "base / ISO 8859-1"},
    {TextMap::kWestern, Reference::kWindows1252, &WesternExceptions, "Western / Windows-1252"},
    {TextMap::kCentralEuropean, Reference::kWindows1250, &CentralEuropeanExceptions, "Central European / Windows-1250"},
    {TextMap::kCyrillic, Reference::kWindows1251, &CyrillicExceptions, "Cyrillic / Windows-1251"},
};

// Every byte is either one of the map's exceptions, with exactly the stated code unit, or is
// decoded as the reference decodes it.
inline void ExpectMapFollowsReference(const MapCase& mapCase, const ReferenceTable& reference) {
    const ConversionTable& table = ConversionMap(mapCase.map);
    const ExceptionList exceptions = mapCase.exceptions();
    for (int b = 0; b < 256; ++b) {
        const auto byte = static_cast<std::uint8_t>(b);
        if (const auto e = exceptions.find(byte); e != exceptions.end()) {
            EXPECT_EQ(static_cast<int>(table[b]), static_cast<int>(e->second))
                << mapCase.name << ", exception byte 0x" << std::hex << b;
        } else {
            ASSERT_NE(reference[b], kNoReference) << mapCase.name << ": reference has no character for 0x" << std::hex
                                                  << b << " and the map lists no exception";
            EXPECT_EQ(static_cast<int>(table[b]), static_cast<int>(reference[b]))
                << mapCase.name << ", byte 0x" << std::hex << b;
        }
    }
}

}  // namespace updater::localisation::test
