#include "platform/mbtext.h"

#include <array>

namespace kestrum {

namespace {
std::array<bool, 256>& LeadBytes() {
    static std::array<bool, 256> table{};
    return table;
}

void MarkLeads(int from, int to) {
    for (int c = from; c <= to; ++c) LeadBytes()[c] = true;
}

// Reads one character at i: a double-byte character is one value (lead << 8 |
// trail); a lead byte at the very end stands alone.
unsigned NextChar(const std::string& s, std::size_t& i) {
    const auto c = static_cast<unsigned char>(s[i++]);
    if (IsLeadByte(c) && i < s.size()) return unsigned{c} << 8 | static_cast<unsigned char>(s[i++]);
    return c;
}
}  // namespace

void SetMultibyteCodePage(int codePage) {
    LeadBytes().fill(false);
    switch (codePage) {
        case 932:  // Shift JIS
            MarkLeads(0x81, 0x9F);
            MarkLeads(0xE0, 0xFC);
            break;
        case 936:  // GBK
        case 949:  // Unified Hangul
        case 950:  // Big5
            MarkLeads(0x81, 0xFE);
            break;
        default:
            break;
    }
}

bool IsLeadByte(unsigned char c) { return LeadBytes()[c]; }

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

}  // namespace kestrum
