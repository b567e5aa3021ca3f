#pragma once
// Game detection's timer as the device sequences see it: it runs while the keyboard is here.
// GameWatch (game_watch_win32.h) is the timer, the foreground notice and the looks they make.

namespace brenik::monitor::games {

// Timer 500 of the monitor's window: one look at the foreground program every 2000 ms.
constexpr unsigned kTimerDetectGame = 500;
constexpr unsigned kTimerDetectGameMs = 2000;

class IGameWatch {
public:
    virtual ~IGameWatch() = default;
    virtual void Start() = 0;
    virtual void Stop() = 0;
};

}  // namespace brenik::monitor::games
