#pragma once
// The key page's figures, measured on a running Brenik Option.exe started at 144 DPI: the
// repaint of the whole drawn keyboard against the repaint of the profiles page (a page of plain
// controls) in the same window, and a key press until the page has picked that key against the
// same key press until an edit box shows it.

#include <string>

namespace brenik::option::bench {

struct KeyPageFigures {
    double keyboardRepaintMs = 0;  // median of the rounds
    double plainPageRepaintMs = 0;
    double pressToPickMs = 0;      // best of the rounds
    double pressToEchoMs = 0;
    int dpi = 0;                   // the DPI the window ran at
};

// optionExe: the installed program, with the monitor running beside it.
bool MeasureKeyPage(const std::string& optionExe, KeyPageFigures& figures);

}  // namespace brenik::option::bench
