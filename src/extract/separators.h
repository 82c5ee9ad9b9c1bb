// Where the file system will split a path this program composes. Windows reads
// the text in the ANSI code page, so a double-byte character's trail byte is
// never a separator there. On POSIX the text has already been converted to
// UTF-8, where no byte of a multibyte character can be "\" or "/", and every
// "\" becomes "/" at the OS edge, so each of those bytes is a separator.
#pragma once

#include <cstddef>
#include <string>

namespace kestrum {

// Position of the first "\" at or after start; std::string::npos when none.
std::size_t FindBackslash(const std::string& text, std::size_t start);

// Position of the first "\" or "/" at or after start; std::string::npos when none.
std::size_t FindSeparator(const std::string& text, std::size_t start);

}  // namespace kestrum
