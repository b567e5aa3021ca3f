#include "event_relay.h"

namespace brenik::kbhid {

void EventRelay::SetPresence(bool plugged, IEventSink& sink) {
    if (plugged == plugged_) return;
    plugged_ = plugged;
    sink.DeviceChanged(plugged);
}

void EventRelay::OnBatch(const vkb::pipe::EventBatch& batch, IEventSink& sink) {
    for (const vkb::pipe::Event& event : batch.events) {
        switch (event.kind) {
        case vkb::pipe::EventKind::kKeyEvent:
            sink.KeyEvent(event.eventClass, event.subCode);
            break;
        case vkb::pipe::EventKind::kArrived:
            SetPresence(true, sink);
            break;
        case vkb::pipe::EventKind::kRemoved:
            SetPresence(false, sink);
            break;
        }
    }
    // Covers changes that happened while no cursor was held (just connected, or events
    // dropped because this client fell too far behind).
    SetPresence(batch.plugged, sink);
    cursor_ = batch.nextCursor;
}

void EventRelay::OnServerLost(IEventSink& sink) {
    cursor_ = 0;
    SetPresence(false, sink);
}

}  // namespace brenik::kbhid
