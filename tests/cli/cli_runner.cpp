#include "cli_runner.h"

#include <cstdio>
#include <iostream>

#ifdef _WIN32
#include <io.h>
#define dup _dup
#define dup2 _dup2
#define close _close
#define fileno _fileno
#else
#include <unistd.h>
#endif

#include "cli/cli.h"
#include "test_support.h"

namespace kestrum::test {

namespace {
void FlushAll() {
    std::cout.flush();
    std::cerr.flush();
    std::fflush(stdout);
    std::fflush(stderr);
}

// Points file descriptor fd at path for as long as it lives.
class Redirect {
public:
    Redirect(int fd, const std::string& path) : m_fd(fd), m_saved(dup(fd)), m_file(std::fopen(path.c_str(), "wb")) {
        dup2(fileno(m_file), m_fd);
    }
    ~Redirect() {
        dup2(m_saved, m_fd);
        close(m_saved);
        std::fclose(m_file);
    }

private:
    int m_fd;
    int m_saved;
    std::FILE* m_file;
};
}  // namespace

CliRun RunCliCaptured(const std::vector<std::string>& args) {
    TempDir dir;
    const std::string outPath = dir.Join("stdout"), errPath = dir.Join("stderr");
    CliRun run{};
    FlushAll();
    {
        Redirect out(1, outPath), err(2, errPath);
        run.status = cli::RunCli(args);
        FlushAll();
    }
    run.out = ReadBytes(outPath);
    run.err = ReadBytes(errPath);
#ifdef _WIN32
    // The C run time writes text mode: CR LF back to LF for comparisons.
    for (std::string* s : {&run.out, &run.err}) {
        std::string plain;
        for (std::size_t i = 0; i < s->size(); ++i)
            if (!((*s)[i] == '\r' && i + 1 < s->size() && (*s)[i + 1] == '\n')) plain += (*s)[i];
        *s = plain;
    }
#endif
    return run;
}

}  // namespace kestrum::test
