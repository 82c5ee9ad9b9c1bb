// What the tests of every room share: scratch folders, whole-file I/O and a
// recorder for the messages the program shows.
#pragma once

#include <filesystem>
#include <string>
#include <vector>

#include "platform/message_box.h"

namespace kestrum::test {

// A fresh folder under the system's temporary folder, removed with everything
// in it when the object goes.
class TempDir {
public:
    TempDir();
    ~TempDir();
    TempDir(const TempDir&) = delete;
    TempDir& operator=(const TempDir&) = delete;

    const std::filesystem::path& path() const { return m_path; }
    // The program's text for a path inside the folder.
    std::string Join(const std::string& relative) const;
    std::string str() const { return m_path.string(); }

private:
    std::filesystem::path m_path;
};

// Removes a folder and everything in it. On Windows it addresses entries as
// "\\?\" paths, so names the system would otherwise trim (a trailing space
// or dot, which Wine lets an extraction create) are removed too.
void RemoveTree(const std::filesystem::path& path);

void WriteBytes(const std::filesystem::path& path, const std::string& bytes);
std::string ReadBytes(const std::filesystem::path& path);

// Records every message shown while it lives, instead of showing it.
class MessageRecorder {
public:
    MessageRecorder();
    ~MessageRecorder();
    const std::vector<std::string>& messages() const { return m_messages; }
    void clear() { m_messages.clear(); }

private:
    std::vector<std::string> m_messages;
    MessageSink m_previous;
};

}  // namespace kestrum::test
