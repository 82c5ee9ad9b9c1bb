// Files the way the program uses them: opened within one operation, exclusive,
// closed on every path. A refused open is a result; every later failure of the
// system (read, seek, write, close, a short write) raises FileError.
#pragma once

#include <cstdint>
#include <stdexcept>
#include <string>

namespace kestrum {

class FileError : public std::runtime_error {
public:
    FileError(const std::string& what, const std::string& path);
    const std::string& path() const { return m_path; }

private:
    std::string m_path;
};

class CFile {
public:
    enum OpenFlags : unsigned {
        modeRead = 0x0000,
        modeWrite = 0x0001,
        modeCreate = 0x1000,
    };
    enum SeekPosition { begin = 0 };

    CFile() = default;
    ~CFile();
    CFile(const CFile&) = delete;
    CFile& operator=(const CFile&) = delete;

    // Opens without sharing: while one CFile holds a file, another open of it
    // fails (on Windows; POSIX has no mandatory exclusion). modeCreate creates
    // or truncates. Returns false when the system refuses the open.
    bool Open(const std::string& path, unsigned flags);
    // Reads up to count bytes; returns how many came back (less at end of file).
    std::uint32_t Read(void* buffer, std::uint32_t count);
    // Moves to an absolute position and returns the position reached.
    std::uint64_t Seek(std::uint64_t position, SeekPosition from = begin);
    // Writes all count bytes or raises.
    void Write(const void* buffer, std::uint32_t count);
    // Size of the open file in bytes.
    std::uint64_t GetLength() const;
    void Close();
    // Closes without raising; for clean-up paths that are already failing.
    void Abort() noexcept;
    bool IsOpen() const;
    const std::string& GetFilePath() const { return m_path; }

private:
    std::string m_path;
#ifdef _WIN32
    void* m_handle = reinterpret_cast<void*>(-1);
#else
    int m_fd = -1;
#endif
};

// Removes a file; false when it could not be removed.
bool RemoveFile(const std::string& path);

}  // namespace kestrum
