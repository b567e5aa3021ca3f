#pragma once
// The monitor's state record as the device code borrows it. Each call holds the owner's lock
// for the length of f only: a command builds its report inside Read and stores a reply
// inside Update, and never holds the record while it talks to the keyboard.

#include "state_record.h"

#include <functional>

namespace brenik::monitor::device {

class IStateAccess {
public:
    virtual ~IStateAccess() = default;
    virtual void Read(const std::function<void(const StateRecord&)>& f) = 0;
    virtual void Update(const std::function<void(StateRecord&)>& f) = 0;
};

}  // namespace brenik::monitor::device
