// From the text a file is shown by ("folder\name") to the file: built once per
// opened archive so that a selected row or leaf needs no scan of the catalogue.
#pragma once

#include <cstdint>
#include <string>
#include <unordered_map>
#include <vector>

#include "archive/bsa_archive.h"
#include "archive/file_texts.h"

namespace kestrum {

class FileTextIndex {
public:
    // Texts compare byte for byte, as _mbscmp's equality does; of two files
    // with the same text the first in catalogue order is the one found.
    void Build(const std::vector<BsaFileEntry>& files) {
        m_first.clear();
        m_first.reserve(files.size());
        for (std::size_t i = 0; i < files.size(); ++i)
            m_first.try_emplace(FileNameText(files[i]), static_cast<std::int32_t>(i));
    }

    // The file's index, or -1 when no file has that text.
    std::int32_t Find(const std::string& text) const {
        const auto it = m_first.find(text);
        return it == m_first.end() ? -1 : it->second;
    }

private:
    std::unordered_map<std::string, std::int32_t> m_first;
};

}  // namespace kestrum
