#include "shared_profile_names_win32.h"

namespace brenik::osd {

std::optional<std::string> SharedProfileNames::ProfileName(int index) { return reader_.ProfileName(index); }

}  // namespace brenik::osd
