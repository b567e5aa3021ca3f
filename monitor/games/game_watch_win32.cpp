#include "game_watch_win32.h"

#include <utility>

namespace brenik::monitor::games {

GameWatch::GameWatch(WorkingCopy& state, std::function<void(int)> switchProfile)
    : detection_(state, processes_, std::move(switchProfile)) {}

void GameWatch::Close() {
    Stop();
    hook_.Remove();
}

void GameWatch::Start() { timerRunning_ = SetTimer(window_, kTimerDetectGame, kTimerDetectGameMs, nullptr) != 0; }

void GameWatch::Stop() {
    KillTimer(window_, kTimerDetectGame);
    timerRunning_ = false;
}

void GameWatch::OnForegroundChanged() {
    if (timerRunning_) detection_.DetectGame();
}

}  // namespace brenik::monitor::games
