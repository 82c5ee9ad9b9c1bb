#include "platform/file.h"

#include <cerrno>
#include <cstring>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include "platform/os_path.h"

namespace kestrum {

namespace {
[[noreturn]] void Raise(const char* operation, const std::string& path) {
    throw FileError(std::string(operation) + ": " + std::strerror(errno), path);
}
}  // namespace

FileError::FileError(const std::string& what, const std::string& path)
    : std::runtime_error(what + " (" + path + ")"), m_path(path) {}

CFile::~CFile() { Abort(); }

bool CFile::Open(const std::string& path, unsigned flags) {
    Abort();
    int mode = (flags & modeWrite) ? O_WRONLY : O_RDONLY;
    if (flags & modeCreate) mode |= O_CREAT | O_TRUNC;
    const std::string osPath = ToOsPath(path);
    int fd;
    do {
        fd = ::open(osPath.c_str(), mode | O_CLOEXEC, 0666);
    } while (fd < 0 && errno == EINTR);
    if (fd < 0) return false;
    struct stat st {};
    if (::fstat(fd, &st) == 0 && S_ISDIR(st.st_mode)) {  // Windows cannot open a folder as a file
        ::close(fd);
        return false;
    }
    m_fd = fd;
    m_path = path;
    return true;
}

std::uint32_t CFile::Read(void* buffer, std::uint32_t count) {
    auto* out = static_cast<char*>(buffer);
    std::uint32_t done = 0;
    while (done < count) {
        const ssize_t n = ::read(m_fd, out + done, count - done);
        if (n < 0) {
            if (errno == EINTR) continue;
            Raise("read", m_path);
        }
        if (n == 0) break;
        done += static_cast<std::uint32_t>(n);
    }
    return done;
}

std::uint64_t CFile::Seek(std::uint64_t position, SeekPosition) {
    const off_t reached = ::lseek(m_fd, static_cast<off_t>(position), SEEK_SET);
    if (reached < 0) Raise("seek", m_path);
    return static_cast<std::uint64_t>(reached);
}

void CFile::Write(const void* buffer, std::uint32_t count) {
    const auto* in = static_cast<const char*>(buffer);
    std::uint32_t done = 0;
    while (done < count) {
        const ssize_t n = ::write(m_fd, in + done, count - done);
        if (n < 0) {
            if (errno == EINTR) continue;
            Raise("write", m_path);
        }
        if (n == 0) {
            errno = ENOSPC;
            Raise("write", m_path);
        }
        done += static_cast<std::uint32_t>(n);
    }
}

std::uint64_t CFile::GetLength() const {
    struct stat st {};
    if (::fstat(m_fd, &st) != 0) Raise("stat", m_path);
    return static_cast<std::uint64_t>(st.st_size);
}

void CFile::Close() {
    if (m_fd < 0) return;
    const int fd = m_fd;
    m_fd = -1;
    if (::close(fd) != 0 && errno != EINTR) Raise("close", m_path);
}

void CFile::Abort() noexcept {
    if (m_fd >= 0) ::close(m_fd);
    m_fd = -1;
}

bool CFile::IsOpen() const { return m_fd >= 0; }

bool RemoveFile(const std::string& path) { return ::unlink(ToOsPath(path).c_str()) == 0; }

}  // namespace kestrum
