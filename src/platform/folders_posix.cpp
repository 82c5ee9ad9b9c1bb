#include "platform/folders.h"

#include <sys/stat.h>

#include "platform/os_path.h"

namespace kestrum {

std::string ToOsPath(const std::string& path) {
    std::string os = path;
    for (char& c : os)
        if (c == '\\') c = '/';
    return os;
}

bool IsDirectory(const std::string& path) {
    struct stat st {};
    return !path.empty() && ::stat(ToOsPath(path).c_str(), &st) == 0 && S_ISDIR(st.st_mode);
}

bool MakeDirectory(const std::string& path) {
    return !path.empty() && ::mkdir(ToOsPath(path).c_str(), 0777) == 0;
}

bool PathExists(const std::string& path) {
    struct stat st {};
    return !path.empty() && ::lstat(ToOsPath(path).c_str(), &st) == 0;
}

}  // namespace kestrum
