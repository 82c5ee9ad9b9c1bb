#include "platform/mbtext.h"

namespace kestrum {

namespace {
// Reads one character at i: a double-byte character is one value (lead << 8 |
// trail); a lead byte at the very end stands alone.
unsigned NextChar(const std::string& s, std::size_t& i) {
    const auto c = static_cast<unsigned char>(s[i++]);
    if (IsLeadByte(c) && i < s.size()) return unsigned{c} << 8 | static_cast<unsigned char>(s[i++]);
    return c;
}
}  // namespace

// Our own walk on both sides, with the run time's lead bytes on Windows:
// _mbscmp takes a lead byte at the very end together with the terminator as
// one character and reads on past the terminator, so its result for such a
// name depends on whatever lies beyond the string.
int MbsCompare(const std::string& a, const std::string& b) {
    std::size_t i = 0, j = 0;
    while (i < a.size() && j < b.size()) {
        const unsigned ca = NextChar(a, i);
        const unsigned cb = NextChar(b, j);
        if (ca != cb) return ca < cb ? -1 : 1;
    }
    if (i < a.size()) return 1;
    if (j < b.size()) return -1;
    return 0;
}

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
