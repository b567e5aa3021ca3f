#include "ini_value_codec.h"

#include <gtest/gtest.h>

#include <array>
#include <cstdint>
#include <string>

namespace brenik::ini {
namespace {

TEST(IniIntTest, ReadsAsThePlatformDoes) {
    struct Case {
        const char* text;
        int expected;
    };
    // Rows 0 to 7 are the platform's own results for these values.
    const Case cases[] = {
        {"-1", -1},                  // 0
        {"1", 1},                    // 1
        {"+1", 1},                   // 2
        {"4294967296", 0},           // 3 wraps at 32 bits
        {"4294967297", 1},           // 4
        {"-4294967297", -1},         // 5
        {"42A94967297", 42},         // 6 digits up to the first other character
        {"B4294967297", 0},          // 7 not a number: 0, not the default
        {"  17", 17},                // 8
        {"0x10", 16},                // 9
        {"0b101", 5},                // 10
        {"0o17", 15},                // 11
        {"0X10", 0},                 // 12 only the lower-case prefix is one
        {"2147483647", 2147483647},  // 13
        {"-2147483648", -2147483647 - 1},  // 14
    };
    for (std::size_t i = 0; i < std::size(cases); ++i) {
        EXPECT_EQ(ParseInt(cases[i].text), cases[i].expected) << "row " << i << ": " << cases[i].text;
    }
    // Only 29 characters are read: the first 29 digits, wrapped at 32 bits.
    std::uint32_t wrapped = 0;
    for (char c : std::string("12345678901234567890123456789")) wrapped = wrapped * 10 + static_cast<std::uint32_t>(c - '0');
    EXPECT_EQ(ParseInt("12345678901234567890123456789012"), static_cast<int>(wrapped));
}

TEST(IniIntTest, FormatsAsPercentD) {
    EXPECT_EQ(FormatInt(-1), "-1");
    EXPECT_EQ(FormatInt(0), "0");
    EXPECT_EQ(FormatInt(-2147483647 - 1), "-2147483648");
    for (int value : {-1, 0, 7, 255, -300, 2147483647}) EXPECT_EQ(ParseInt(FormatInt(value)), value);
}

TEST(IniStructTest, EncodesUpperCaseHexAndSumModulo256) {
    // The platform's own example: "abacus" and its NUL.
    const std::string abacus("abacus", 7);
    EXPECT_EQ(EncodeStruct(reinterpret_cast<const std::uint8_t*>(abacus.data()), abacus.size()), "616261637573006F");
    const std::uint8_t high[] = {0xFF, 0xFF, 0xAB};
    EXPECT_EQ(EncodeStruct(high, 3), "FFFFABA9");
    EXPECT_EQ(EncodeStruct(nullptr, 0), "00");
}

TEST(IniStructTest, DecodeRefusesWithoutTouchingTheDestination) {
    struct Case {
        const char* text;
        std::size_t size;
        bool ok;
    };
    const Case cases[] = {
        {"6361637475730083", 7, true},     // 0 "cactus"
        {"636163747573006F", 7, false},    // 1 checksum of another record
        {"636163747573008Q", 7, false},    // 2 not a hex digit
        {"6361637475730083", 6, false},    // 3 stored 7 bytes, asked 6
        {"6361637475730083", 8, false},    // 4 stored 7 bytes, asked 8
        {"63616374757300830", 7, false},   // 5 one digit too many
        {"636163747573008", 7, false},     // 6 one digit too few
        {"", 0, false},                    // 7 an empty value is not even a checksum
        {"00", 0, true},                   // 8
        {" 6361637475730083", 7, false},   // 9 blanks are trimmed before this, never inside
    };
    for (std::size_t i = 0; i < std::size(cases); ++i) {
        std::array<std::uint8_t, 8> dest;
        dest.fill(0xCC);
        EXPECT_EQ(DecodeStruct(cases[i].text, dest.data(), cases[i].size), cases[i].ok) << "row " << i;
        if (!cases[i].ok) {
            for (std::uint8_t b : dest) EXPECT_EQ(b, 0xCC) << "row " << i << " touched the destination";
        }
    }
    std::array<std::uint8_t, 7> cactus{};
    ASSERT_TRUE(DecodeStruct("6361637475730083", cactus.data(), cactus.size()));
    EXPECT_EQ(std::string(reinterpret_cast<const char*>(cactus.data())), "cactus");
    // Lower-case digits are read too (the platform's reader accepts them).
    EXPECT_TRUE(DecodeStruct("ffff", cactus.data(), 1));
    EXPECT_EQ(cactus[0], 0xFF);
}

TEST(IniStructTest, OneChangedDigitFailsTheChecksum) {
    std::array<std::uint8_t, 16> token{};
    for (std::size_t i = 0; i < token.size(); ++i) token[i] = static_cast<std::uint8_t>(i * 37 + 5);
    const std::string text = EncodeStruct(token.data(), token.size());
    for (std::size_t i = 0; i < text.size(); ++i) {
        std::string damaged = text;
        damaged[i] = damaged[i] == '0' ? '1' : '0';
        std::array<std::uint8_t, 16> out{};
        EXPECT_FALSE(DecodeStruct(damaged, out.data(), out.size())) << "digit " << i;
    }
    std::array<std::uint8_t, 16> out{};
    ASSERT_TRUE(DecodeStruct(text, out.data(), out.size()));
    EXPECT_EQ(out, token);
}

TEST(IniStringTest, ReadsAreCutAt2047Characters) {
    const std::string long3000(3000, 'x');
    EXPECT_EQ(CutToReadLimit(long3000), std::string(2047, 'x'));
    EXPECT_EQ(CutToReadLimit("short"), "short");
}

}  // namespace
}  // namespace brenik::ini
