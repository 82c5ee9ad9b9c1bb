#include "platform/mbtext.h"

namespace kestrum {

// Our own walk on both sides: the C run time of some Windows-compatible
// systems searches bytes only, and a trail byte 0x5C must never match "\".
std::size_t MbsFind(const std::string& text, const std::string& needle, std::size_t start) {
    if (start > text.size()) return kNotFound;
    if (needle.empty()) return start;
    for (std::size_t i = start; i + needle.size() <= text.size();) {
        if (text.compare(i, needle.size(), needle) == 0) return i;
        i += (IsLeadByte(static_cast<unsigned char>(text[i])) && i + 1 < text.size()) ? 2 : 1;
    }
    return kNotFound;
}

}  // namespace kestrum
