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

    // Puts other bytes in the archive's place for the next round in the same
    // scratch. What earlier rounds wrote stays in the destination: it may
    // change a later round's result, never where that round may write.
    void Reset(const std::string& archiveBytes);
    // Empties the destination: Wine looks names up by scanning the folder, so a
    // destination left to grow over thousands of rounds slows every round down.
    void ClearDestination() const;

    // Empty when all is well; otherwise what changed outside the destination.
    std::string Verify() const;
    // Files written inside the destination, relative to it, with "/" separators.
    std::map<std::string, std::string> Written() const;

private:
    std::map<std::string, std::string> Snapshot() const;

    TempDir m_root;
    std::string m_archive, m_destination;
    std::map<std::string, std::string> m_before;
};

}  // namespace kestrum::test
