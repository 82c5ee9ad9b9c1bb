// POSIX only: a program path ("\" separators) as the file system takes it.
#pragma once

#include <string>

namespace kestrum {

std::string ToOsPath(const std::string& path);

}  // namespace kestrum
