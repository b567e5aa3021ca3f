#include "option_strings_win32.h"

#include <algorithm>
#include <cstdarg>
#include <cwchar>
#include <vector>

namespace brenik::option {

std::wstring Text(UINT id) {
    const wchar_t* text = nullptr;
    // With a length of 0, LoadString hands out a pointer into the resource itself.
    const int length = LoadStringW(GetModuleHandleW(nullptr), id, reinterpret_cast<wchar_t*>(&text), 0);
    return length > 0 ? std::wstring(text, static_cast<std::size_t>(length)) : std::wstring();
}

std::wstring Format(UINT id, ...) {
    const std::wstring format = Text(id);
    std::vector<wchar_t> buffer(1024);
    va_list args;
    va_start(args, id);
    const int written = std::vswprintf(buffer.data(), buffer.size(), format.c_str(), args);
    va_end(args);
    return written < 0 ? format : std::wstring(buffer.data(), static_cast<std::size_t>(written));
}

std::wstring FileDialogFilter(UINT id) {
    std::wstring filter = Text(id);
    std::replace(filter.begin(), filter.end(), L'|', L'\0');
    return filter + L'\0';
}

}  // namespace brenik::option
