// The lParams of the keystroke messages, against the bit layout a real keystroke has.

#include "keystroke_lparam.h"
#include "media_key_codes.h"

#include <gtest/gtest.h>

namespace brenik::monitor::media {
namespace {

TEST(KeystrokeLParam, DownAndUpOfEveryKeySent) {
    const struct {
        std::uint8_t vk;
        std::uint32_t down, up;
    } cases[] = {
        {kVkControl, 0x001D0001, 0xC01D0001}, {kVkRight, 0x014D0001, 0xC14D0001}, {kVkLeft, 0x014B0001, 0xC14B0001},
        {kVkSpace, 0x00390001, 0xC0390001},   {kVkN, 0x00310001, 0xC0310001},     {kVkP, 0x00190001, 0xC0190001},
        {kVkS, 0x001F0001, 0xC01F0001},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(KeyDownLParam(c.vk), c.down) << int{c.vk};
        EXPECT_EQ(KeyUpLParam(c.vk), c.up) << int{c.vk};
    }
}

TEST(KeystrokeLParam, UnknownKeyHasScanCodeZero) {
    EXPECT_EQ(KeyDownLParam('Q'), 0x00000001u);
    EXPECT_EQ(KeyUpLParam('Q'), 0xC0000001u);
}

}  // namespace
}  // namespace brenik::monitor::media
