#include "platform/file.h"

#include <windows.h>

namespace kestrum {

namespace {
std::string SystemMessage(DWORD code) {
    char* text = nullptr;
    const DWORD n = FormatMessageA(FORMAT_MESSAGE_ALLOCATE_BUFFER | FORMAT_MESSAGE_FROM_SYSTEM |
                                       FORMAT_MESSAGE_IGNORE_INSERTS,
                                   nullptr, code, 0, reinterpret_cast<char*>(&text), 0, nullptr);
    std::string message = n ? std::string(text, n) : "system error " + std::to_string(code);
    if (text) LocalFree(text);
    while (!message.empty() && (message.back() == '\n' || message.back() == '\r' || message.back() == '.'))
        message.pop_back();
    return message;
}

[[noreturn]] void Raise(const char* operation, const std::string& path, DWORD code = GetLastError()) {
    throw FileError(std::string(operation) + ": " + SystemMessage(code), path);
}
}  // namespace

FileError::FileError(const std::string& what, const std::string& path)
    : std::runtime_error(what + " (" + path + ")"), m_path(path) {}

CFile::~CFile() { Abort(); }

bool CFile::Open(const std::string& path, unsigned flags) {
    Abort();
    const DWORD access = (flags & modeWrite) ? GENERIC_WRITE : GENERIC_READ;
    const DWORD disposition = (flags & modeCreate) ? CREATE_ALWAYS : OPEN_EXISTING;
    HANDLE h = CreateFileA(path.c_str(), access, 0 /* no sharing */, nullptr, disposition,
                           FILE_ATTRIBUTE_NORMAL, nullptr);
    if (h == INVALID_HANDLE_VALUE) return false;
    m_handle = h;
    m_path = path;
    return true;
}

std::uint32_t CFile::Read(void* buffer, std::uint32_t count) {
    auto* out = static_cast<char*>(buffer);
    std::uint32_t done = 0;
    while (done < count) {
        DWORD n = 0;
        if (!ReadFile(m_handle, out + done, count - done, &n, nullptr)) Raise("read", m_path);
        if (n == 0) break;
        done += n;
    }
    return done;
}

std::uint64_t CFile::Seek(std::uint64_t position, SeekPosition) {
    LARGE_INTEGER to, reached;
    to.QuadPart = static_cast<LONGLONG>(position);
    if (!SetFilePointerEx(m_handle, to, &reached, FILE_BEGIN)) Raise("seek", m_path);
    return static_cast<std::uint64_t>(reached.QuadPart);
}

void CFile::Write(const void* buffer, std::uint32_t count) {
    const auto* in = static_cast<const char*>(buffer);
    std::uint32_t done = 0;
    while (done < count) {
        DWORD n = 0;
        if (!WriteFile(m_handle, in + done, count - done, &n, nullptr)) Raise("write", m_path);
        if (n == 0) Raise("write", m_path, ERROR_DISK_FULL);
        done += n;
    }
}

std::uint64_t CFile::GetLength() const {
    LARGE_INTEGER size;
    if (!GetFileSizeEx(m_handle, &size)) Raise("size", m_path);
    return static_cast<std::uint64_t>(size.QuadPart);
}

void CFile::Close() {
    if (!IsOpen()) return;
    HANDLE h = m_handle;
    m_handle = INVALID_HANDLE_VALUE;
    if (!CloseHandle(h)) Raise("close", m_path);
}

void CFile::Abort() noexcept {
    if (IsOpen()) CloseHandle(m_handle);
    m_handle = INVALID_HANDLE_VALUE;
}

bool CFile::IsOpen() const { return m_handle != INVALID_HANDLE_VALUE; }

bool RemoveFile(const std::string& path) { return DeleteFileA(path.c_str()) != 0; }

}  // namespace kestrum
