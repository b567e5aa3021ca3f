// The system's keyboard repeat delay and speed, stored in the user profile and broadcast so
// that running programs pick them up at once.

#include "keyboard_repeat.h"

#include <windows.h>

namespace brenik {
namespace {

constexpr UINT kActionSetKeyboardDelay = 23;  // SPI_SETKEYBOARDDELAY
constexpr UINT kActionSetKeyboardSpeed = 11;  // SPI_SETKEYBOARDSPEED
constexpr UINT kStoreAndBroadcast = 3;        // SPIF_UPDATEINIFILE | SPIF_SENDCHANGE

class SystemParameterSink final : public IKeyboardRepeatSink {
public:
    void SetKeyboardDelay(int delay) override {
        SystemParametersInfoA(kActionSetKeyboardDelay, static_cast<UINT>(delay), nullptr, kStoreAndBroadcast);
    }
    void SetKeyboardSpeed(int speed) override {
        SystemParametersInfoA(kActionSetKeyboardSpeed, static_cast<UINT>(speed), nullptr, kStoreAndBroadcast);
    }
};

}  // namespace

IKeyboardRepeatSink& SystemKeyboardRepeat() {
    static SystemParameterSink sink;
    return sink;
}

}  // namespace brenik
