#include "display_text.h"

namespace brenik::osd {

std::string DisplayText(std::string_view raw, std::size_t maxBytes, LeadBytePredicate isLeadByte) {
    const std::size_t end = raw.find('\0');
    if (end != std::string_view::npos) raw = raw.substr(0, end);

    std::string text(raw);
    for (char& c : text) {
        const auto byte = static_cast<unsigned char>(c);
        if (byte < 0x20 || byte == 0x7F) c = ' ';
    }
    const std::size_t first = text.find_first_not_of(' ');
    if (first == std::string::npos) return "";
    text.erase(0, first);
    while (!text.empty() && text.back() == ' ') text.pop_back();
    if (text.size() <= maxBytes) return text;

    // Walk character by character so that the cut never splits a lead byte from its trail.
    std::size_t cut = 0;
    while (cut < maxBytes) {
        const bool twoBytes = isLeadByte != nullptr && isLeadByte(static_cast<unsigned char>(text[cut])) &&
                              cut + 1 < text.size();
        const std::size_t width = twoBytes ? 2 : 1;
        if (cut + width > maxBytes) break;
        cut += width;
    }
    text.resize(cut);
    while (!text.empty() && text.back() == ' ') text.pop_back();
    return text + kCutMark;
}

}  // namespace brenik::osd
