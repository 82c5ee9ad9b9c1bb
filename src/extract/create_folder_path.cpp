#include <algorithm>

#include "archive/bsa_archive.h"
#include "extract/separators.h"
#include "platform/folders.h"

namespace kestrum {

// Creates every prefix of path that ends before a "\", then path itself. The
// prefixes' results do not matter (most of them exist already); the last
// creation's result is the answer, so an existing folder counts as a failure.
bool CBsaArchive::CreateFolderPath(std::string path) {
    std::replace(path.begin(), path.end(), '/', '\\');
    if (!path.empty() && path.back() != '\\') path += '\\';

    const std::size_t n = path.size();
    if (n > 4) {
        // The search starts at 0 even where only later separators count:
        // a position in the middle may be a double-byte character's trail byte.
        const std::size_t first = FindBackslash(path, 0);
        // The first three characters are meant as a drive root such as C:\ .
        // They are created only when they end a component: for /tmp/... or a
        // relative "output\x" they would be a stray folder outside the destination.
        const auto separatorAt = [&](std::size_t position) {
            for (std::size_t k = first; k != std::string::npos && k <= position; k = FindBackslash(path, k + 1))
                if (k == position) return true;
            return false;
        };
        if (separatorAt(2) || separatorAt(3)) MakeDirectory(path.substr(0, 3));
        for (std::size_t k = first; k != std::string::npos && k < n - 1; k = FindBackslash(path, k + 1))
            if (k >= 4) MakeDirectory(path.substr(0, k));
    }
    return MakeDirectory(path);
}

}  // namespace kestrum
