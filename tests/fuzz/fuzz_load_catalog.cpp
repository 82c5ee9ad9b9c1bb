// Any bytes at all, loaded as an archive: the loader must answer with a code,
// never crash, read outside its buffer or allocate beyond the file's size.
#include <cstddef>
#include <cstdint>
#include <string>

#include "archive/bsa_archive.h"
#include "fuzz_support.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    static kestrum::fuzz::Scratch scratch;
    const std::string path = scratch.WriteArchive(data, size);
    kestrum::CBsaArchive archive;
    const std::int32_t code = archive.LoadCatalog(path);
    if (code < 0 || code > 4) __builtin_trap();
    if (code != 0 && !archive.m_files.empty()) __builtin_trap();
    return 0;
}
