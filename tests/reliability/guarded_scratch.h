// A scratch folder for extracting hostile archives: the destination sits inside
// a tree of sentinel files, and Verify() proves that nothing outside the
// destination changed and that the archive itself is untouched.
#pragma once

#include <filesystem>
#include <map>
#include <string>

#include "test_support.h"

namespace kestrum::test {

class GuardedScratch {
public:
    explicit GuardedScratch(const std::string& archiveBytes);

    const std::string& archive() const { return m_archive; }
    const std::string& destination() const { return m_destination; }

    // Empty when all is well; otherwise what changed outside the destination.
    std::string Verify() const;
    // Files written inside the destination, relative to it, with "/" separators.
    std::map<std::string, std::string> Written() const;

private:
    std::map<std::string, std::string> Snapshot() const;

    TempDir m_root;
    std::string m_archive, m_destination, m_archiveBytes;
    std::map<std::string, std::string> m_before;
};

}  // namespace kestrum::test
