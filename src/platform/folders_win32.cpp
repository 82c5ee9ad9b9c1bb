#include "platform/folders.h"

#include <windows.h>
#include <shlwapi.h>

namespace kestrum {

bool IsDirectory(const std::string& path) { return PathIsDirectoryA(path.c_str()) != FALSE; }

bool MakeDirectory(const std::string& path) { return CreateDirectoryA(path.c_str(), nullptr) != FALSE; }

bool PathExists(const std::string& path) { return GetFileAttributesA(path.c_str()) != INVALID_FILE_ATTRIBUTES; }

}  // namespace kestrum
