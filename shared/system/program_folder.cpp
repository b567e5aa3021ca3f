#include "program_folder.h"

namespace brenik {

std::string FolderOfPath(std::string_view modulePath) {
    const std::size_t slash = modulePath.find_last_of("\\/");
    if (slash != modulePath.npos) return std::string(modulePath.substr(0, slash + 1));
    if (modulePath.size() >= 2 && modulePath[1] == ':') return std::string(modulePath.substr(0, 2));
    return "";
}

}  // namespace brenik
