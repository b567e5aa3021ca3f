#include "launch_choice.h"

namespace brenik::updater {

FirstDialog ChooseFirstDialog(const std::string& argument) {
    if (argument.empty()) return FirstDialog::kConfirm;
    switch (argument[0]) {
        case '1':
        case '2':
            return FirstDialog::kConfirm;
        case '0':
            return FirstDialog::kDriver;
        default:
            return FirstDialog::kUpdate;
    }
}

std::string ResolveImagePath(const std::string& programFolder, const std::string& name) {
    if (name.empty()) return "";
    if (name.find('\\') != std::string::npos) return name;
    return programFolder + name;
}

std::string ImageFileName(const std::string& path) {
    const std::size_t slash = path.rfind('\\');
    return slash == std::string::npos ? path : path.substr(slash + 1);
}

std::string MonitorPathFor(const std::string& programFolder) {
    std::string folder = programFolder;
    while (!folder.empty() && folder.back() == '\\') folder.pop_back();
    const std::size_t slash = folder.rfind('\\');
    if (slash == std::string::npos) return "";
    return folder.substr(0, slash) + "\\Monitor.EXE";
}

}  // namespace brenik::updater
