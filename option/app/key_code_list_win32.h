#pragma once
// The searchable list of key codes: an edit whose words narrow a list box of the codes' names
// (key_code_catalogue.h). The list shows the code a key sends now selected, when the search
// lets it through.

#include <windows.h>

#include <cstdint>
#include <optional>

namespace brenik::option {

class KeyCodeList {
public:
    void Attach(HWND search, HWND list);
    // The search text changed: the list is filled again, the shown code selected if it is there.
    void Refill();
    // The code to show selected; nothing for none.
    void Show(std::optional<std::uint8_t> usage);
    std::optional<std::uint8_t> Selected() const;

private:
    void SelectShown();

    HWND search_ = nullptr;
    HWND list_ = nullptr;
    std::optional<std::uint8_t> shown_;
};

}  // namespace brenik::option
