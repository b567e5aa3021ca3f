#pragma once
// The server's heart, apart from the pipes: one VirtualKeyboard shared by every kbhid.dll
// client (the monitor and the updater are separate processes and reach the same keyboard)
// and every vkbd command. Each request is handled whole under one lock, so a report is
// never interleaved with another client's.
//
// Key events and presence changes go into a numbered log that every client reads from its
// own cursor, so two programs with a monitor open both see every event.

#include "pipe_protocol.h"
#include "virtual_keyboard.h"

#include <condition_variable>
#include <cstdint>
#include <deque>
#include <functional>
#include <mutex>

namespace brenik::vkb {

class KeyboardService {
public:
    // Events kept for clients that are behind; older ones are dropped.
    static constexpr std::size_t kMaxLoggedEvents = 1024;

    explicit KeyboardService(std::function<std::uint64_t()> nowMicroseconds);

    // One message in, one message out. A message that does not decode is answered with a
    // kRefused reply and a debugger line; the caller goes on serving.
    pipe::Bytes HandleMessage(const std::uint8_t* data, std::size_t size);
    pipe::Reply Handle(const pipe::Request& request);

    // True once a "stop" command was answered; waiting event requests return at once.
    bool StopRequested() const;
    void RequestStop();

    // For tests: run something on the keyboard under the service's lock.
    void WithKeyboard(const std::function<void(VirtualKeyboard&)>& action);

private:
    pipe::Reply SetFeature(const pipe::Request& request);
    pipe::Reply GetFeature(const pipe::Request& request);
    pipe::Reply WaitEvents(const pipe::Request& request);
    pipe::Reply Control(const pipe::Request& request);
    // Moves the keyboard's notices into the log; call with the lock held.
    void CollectNotices();

    mutable std::mutex lock_;
    std::condition_variable logged_;
    VirtualKeyboard keyboard_;
    std::deque<pipe::Event> log_;
    std::uint32_t firstSequence_ = 1;  // number of log_.front(); cursors start at 1 (0 means "from now")
    bool stop_ = false;
};

}  // namespace brenik::vkb
