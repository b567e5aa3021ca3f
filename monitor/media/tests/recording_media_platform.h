#pragma once
// The media keys' platform for unit tests: top-level windows in a z-order the test sets up, a
// registry of string values, an environment, and one log of everything asked of it, in order:
//   "key 176"                          a synthesised system key (down and up)
//   "send iTunes 256 17 0x001D0001"    a bounded send: window name, message, wParam, lParam
//   "post VLC 256 78 0x00310001"
//   "pause 100"
//   "foreground VLC", "forward-attached WMP"
//   "read <key path>|<value name>"
//   "start <path>"
// Windows are named by the test ("iTunes", "VLC", ...) so the log reads by name.

#include "media_platform.h"

#include <cstdio>
#include <map>
#include <set>
#include <string>
#include <utility>
#include <vector>

namespace brenik::monitor::media {

class RecordingMediaPlatform final : public IKeyboardInput,
                                     public IPlayerWindows,
                                     public IPlayerRegistry,
                                     public IProgramStarter,
                                     public ISleepClock {
public:
    MediaPlatform Platform() { return {*this, *this, *this, *this, *this}; }

    // Adds a top-level window below all others; returns its id.
    WindowId AddWindow(const std::string& name, const std::string& className, const std::string& title) {
        windows_.push_back({name, className, title});
        return windows_.size();
    }
    void Hang(const std::string& name) { hung_.insert(name); }
    void SetValue(const std::string& keyPath, const std::string& valueName, const std::string& text) {
        values_[{keyPath, valueName}] = text;
    }
    void SetEnvironment(const std::string& name, const std::string& value) { environment_[name] = value; }

    std::vector<std::string> log;

    // IKeyboardInput
    void TapSystemKey(std::uint8_t virtualKey) override { log.push_back("key " + std::to_string(virtualKey)); }

    // IPlayerWindows
    WindowId Find(const char* className, const char* title) override {
        for (std::size_t i = 0; i < windows_.size(); ++i) {
            if (className != nullptr && windows_[i].className != className) continue;
            if (title != nullptr && windows_[i].title != title) continue;
            return i + 1;
        }
        return kNoWindow;
    }
    WindowId NextInZOrder(WindowId window) override { return window < windows_.size() ? window + 1 : kNoWindow; }
    std::string ClassName(WindowId window) override { return At(window).className; }
    std::string Title(WindowId window) override { return At(window).title; }
    void Post(WindowId window, unsigned message, std::uintptr_t wParam, std::intptr_t lParam) override {
        log.push_back("post " + Message(window, message, wParam, lParam));
    }
    bool SendBounded(WindowId window, unsigned message, std::uintptr_t wParam, std::intptr_t lParam) override {
        log.push_back("send " + Message(window, message, wParam, lParam));
        return hung_.count(At(window).name) == 0;
    }
    void BringToForeground(WindowId window) override { log.push_back("foreground " + At(window).name); }
    void BringForwardAttached(WindowId window) override { log.push_back("forward-attached " + At(window).name); }

    // IPlayerRegistry: a value needs its length plus a terminator.
    std::optional<std::string> ReadString(const char* keyPath, const char* valueName, std::size_t maxBytes) override {
        log.push_back(std::string("read ") + keyPath + "|" + valueName);
        const auto found = values_.find({keyPath, valueName});
        if (found == values_.end() || found->second.size() + 1 > maxBytes) return std::nullopt;
        return found->second;
    }

    // IProgramStarter: "%NAME%" replaced from the environment; an unknown name stays.
    std::optional<std::string> ExpandEnvironment(const std::string& text) override {
        std::string out = text;
        for (const auto& [name, value] : environment_) {
            const std::string token = "%" + name + "%";
            for (std::size_t at = out.find(token); at != std::string::npos; at = out.find(token, at + value.size())) {
                out.replace(at, token.size(), value);
            }
        }
        return out;
    }
    bool Start(const std::string& path) override {
        log.push_back("start " + path);
        return true;
    }

    // ISleepClock
    void SleepMs(unsigned milliseconds) override { log.push_back("pause " + std::to_string(milliseconds)); }

private:
    struct Window {
        std::string name, className, title;
    };
    const Window& At(WindowId window) const { return windows_.at(window - 1); }
    std::string Message(WindowId window, unsigned message, std::uintptr_t wParam, std::intptr_t lParam) const {
        char text[32];
        std::snprintf(text, sizeof text, "0x%08llX", static_cast<unsigned long long>(static_cast<std::uint32_t>(lParam)));
        return At(window).name + " " + std::to_string(message) + " " + std::to_string(wParam) + " " + text;
    }

    std::vector<Window> windows_;
    std::set<std::string> hung_;
    std::map<std::pair<std::string, std::string>, std::string> values_;
    std::map<std::string, std::string> environment_;
};

}  // namespace brenik::monitor::media
