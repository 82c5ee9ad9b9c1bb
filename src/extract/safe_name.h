// The guard that keeps an archive's names inside the destination folder.
#pragma once

#include <string>

namespace kestrum {

// True when relative, the path that extraction writes below the destination
// (folder path, "\", file name; or the file name alone), stays inside it and
// names a file: no component made only of dots and spaces, no ":" or control
// byte, no Windows device name, and a last component (the file's own name)
// that is not empty. Other empty components are harmless: a leading or doubled
// separator still lands below the destination.
bool IsSafeRelativePath(const std::string& relative);

}  // namespace kestrum
