#include "ansi_text_win32.h"

#include "option_resources.h"
#include "option_strings_win32.h"

#include <windows.h>

namespace brenik::option {
namespace {

// The character (a surrogate pair counts as one) starting at index i.
std::wstring CharacterAt(std::wstring_view wide, std::size_t i) {
    const bool pair = IS_HIGH_SURROGATE(wide[i]) && i + 1 < wide.size() && IS_LOW_SURROGATE(wide[i + 1]);
    return std::wstring(wide.substr(i, pair ? 2 : 1));
}

// WideCharToMultiByte to the ANSI code page, telling whether a character had no place in it.
// A UTF-8 code page holds every character but takes neither the best-fit flag nor the default
// character; there only a broken surrogate pair fails.
int ToAnsi(std::wstring_view wide, char* bytes, int size, bool& lost) {
    BOOL usedDefault = FALSE;
    const bool utf8 = GetACP() == CP_UTF8;
    const int n = WideCharToMultiByte(CP_ACP, utf8 ? WC_ERR_INVALID_CHARS : WC_NO_BEST_FIT_CHARS, wide.data(),
                                      static_cast<int>(wide.size()), bytes, size, nullptr, utf8 ? nullptr : &usedDefault);
    lost = n <= 0 || usedDefault;
    return n;
}

bool FitsCodePage(std::wstring_view character) {
    char bytes[8];
    bool lost = false;
    ToAnsi(character, bytes, sizeof bytes, lost);
    return !lost;
}

}  // namespace

std::wstring WideFromAnsi(std::string_view ansi) {
    if (ansi.empty()) return {};
    const int n = MultiByteToWideChar(CP_ACP, 0, ansi.data(), static_cast<int>(ansi.size()), nullptr, 0);
    std::wstring wide(static_cast<std::size_t>(n), L'\0');
    MultiByteToWideChar(CP_ACP, 0, ansi.data(), static_cast<int>(ansi.size()), wide.data(), n);
    return wide;
}

std::optional<std::string> AnsiFromWide(std::wstring_view wide, std::wstring& refusedCharacter) {
    if (wide.empty()) return std::string();
    bool lost = false;
    const int n = ToAnsi(wide, nullptr, 0, lost);
    if (lost) {
        for (std::size_t i = 0; i < wide.size(); ++i) {
            const std::wstring character = CharacterAt(wide, i);
            if (!FitsCodePage(character)) {
                refusedCharacter = character;
                return std::nullopt;
            }
            i += character.size() - 1;
        }
        refusedCharacter = std::wstring(wide.substr(0, 1));
        return std::nullopt;
    }
    std::string ansi(static_cast<std::size_t>(n), '\0');
    ToAnsi(wide, ansi.data(), n, lost);
    return ansi;
}

std::wstring NotInCodePageMessage(const std::wstring& character) {
    return Format(IDS_NOT_IN_CODE_PAGE, character.c_str(), GetACP());
}

}  // namespace brenik::option
