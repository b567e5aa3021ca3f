#pragma once
// The profile names for the notices, from the monitor's shared block, read-only and under its
// lock for the few bytes of one name (shared_state_reader_win32.h).

#include "notice_composer.h"
#include "shared_state_reader_win32.h"

namespace brenik::osd {

class SharedProfileNames final : public IProfileNames {
public:
    std::optional<std::string> ProfileName(int index) override;

private:
    SharedStateReader reader_;
};

}  // namespace brenik::osd
