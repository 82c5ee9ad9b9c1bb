// Text in the system's ANSI code page, compared and searched without ever
// splitting a double-byte character (the semantics of _mbscmp and _mbsstr).
#pragma once

#include <cstddef>
#include <string>
#include <string_view>

namespace kestrum {

// <0, 0, >0 like _mbscmp: byte order, a double-byte character compared whole
// (lead << 8 | trail); a lead byte at the very end compares as itself.
int MbsCompare(std::string_view a, std::string_view b);

// Position of the first occurrence of needle in text at a character boundary
// at or after start (itself a boundary), like _mbsstr on text + start; npos
// when there is none.
std::size_t MbsFind(const std::string& text, const std::string& needle, std::size_t start = 0);
constexpr std::size_t kNotFound = std::string::npos;

// Selects the multibyte code page (0 or a single-byte page: every byte is a
// character; 932, 936, 949, 950: double-byte lead bytes). Windows: _setmbcp.
void SetMultibyteCodePage(int codePage);

// True when byte c starts a double-byte character in the current code page.
bool IsLeadByte(unsigned char c);

}  // namespace kestrum
