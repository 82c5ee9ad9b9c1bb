// Names that come out of an archive are text in a Windows code page. Windows
// uses them as they are; POSIX converts them (default Windows-1252) to the
// locale's UTF-8 before they reach the file system or the terminal.
#pragma once

#include <string>

namespace kestrum {

// Sets the code page of archive names by iconv name ("CP1252", "CP932", ...).
// Returns false when the name is unknown. Has no effect on Windows.
bool SetArchiveCodePage(const std::string& iconvName);

// Converts archive text to the text the OS and terminal take. Bytes that do not
// convert are replaced, never dropped silently into a different name.
std::string ArchiveTextToOs(const std::string& text);

}  // namespace kestrum
