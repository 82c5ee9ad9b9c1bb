// The texts a file is shown and found by: "folder\name", the unsigned decimal
// size and the 16-digit upper-case hash.
#pragma once

#include <cstdint>
#include <string>

#include "archive/bsa_archive.h"

namespace kestrum {

inline std::string FileNameText(const BsaFileEntry& file) { return file.folderPath + "\\" + file.fileName; }

inline std::string FileSizeText(const BsaFileEntry& file) { return std::to_string(file.size); }

inline std::string FileHashText(const BsaFileEntry& file) {
    static const char digits[] = "0123456789ABCDEF";
    std::string text(16, '0');
    for (int i = 0; i < 16; ++i) text[15 - i] = digits[(file.hash >> (4 * i)) & 0xF];
    return text;
}

}  // namespace kestrum
