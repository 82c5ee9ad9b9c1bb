// Any bytes that load as an archive, extracted file by file with and without
// paths: every call ends with one of the extractor's codes, and nothing is
// ever written beside the destination folder, which lies four folders deep.
#include <cstddef>
#include <cstdint>
#include <filesystem>
#include <string>

#include "archive/bsa_archive.h"
#include "fuzz_support.h"

namespace fs = std::filesystem;

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    static kestrum::fuzz::Scratch scratch;
    const std::string path = scratch.WriteArchive(data, size);
    kestrum::CBsaArchive archive;
    if (archive.LoadCatalog(path) != 0) return 0;

    const fs::path root = scratch.dir().path();
    const fs::path dest = root / "a" / "b" / "c" / "dest";
    fs::remove_all(root / "a");
    fs::create_directories(dest);
    const auto files = static_cast<std::int32_t>(std::min<std::size_t>(archive.m_files.size(), 64));
    for (int withoutPath = 0; withoutPath < 2; ++withoutPath) {
        for (std::int32_t i = 0; i < files; ++i) {
            const int code = archive.ExtractFile(dest.string(), i, withoutPath);
            if (code < 0 || code > 10 || code == 9) __builtin_trap();
        }
    }
    // Only the archive and the chain of folders down to the destination.
    for (auto it = fs::recursive_directory_iterator(root); it != fs::recursive_directory_iterator(); ++it) {
        if (it->path() == dest) {
            it.disable_recursion_pending();
            continue;
        }
        const fs::path rel = fs::relative(it->path(), root);
        if (rel != "input.bsa" && rel != "a" && rel != "a/b" && rel != "a/b/c") __builtin_trap();
    }
    return 0;
}
