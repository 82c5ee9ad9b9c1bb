#include "platform/mbtext.h"

#include <mbctype.h>
#include <mbstring.h>

namespace kestrum {

int MbsCompare(const std::string& a, const std::string& b) {
    return _mbscmp(reinterpret_cast<const unsigned char*>(a.c_str()),
                   reinterpret_cast<const unsigned char*>(b.c_str()));
}

void SetMultibyteCodePage(int codePage) { _setmbcp(codePage == 0 ? 1252 : codePage); }

bool IsLeadByte(unsigned char c) { return _ismbblead(c) != 0; }

}  // namespace kestrum
