#pragma once
// One notice as the display shows it: an optional small caption, the main text (one line, or
// a few for a text message), and for the volume a bar.

#include "notice_request.h"

#include <string>

namespace brenik::osd {

struct Notice {
    NoticeKind kind = NoticeKind::kMessage;
    std::string caption;  // may be empty: then only the main text shows
    std::string text;
    int barPercent = -1;  // 0..100 draws the bar filled that far; -1 draws none

    bool HasBar() const { return barPercent >= 0; }
    // Only a text message may run over several lines; every other text is one line.
    bool Wraps() const { return kind == NoticeKind::kMessage; }
};

}  // namespace brenik::osd
