#include "game_detection.h"

#include <utility>

namespace brenik {

GameDetection::GameDetection(WorkingCopy& state, std::function<void(int)> switchProfile)
    : state_(state), switchProfile_(std::move(switchProfile)) {}

// The look at the foreground program arrives with game detection.
void GameDetection::DetectGame() {}

}  // namespace brenik
