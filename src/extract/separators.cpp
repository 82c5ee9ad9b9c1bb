#include "extract/separators.h"

#include <algorithm>

#include "platform/mbtext.h"

namespace kestrum {

#ifdef _WIN32
std::size_t FindBackslash(const std::string& text, std::size_t start) { return MbsFind(text, "\\", start); }

std::size_t FindSeparator(const std::string& text, std::size_t start) {
    return std::min(MbsFind(text, "\\", start), MbsFind(text, "/", start));  // kNotFound is npos
}
#else
std::size_t FindBackslash(const std::string& text, std::size_t start) { return text.find('\\', start); }

std::size_t FindSeparator(const std::string& text, std::size_t start) {
    return text.find_first_of("\\/", start);
}
#endif

}  // namespace kestrum
