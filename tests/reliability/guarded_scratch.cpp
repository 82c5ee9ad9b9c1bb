#include "guarded_scratch.h"

namespace fs = std::filesystem;

namespace kestrum::test {

namespace {
// The sentinels stand where classic traversal names would land: beside and
// above the destination, and in folders of their own.
const char* const kSentinels[] = {"sentinel.txt", "evil.txt", "x", "outer/sentinel.txt", "outer/box/sentinel.txt",
                                  "outer/box/evil.txt", "outer/box/x"};
}  // namespace

GuardedScratch::GuardedScratch(const std::string& archiveBytes) : m_archiveBytes(archiveBytes) {
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

std::map<std::string, std::string> GuardedScratch::Snapshot() const {
    std::map<std::string, std::string> files;
    const fs::path dest(m_destination);
    for (auto it = fs::recursive_directory_iterator(m_root.path()); it != fs::recursive_directory_iterator(); ++it) {
        if (it->path() == dest) {
            it.disable_recursion_pending();
            continue;
        }
        const std::string key = fs::relative(it->path(), m_root.path()).generic_string();
        files[key] = it->is_regular_file() ? ReadBytes(it->path()) : std::string("<folder>");
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
            files[fs::relative(entry.path(), m_destination).generic_string()] = ReadBytes(entry.path());
    return files;
}

}  // namespace kestrum::test
