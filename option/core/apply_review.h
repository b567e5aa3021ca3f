#pragma once
// "Review changes": exactly what an Apply will send to the keyboard, report by report, in the
// order the monitor's apply job sends them, derived from the same comparison that sets the
// change flags (editing/change_flags.h). Lines also name what changes without reaching the
// keyboard (a name, a sound; a key the keyboard has no block for; a profile whose key
// assignments stay in the computer), so nothing the user changed is left out of the list.

#include "state_record.h"

#include <string>
#include <vector>

namespace brenik::option {

struct ReviewLine {
    int profile = -1;  // 0..4, or -1 for the keyboard as a whole
    int key = -1;      // key entry 0..43, or -1
    int report = 0;    // the report id sent, 0 for a line that sends nothing
    std::string text;  // "Profile 1, key 5: macro \"Fire\" (report 20)"
};

// before: the block as the window last read it (the apply itself compares with the block as it
// reads it then, which differs only when the keyboard changed something meanwhile); after: the
// same with the user's edits made. Empty when the two are the same; else the reports, then the
// token every apply ends with, then what is kept without a report.
std::vector<ReviewLine> ReviewApply(const StateRecord& before, const StateRecord& after);
// The token's line, for an apply that changes only what the review does not see (the display's
// settings): the monitor is told, and issues a token all the same.
ReviewLine TokenLine();

}  // namespace brenik::option
