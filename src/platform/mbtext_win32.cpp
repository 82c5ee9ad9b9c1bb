#include "platform/mbtext.h"

#include <mbctype.h>

namespace kestrum {

void SetMultibyteCodePage(int codePage) { _setmbcp(codePage == 0 ? 1252 : codePage); }

bool IsLeadByte(unsigned char c) { return _ismbblead(c) != 0; }

}  // namespace kestrum
