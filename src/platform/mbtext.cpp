#include "platform/mbtext.h"

namespace kestrum {

namespace {
// Reads one character at i: a double-byte character is one value (lead << 8 |
// trail); a lead byte at the very end stands alone.
unsigned NextChar(std::string_view s, std::size_t& i) {
    const auto c = static_cast<unsigned char>(s[i++]);
    if (IsLeadByte(c) && i < s.size()) return unsigned{c} << 8 | static_cast<unsigned char>(s[i++]);
    return c;
}
}  // namespace

// Our own walk on both sides, with the run time's lead bytes on Windows:
// _mbscmp takes a lead byte at the very end together with the terminator as
// one character and reads on past the terminator, so its result for such a
// name depends on whatever lies beyond the string.
//
// Sorting compares long paths that share long prefixes, so the shared bytes
// are skipped first and characters are decoded only from the one that holds
// the first difference. That character starts at the first differing byte
// unless an odd run of lead-byte values ends just before it: the byte before
// such a run is a single character or a trail byte, so the run pairs up from
// its start, and an odd run leaves a lead byte whose trail is the difference.
int MbsCompare(std::string_view a, std::string_view b) {
    const std::size_t shorter = a.size() < b.size() ? a.size() : b.size();
    std::size_t common = 0;
    while (common < shorter && a[common] == b[common]) ++common;
    std::size_t run = 0;
    while (run < common && IsLeadByte(static_cast<unsigned char>(a[common - run - 1]))) ++run;
    std::size_t i = common - (run % 2), j = i;
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
