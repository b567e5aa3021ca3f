#pragma once
// A desktop for tests: windows that exist by title, and a log of everything asked of it: one
// list per kind of request, and `actions`, every post, bring-forward and start in the order
// asked ("post <title> <message> <wParam> <lParam>", "forward <title>", "open <path>").

#include "desktop.h"

#include <map>
#include <string>
#include <vector>

namespace brenik::test {

struct PostedMessage {
    std::string title;
    unsigned message;
    std::uintptr_t wParam;
    std::intptr_t lParam;
    bool operator==(const PostedMessage& o) const {
        return title == o.title && message == o.message && wParam == o.wParam && lParam == o.lParam;
    }
};

class RecordingDesktop final : public IDesktop {
public:
    // Makes a window with this title exist.
    void Open(const std::string& title) { windows_[title] = windows_.size() + 100; }

    WindowId FindWindowByTitle(const char* title) override {
        searched.push_back(title);
        const auto found = windows_.find(title);
        return found == windows_.end() ? kNoWindow : found->second;
    }
    bool Post(WindowId window, unsigned message, std::uintptr_t wParam, std::intptr_t lParam) override {
        for (const auto& [title, id] : windows_) {
            if (id != window) continue;
            posted.push_back({title, message, wParam, lParam});
            actions.push_back("post " + title + " " + std::to_string(message) + " " + std::to_string(wParam) + " " +
                              std::to_string(lParam));
        }
        return true;
    }
    void BringForward(WindowId window) override {
        for (const auto& [title, id] : windows_) {
            if (id != window) continue;
            broughtForward.push_back(title);
            actions.push_back("forward " + title);
        }
    }
    bool ShellOpen(const std::string& path) override {
        opened.push_back(path);
        actions.push_back("open " + path);
        return true;
    }

    std::vector<std::string> searched;
    std::vector<PostedMessage> posted;
    std::vector<std::string> broughtForward;
    std::vector<std::string> opened;
    std::vector<std::string> actions;

private:
    std::map<std::string, WindowId> windows_;
};

}  // namespace brenik::test
