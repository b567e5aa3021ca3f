#pragma once
// Where the current profile's key-repeat settings go: the system's keyboard delay and speed.
// The Windows layer passes them to the system (keyboard_repeat_win32.cpp); tests record them.

namespace brenik {

class IKeyboardRepeatSink {
public:
    virtual ~IKeyboardRepeatSink() = default;
    // Values are passed as the profile holds them (platform ranges 0..3 and 0..31); the
    // system's answer is of no interest to anyone.
    virtual void SetKeyboardDelay(int delay) = 0;
    virtual void SetKeyboardSpeed(int speed) = 0;
};

// The running system's settings; defined by the Windows layer.
IKeyboardRepeatSink& SystemKeyboardRepeat();

}  // namespace brenik
