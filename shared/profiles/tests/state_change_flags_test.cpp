#include "state_change_flags.h"

#include <gtest/gtest.h>

#include <cstring>
#include <memory>

namespace brenik {
namespace {

TEST(ClearChangeFlags, ZeroesTheFlagsAndNothingElse) {
    auto state = std::make_unique<StateRecord>();
    std::memset(state.get(), 0xCD, sizeof *state);
    ClearChangeFlags(*state);

    // Byte ranges [from, to) of the flags: per-key flags, lighting, profile, standard keys,
    // lock keys, Fn status. The volume level (434248) sits between them and stays.
    const struct {
        std::size_t from, to;
    } kFlags[] = {{433408, 434248}, {434252, 434272}, {434272, 434276}, {434276, 434296}, {434296, 434316}, {434316, 434336}};
    const auto* bytes = reinterpret_cast<const unsigned char*>(state.get());
    for (std::size_t i = 0; i < sizeof *state; ++i) {
        bool flag = false;
        for (const auto& range : kFlags) flag = flag || (i >= range.from && i < range.to);
        ASSERT_EQ(bytes[i], flag ? 0x00 : 0xCD) << "byte " << i;
    }
}

}  // namespace
}  // namespace brenik
