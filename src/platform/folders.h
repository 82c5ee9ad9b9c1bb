// Folders, with the meanings of the Windows calls the program is written for:
// is-directory of a path, and creation of one folder (an existing one is a
// failure). Paths use "\" as separator; POSIX maps it to "/" at the OS edge.
#pragma once

#include <string>

namespace kestrum {

bool IsDirectory(const std::string& path);
bool MakeDirectory(const std::string& path);
// True when anything (file or folder) exists at path.
bool PathExists(const std::string& path);

}  // namespace kestrum
