#include "media_keys.h"

namespace brenik {

MediaKeys::MediaKeys(WorkingCopy& state, IDesktop& desktop) : state_(state), desktop_(desktop) {}

// The players arrive with the media keys.
void MediaKeys::OnKey(std::uint8_t, std::uint8_t) {}

}  // namespace brenik
