#pragma once
// NoticeComposer: the words of each notice, from the request and what the monitor left for
// the display. Texts are read when the notice arrives, each time afresh: the monitor writes
// them into config.ini before it posts the notice.
//
//   profile      caption "Profile 2", text the profile's name from the shared block; when the
//                name cannot be read (no block, the lock busy) or is empty: text "Profile 2"
//                and no caption
//   text message caption "Message", text [OSDData] Message; refused when empty
//   macro        caption "Macro on key 5" ([MacroOSD] Number 4, counted from 0), or "Macro"
//                when the number is missing or no key's; text [MacroOSD] MacroName, or
//                "Unnamed macro" when it is empty; refused when there is neither a key
//                number nor a name
//   Windows key  caption "Windows key", text "Locked" or "Unlocked"
//   volume       caption "Volume", text "42%", a bar filled to 42
//
// Every text from outside is cut (display_text.h): profile names at 64 bytes, macro names at
// 31 (the most the monitor stores), messages at 150 (the most a text message carries).

#include "config_ini_keys.h"
#include "display_text.h"
#include "ini_file.h"
#include "notice.h"
#include "notice_request.h"
#include "text_message_block.h"

#include <cstddef>
#include <optional>
#include <string>

namespace brenik::osd {


constexpr std::size_t kMaxProfileNameBytes = 64;
constexpr std::size_t kMaxMacroNameBytes = 31;
constexpr std::size_t kMaxMessageBytes = kTextMessageMaxChars;

// Where the profile names come from: the shared block, on Windows.
class IProfileNames {
public:
    virtual ~IProfileNames() = default;
    // The name of profile index 0..4 as stored, up to its terminator; nullopt when it cannot
    // be read now.
    virtual std::optional<std::string> ProfileName(int index) = 0;
};

class NoticeComposer {
public:
    NoticeComposer(const ini::CIniFile& config, IProfileNames& names, LeadBytePredicate isLeadByte = nullptr)
        : config_(config), names_(names), isLeadByte_(isLeadByte) {}

    // The notice to show, or nullopt (with a debugger line) when there is nothing to show.
    std::optional<Notice> Compose(const NoticeRequest& request) const;

private:
    Notice Profile(int index) const;
    std::optional<Notice> Message() const;
    std::optional<Notice> Macro() const;

    const ini::CIniFile& config_;
    IProfileNames& names_;
    LeadBytePredicate isLeadByte_;
};

}  // namespace brenik::osd
