// Any folder path and file name, put into a one-file archive and extracted:
// the name guard's verdict must match what actually happens on disk. A name it
// passes is written inside the destination and nowhere else; a name it refuses
// gets "Invalid file name." and writes nothing at all.
#include <cstddef>
#include <cstdint>
#include <filesystem>
#include <string>

#include "archive/bsa_archive.h"
#include "bsa_builder.h"
#include "extract/safe_name.h"
#include "fuzz_support.h"
#include "platform/os_names.h"

namespace fs = std::filesystem;

namespace {
// Everything below root except the destination's own subtree.
bool OnlyTheChainOutside(const fs::path& root, const fs::path& dest) {
    for (auto it = fs::recursive_directory_iterator(root); it != fs::recursive_directory_iterator(); ++it) {
        if (it->path() == dest) {
            it.disable_recursion_pending();
            continue;
        }
        const std::string rel = it->path().lexically_relative(root).generic_string();
        if (rel != "input.bsa" && rel != "a" && rel != "a/b" && rel != "a/b/dest") return false;
    }
    return true;
}

std::size_t CountFiles(const fs::path& dest) {
    std::size_t n = 0;
    for (const auto& entry : fs::recursive_directory_iterator(dest)) n += entry.is_regular_file();
    return n;
}
}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    static kestrum::fuzz::Scratch scratch;
    // The input is "folder path" NUL "file name"; names cannot hold a NUL.
    const std::string input(reinterpret_cast<const char*>(data), size);
    const std::size_t split = input.find('\0');
    if (split == std::string::npos || input.find('\0', split + 1) != std::string::npos) return 0;
    const std::string folder = input.substr(0, split), name = input.substr(split + 1);
    if (folder.size() > 200 || name.size() > 200) return 0;

    kestrum::test::ArchiveSpec plan;
    plan.folders = {{folder, {{name, "payload"}}}};
    const std::string bytes = kestrum::test::BuildArchive(plan).bytes;
    const std::string archivePath =
        scratch.WriteArchive(reinterpret_cast<const std::uint8_t*>(bytes.data()), bytes.size());

    const fs::path root = scratch.dir().path();
    const fs::path dest = root / "a" / "b" / "dest";
    fs::remove_all(root / "a");
    fs::create_directories(dest);

    kestrum::CBsaArchive archive;
    if (archive.LoadCatalog(archivePath) != 0) __builtin_trap();
    for (int withoutPath = 0; withoutPath < 2; ++withoutPath) {
        const std::string relative =
            withoutPath ? kestrum::ArchiveTextToOs(name)
                        : kestrum::ArchiveTextToOs(folder) + "\\" + kestrum::ArchiveTextToOs(name);
        const bool safe = kestrum::IsSafeRelativePath(relative);
        const std::size_t before = CountFiles(dest);
        const int code = archive.ExtractFile(dest.string(), 0, withoutPath);
        if (!safe && (code != 8 || CountFiles(dest) != before)) __builtin_trap();
        if (safe && code == 8) __builtin_trap();
        if (!OnlyTheChainOutside(root, dest)) __builtin_trap();
    }
    return 0;
}
