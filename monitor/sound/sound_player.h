#pragma once
// ISoundPlayer: plays one sound file by its full path, asynchronously. It returns at once and
// reports nothing: a file that is missing or unreadable, or a busy sound device, means the cue
// is not heard. A new sound cuts off one still playing.

#include <string>

namespace brenik::monitor::sound {

class ISoundPlayer {
public:
    virtual ~ISoundPlayer() = default;
    virtual void PlayFile(const std::string& path) = 0;
};

}  // namespace brenik::monitor::sound
