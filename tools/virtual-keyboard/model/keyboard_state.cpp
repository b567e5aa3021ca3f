#include "keyboard_state.h"

#include <utility>

namespace brenik::vkb {

KeyboardState::KeyboardState(std::function<std::uint64_t()> clockSource) : clock(std::move(clockSource)) {
    for (ProfileMemory& profile : profiles) profile = FactoryProfile();
}

void KeyboardState::LoseVolatileState() {
    extendedLayer = false;
    hostState = 0;
    countdownStep = 0;
    selection = Selection{};
    status.Reset();
    updateStatus.Reset();
    update.Abandon();
}

int VolumeLevelOf(int volume) {
    if (volume <= 0) return 0;
    const int level = (volume - 1) / 14 + 1;
    return level > 7 ? 7 : level;
}

}  // namespace brenik::vkb
