#include "environment/kod.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <random>
#include <string>
#include <vector>

#include "environment/kod_keys.h"

namespace updater::environment {
namespace {

std::string FromHex(std::string_view hex) {
    std::string bytes;
    for (std::size_t i = 0; i + 1 < hex.size(); i += 2) {
        bytes.push_back(static_cast<char>(std::stoi(std::string(hex.substr(i, 2)), nullptr, 16)));
    }
    return bytes;
}

std::string AllByteValues() {
    std::string all;
    for (int b = 0; b < 256; ++b)
        all.push_back(static_cast<char>(b));
    return all;
}

struct Vector {
    int appId;
    int mode;
    bool flag;
    std::string_view plain;
    std::string_view scrambled;
};

// Scrambled by hand, step by step with the key tables, not by this code; they pin the variant
// choice, the key columns, the checksum trailer and the escapes.
constexpr Vector kVectors[] = {
    {1, 5, false, "433a5c4c657869766f", "96716d4b63fb5296d2"},
    {1, 5, true, "466f7263654e6577526567", "576e70e64e6ec8e1a59c78"},
    {2, 6, false, "001d1e1fc8e1e2fffe6441", "001d53d51fa9727b8fb3ae"},
    {3, 1, false, "f0f1f2f3f4f5f6f7f8f9fafbfcfdfeff", "88d884bb3572f8bbfd2b92e28ec53f7c"},
    {6, 5, false, "4b6174616c6f67", "234a23465b372345f1c251"},
    {6, 5, true, "4b6174616c6f67", "234a23465b3723457e5f7e3051"},
    {6, 5, true, "466f7263654e6577526567", "234d2342573f23467e487e38235f7c6d7e6c2c5b"},
    {6, 5, false, "433a5c4c657869766f", "235d426c23452353f9d3234b964e"},
    {6, 5, true, "433a5c4c657869766f", "235d426c234523537e677e41234b7c454e"},
    {4, 1, false, "000306090c0f1215181b1e212427", "c9413b4fb623509fcb262bd7632359613d"},
    {11, 3, true, "ff807e237c00", "23437c2f7c6566424b54"},
    {12, 5, false, "4b6174616c6f67", "7e307c55234f7c377e492360235851"},
    {13, 6, false, "9cb9eabff3", "6675817d4b89"},
};

TEST(KodTest, KnownScramblings) {
    const TKod& kod = SharedKod();
    for (const Vector& v : kVectors) {
        SCOPED_TRACE(testing::Message() << "AppId " << v.appId << " mode " << v.mode << " flag " << v.flag << " "
                                        << v.plain);
        EXPECT_EQ(kod.Encode(FromHex(v.plain), v.appId, v.mode, v.flag), FromHex(v.scrambled));
        EXPECT_EQ(kod.Decode(FromHex(v.scrambled), v.appId, v.mode, v.flag), FromHex(v.plain));
    }
}

// Scrambled text that no encoding produces still decodes within its own bytes: a marker takes
// whatever follows it, the trailer too.
TEST(KodTest, DecodesMalformedTextByTheArithmetic) {
    const TKod& kod = SharedKod();
    EXPECT_EQ(kod.Decode(FromHex("2341"), 6, 5, false), FromHex("50"));   // marker '#' takes the trailer
    EXPECT_EQ(kod.Decode(FromHex("7c41"), 6, 5, true), FromHex("c3"));    // marker '|' takes the trailer
    EXPECT_EQ(kod.Decode(FromHex("417e"), 6, 5, true), FromHex("2f"));    // a marker as trailer is only a key
    EXPECT_EQ(kod.Decode(FromHex("7e237c"), 6, 5, true), FromHex("d9"));  // escaped byte equal to a marker
    for (int appId = 4; appId <= 13; ++appId) {
        for (bool flag : {false, true}) {
            EXPECT_EQ(kod.Decode("#", appId, 5, flag), "") << "a lone trailer decodes to nothing";
            EXPECT_EQ(kod.Decode("~", appId, 5, flag), "");
        }
    }
}

TEST(KodTest, RoundTripsEveryStringForEveryProductModeAndFlag) {
    const TKod& kod = SharedKod();
    std::mt19937 random(20240611);
    const std::string all = AllByteValues();
    std::vector<std::string> samples = {
        all,         std::string(all.rbegin(), all.rend()), std::string(300, '\0'), std::string(77, '\xff'), "#|~",
        "C:\\Lexivo"};
    for (int i = 0; i < 60; ++i) {
        std::string s(random() % 40 + 1, '\0');
        for (char& c : s)
            c = static_cast<char>(random() & 0xFF);
        samples.push_back(std::move(s));
    }
    // Strings made only of the three markers and the class edges, where escaping is densest.
    const std::string edges("\x00\x20\x21#|~\x7d\x7e\xbe\xbf\xff", 11);
    for (int i = 0; i < 40; ++i) {
        std::string s(random() % 25 + 1, '\0');
        for (char& c : s)
            c = edges[random() % edges.size()];
        samples.push_back(std::move(s));
    }
    for (int appId = -1; appId <= 14; ++appId) {
        for (int mode = 0; mode <= 7; ++mode) {
            for (bool flag : {false, true}) {
                for (const std::string& s : samples) {
                    const std::string scrambled = kod.Encode(s, appId, mode, flag);
                    ASSERT_EQ(kod.Decode(scrambled, appId, mode, flag), s)
                        << "AppId " << appId << " mode " << mode << " flag " << flag << " length " << s.size();
                }
            }
        }
    }
}

TEST(KodTest, EmptyAndOutOfRangeInputsComeBackAsGiven) {
    const TKod& kod = SharedKod();
    const std::string text = "Katalog\x01\xff";
    for (bool flag : {false, true}) {
        EXPECT_EQ(kod.Encode("", 6, 5, flag), "");
        EXPECT_EQ(kod.Decode("", 6, 5, flag), "");
        for (auto [appId, mode] : {std::pair{0, 5}, {14, 5}, {-1, 5}, {6, 0}, {6, 7}, {1, -3}}) {
            EXPECT_EQ(kod.Encode(text, appId, mode, flag), text) << appId << "/" << mode;
            EXPECT_EQ(kod.Decode(text, appId, mode, flag), text) << appId << "/" << mode;
        }
    }
}

TEST(KodTest, AdditiveVariantKeepsLengthAndLowBytesAndIgnoresTheFlag) {
    const TKod& kod = SharedKod();
    const std::string all = AllByteValues();
    for (int appId = 1; appId <= 3; ++appId) {
        for (int mode = 1; mode <= 6; ++mode) {
            const std::string scrambled = kod.Encode(all, appId, mode, false);
            ASSERT_EQ(scrambled.size(), all.size());
            EXPECT_EQ(scrambled, kod.Encode(all, appId, mode, true));
            for (std::size_t i = 0; i < all.size(); ++i) {
                const auto b = static_cast<std::uint8_t>(scrambled[i]);
                if (i < 30) {
                    EXPECT_EQ(b, i);
                } else {
                    EXPECT_GE(b, 30) << "position " << i;
                }
            }
        }
    }
}

// Walks a scrambled string as the decoder does; returns false when a byte that the variant
// escapes appears unescaped.
bool EveryClassByteEscaped(std::string_view scrambled, std::size_t classCount) {
    const auto& classes = kod::kEscapeClasses;
    for (std::size_t i = 0; i + 1 < scrambled.size(); ++i) {
        const auto b = static_cast<std::uint8_t>(scrambled[i]);
        bool isMarker = false;
        for (std::size_t c = 0; c < classCount; ++c) {
            if (b == classes[c].marker) isMarker = true;
        }
        if (isMarker) {
            ++i;                                          // the escaped byte may be anything
            if (i + 1 >= scrambled.size()) return false;  // an escape never swallows the trailer
            continue;
        }
        for (std::size_t c = 0; c < classCount; ++c) {
            if (classes[c].Contains(b)) return false;
        }
    }
    return true;
}

TEST(KodTest, XorVariantsEscapeEveryClassByte) {
    const TKod& kod = SharedKod();
    const std::string all = AllByteValues();
    for (int appId = 4; appId <= 13; ++appId) {
        for (int mode = 1; mode <= 6; ++mode) {
            const bool oneClass = !((appId == 12 || appId == 13) && mode == 5);
            const std::string plain = kod.Encode(all, appId, mode, false);
            EXPECT_TRUE(EveryClassByteEscaped(plain, oneClass ? 1 : 3)) << appId << "/" << mode;
            EXPECT_GT(plain.size(), all.size() + 1) << "class-1 bytes are escaped";
            EXPECT_TRUE(EveryClassByteEscaped(kod.Encode(all, appId, mode, true), 3)) << appId << "/" << mode;
        }
    }
}

TEST(KodTest, FlagMattersOnlyWhereItChoosesTheVariant) {
    const TKod& kod = SharedKod();
    const std::string all = AllByteValues();
    for (int appId : {12, 13}) {
        EXPECT_EQ(kod.Encode(all, appId, 5, false), kod.Encode(all, appId, 5, true));
        EXPECT_NE(kod.Encode(all, appId, 4, false), kod.Encode(all, appId, 4, true));
    }
    for (int appId = 4; appId <= 11; ++appId)
        EXPECT_NE(kod.Encode(all, appId, 5, false), kod.Encode(all, appId, 5, true));
}

// Registry text: the three-class variant writes printable ASCII only, and no XOR variant writes NUL.
TEST(KodTest, ScrambledRegistryTextIsPrintableWithoutNul) {
    const TKod& kod = SharedKod();
    std::mt19937 random(7);
    std::vector<std::string> samples = {AllByteValues(), "Katalog", "ForceNewReg", "C:\\Program Files\\Lexivo"};
    for (int i = 0; i < 50; ++i) {
        std::string s(random() % 30 + 1, '\0');
        for (char& c : s)
            c = static_cast<char>(random() & 0xFF);
        samples.push_back(std::move(s));
    }
    for (int appId = 4; appId <= 13; ++appId) {
        for (const std::string& s : samples) {
            for (char c : kod.Encode(s, appId, 5, true)) {
                ASSERT_TRUE(c >= 33 && c <= 126) << "AppId " << appId << " byte " << int(static_cast<std::uint8_t>(c));
            }
            EXPECT_EQ(kod.Encode(s, appId, 5, false).find('\0'), std::string::npos);
        }
    }
}

}  // namespace
}  // namespace updater::environment
