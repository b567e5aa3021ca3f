#include "notice_composer.h"

#include "debug_output.h"
#include "profile_record.h"

namespace brenik::osd {
namespace {

std::string Numbered(const char* word, int number) { return std::string(word) + " " + std::to_string(number); }

}  // namespace

std::optional<Notice> NoticeComposer::Compose(const NoticeRequest& request) const {
    switch (request.kind) {
        case NoticeKind::kProfile:
            return Profile(request.value);
        case NoticeKind::kMessage:
            return Message();
        case NoticeKind::kMacro:
            return Macro();
        case NoticeKind::kWindowsKey:
            return Notice{request.kind, "Windows key", request.value != 0 ? "Locked" : "Unlocked"};
        case NoticeKind::kVolume:
            return Notice{request.kind, "Volume", std::to_string(request.value) + "%", request.value};
    }
    return std::nullopt;
}

Notice NoticeComposer::Profile(int index) const {
    // Profiles count from 1 wherever a user reads them.
    const std::string numbered = Numbered("Profile", index + 1);
    const std::optional<std::string> stored = names_.ProfileName(index);
    const std::string name = stored ? DisplayText(*stored, kMaxProfileNameBytes, isLeadByte_) : "";
    if (name.empty()) return Notice{NoticeKind::kProfile, "", numbered};
    return Notice{NoticeKind::kProfile, numbered, name};
}

std::optional<Notice> NoticeComposer::Message() const {
    const std::string stored = config_.ReadString(kOsdTextSection, kOsdTextKey, "");
    const std::string text = DisplayText(stored, kMaxMessageBytes, isLeadByte_);
    if (text.empty()) {
        DebugPrintf("Brenik OSD shows no text message: [%s] %s in %s is empty\n", kOsdTextSection, kOsdTextKey,
                    config_.Path().c_str());
        return std::nullopt;
    }
    return Notice{NoticeKind::kMessage, "Message", text};
}

std::optional<Notice> NoticeComposer::Macro() const {
    const int number = config_.ReadInt(kMacroOsdSection, kMacroOsdNumberKey, -1);
    const bool hasKey = number >= 0 && number < kKeyEntryCount;
    const std::string stored = config_.ReadString(kMacroOsdSection, kMacroOsdNameKey, "");
    const std::string name = DisplayText(stored, kMaxMacroNameBytes, isLeadByte_);
    if (!hasKey && name.empty()) {
        DebugPrintf("Brenik OSD shows no macro: [%s] in %s holds neither a key number nor a name\n", kMacroOsdSection,
                    config_.Path().c_str());
        return std::nullopt;
    }
    const std::string caption = hasKey ? Numbered("Macro on key", number + 1) : "Macro";
    return Notice{NoticeKind::kMacro, caption, name.empty() ? "Unnamed macro" : name};
}

}  // namespace brenik::osd
