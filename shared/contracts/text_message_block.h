#pragma once
// The text message another program sends the monitor for the on-screen display: WM_COPYDATA
// to the monitor's window with a block of exactly kTextMessageBytes bytes (dwData is not
// read). Byte 0 is not used; the text starts at byte 1 and ends at the first zero, or after
// kTextMessageMaxChars characters. A block of any other length is refused; every block is
// answered "handled". The monitor stores the text in config.ini for the display
// (kOsdTextSection / kOsdTextKey of config_ini_keys.h).

#include <cstddef>

namespace brenik {

constexpr std::size_t kTextMessageBytes = 151;
constexpr std::size_t kTextMessageStart = 1;
constexpr std::size_t kTextMessageMaxChars = kTextMessageBytes - kTextMessageStart;

}  // namespace brenik
