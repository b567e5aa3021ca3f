#pragma once
// What the media keys need of the platform, in small interfaces: synthesised keyboard input,
// the players' windows, registry reads, starting a program, and the clock for the pauses
// between keystrokes (ISleepClock). The Windows layer is media_platform_win32.*; the unit
// tests record every call in one log.
//
// Everything here runs on the monitor's window thread, so nothing may wait without bound: a
// player that hangs costs at most kPlayerAnswerTimeoutMs per message sent to it.

#include "abortable_sleep.h"
#include "desktop.h"  // WindowId

#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>

namespace brenik::monitor::media {

// The longest the window thread waits for a player to take one sent message. A hung window
// (one that has not answered for the system's five seconds) gives up at once.
constexpr unsigned kPlayerAnswerTimeoutMs = 500;

class IKeyboardInput {
public:
    virtual ~IKeyboardInput() = default;
    // A key-down then a key-up of the virtual key, as input from the keyboard: extended-key
    // flag, scan code 0, no extra information. Goes to whichever window has the focus.
    virtual void TapSystemKey(std::uint8_t virtualKey) = 0;
};

class IPlayerWindows {
public:
    virtual ~IPlayerWindows() = default;
    // The first top-level window in z-order with that class and title; a null class or title
    // matches any. kNoWindow when there is none.
    virtual WindowId Find(const char* className, const char* title) = 0;
    // The top-level window below this one in z-order, or kNoWindow at the bottom.
    virtual WindowId NextInZOrder(WindowId window) = 0;
    // Class and title, each read up to 260 characters.
    virtual std::string ClassName(WindowId window) = 0;
    virtual std::string Title(WindowId window) = 0;

    virtual void Post(WindowId window, unsigned message, std::uintptr_t wParam, std::intptr_t lParam) = 0;
    // Sends and waits until the window has handled it, at most kPlayerAnswerTimeoutMs; false
    // when it did not (hung, too slow, or gone).
    virtual bool SendBounded(WindowId window, unsigned message, std::uintptr_t wParam, std::intptr_t lParam) = 0;

    virtual void BringToForeground(WindowId window) = 0;
    // Restores the window if it is minimised and brings it to the foreground, with the input
    // of the foreground window's thread attached to this thread meanwhile (so the system lets
    // a background program hand the foreground on).
    virtual void BringForwardAttached(WindowId window) = 0;
};

class IPlayerRegistry {
public:
    virtual ~IPlayerRegistry() = default;
    // A string value below HKEY_LOCAL_MACHINE ("" names the default value) of at most maxBytes
    // bytes with its terminator; read only, never creating a key. nullopt when the key or
    // value is missing or longer.
    virtual std::optional<std::string> ReadString(const char* keyPath, const char* valueName, std::size_t maxBytes) = 0;
};

class IProgramStarter {
public:
    virtual ~IProgramStarter() = default;
    // The text with environment variables ("%SystemRoot%") replaced; nullopt if that fails.
    virtual std::optional<std::string> ExpandEnvironment(const std::string& text) = 0;
    // Runs the program at the path, shown normally; false if it could not be started.
    virtual bool Start(const std::string& path) = 0;
};

struct MediaPlatform {
    IKeyboardInput& keyboard;
    IPlayerWindows& windows;
    IPlayerRegistry& registry;
    IProgramStarter& programs;
    ISleepClock& clock;
};

}  // namespace brenik::monitor::media
