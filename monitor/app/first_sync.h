#pragma once
// The first synchronisation after start-up: job 2 once, 200 ms later (timer 502 of the main
// window), instead of at once (FirstSyncTimer on Windows, a recorder in the tests).

namespace brenik::monitor {

class IFirstSync {
public:
    virtual ~IFirstSync() = default;
    virtual void Schedule() = 0;
};

}  // namespace brenik::monitor
