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

}  // namespace kestrum
