// Windows only: multibyte text in a given code page as UTF-16, for the wide
// calls of the system.
#pragma once

#ifdef _WIN32

#include <string>

namespace kestrum {

std::wstring WideFromCodePage(const std::string& text, unsigned codePage);

}  // namespace kestrum

#endif
