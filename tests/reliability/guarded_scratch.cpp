#include "guarded_scratch.h"

#include <vector>

namespace fs = std::filesystem;

namespace kestrum::test {

namespace {
// The sentinels stand where classic traversal names would land: beside and
// above the destination, and in folders of their own.
const char* const kSentinels[] = {"sentinel.txt", "evil.txt", "x", "outer/sentinel.txt", "outer/box/sentinel.txt",
                                  "outer/box/evil.txt", "outer/box/x"};
}  // namespace

GuardedScratch::GuardedScratch(const std::string& archiveBytes) {
    for (const char* name : kSentinels) {
        fs::create_directories((m_root.path() / name).parent_path());
        WriteBytes(m_root.path() / name, std::string("sentinel ") + name);
    }
    fs::create_directories(m_root.path() / "outer/box/dest");
    m_destination = (m_root.path() / "outer" / "box" / "dest").string();
    m_archive = (m_root.path() / "archive.bsa").string();
    WriteBytes(m_archive, archiveBytes);
    m_before = Snapshot();
}

void GuardedScratch::Reset(const std::string& archiveBytes) {
    WriteBytes(m_archive, archiveBytes);
    m_before["archive.bsa"] = archiveBytes;
}

void GuardedScratch::ClearDestination() const {
    RemoveTree(m_destination);
    fs::create_directory(m_destination);
}

std::map<std::string, std::string> GuardedScratch::Snapshot() const {
    // A walk of our own, one folder at a time: the recursive iterator of the
    // Windows build's run time was seen to start over under Wine.
    std::map<std::string, std::string> files;
    const fs::path dest(m_destination);
    const std::size_t rootLength = m_root.path().generic_string().size() + 1;
    std::vector<fs::path> pending{m_root.path()};
    while (!pending.empty()) {
        const fs::path folder = pending.back();
        pending.pop_back();
        for (const auto& entry : fs::directory_iterator(folder)) {
            if (entry.path() == dest) continue;
            const std::string key = entry.path().generic_string().substr(rootLength);
            if (entry.is_directory()) {
                files[key] = "<folder>";
                pending.push_back(entry.path());
            } else {
                files[key] = ReadBytes(entry.path());
            }
        }
    }
    return files;
}

std::string GuardedScratch::Verify() const {
    const auto after = Snapshot();
    std::string problems;
    for (const auto& [name, content] : after) {
        const auto was = m_before.find(name);
        if (was == m_before.end()) problems += "appeared outside: " + name + "\n";
        else if (was->second != content) problems += "changed outside: " + name + "\n";
    }
    for (const auto& [name, content] : m_before)
        if (!after.count(name)) problems += "vanished outside: " + name + "\n";
    return problems;
}

std::map<std::string, std::string> GuardedScratch::Written() const {
    std::map<std::string, std::string> files;
    for (const auto& entry : fs::recursive_directory_iterator(m_destination))
        if (entry.is_regular_file())
            files[entry.path().generic_string().substr(fs::path(m_destination).generic_string().size() + 1)] =
                ReadBytes(entry.path());
    return files;
}

}  // namespace kestrum::test
