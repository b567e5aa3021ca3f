#pragma once
// The virtual backend's monitor thread asks the server for the events after its cursor and
// hands each one to the sink in order. Presence is kept in step with what the server says:
// an arrival or removal that the sink has already been told of is not told twice, and when
// the server cannot be reached (it was stopped, or never started) a keyboard the sink knew
// as present is reported removed; reaching it again with the keyboard plugged in reports
// an arrival, as a real keyboard appearing would.

#include "device_backend.h"
#include "pipe_protocol.h"

#include <cstdint>

namespace brenik::kbhid {

class EventRelay {
public:
    explicit EventRelay(bool pluggedAtStart) : plugged_(pluggedAtStart) {}

    // The cursor to send with the next request: 0 (events from now on) until the server
    // has answered since the last loss.
    std::uint32_t Cursor() const { return cursor_; }
    bool Plugged() const { return plugged_; }

    void OnBatch(const vkb::pipe::EventBatch& batch, IEventSink& sink);
    void OnServerLost(IEventSink& sink);

private:
    void SetPresence(bool plugged, IEventSink& sink);

    bool plugged_;
    std::uint32_t cursor_ = 0;
};

}  // namespace brenik::kbhid
