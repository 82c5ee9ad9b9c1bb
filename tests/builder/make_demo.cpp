// Writes the demo archives that `make run` shows: demo.bsa (stored) and
// demo-deflate.bsa (zlib), both with the same nested folders and files.
#include <cstdio>
#include <filesystem>
#include <string>

#include "bsa_builder.h"
#include "test_support.h"

using namespace kestrum::test;

static std::string Text(const std::string& line, int times) {
    std::string s;
    for (int i = 0; i < times; ++i) s += line + " " + std::to_string(i) + "\n";
    return s;
}

int main(int argc, char** argv) {
    if (argc != 2) {
        std::fprintf(stderr, "usage: kestrum-make-demo OUTDIR\n");
        return 64;
    }
    ArchiveSpec plan;
    plan.folders = {
        {"meshes\\armor\\iron",
         {{"cuirass.nif", Text("iron cuirass mesh", 200), 0x6303A1F3A5E8D1C2ull},
          {"helmet.nif", Text("iron helmet mesh", 120), 0x6806B2C1D3E4F5A6ull}},
         0x7A3B5C7D9E1F2031ull},
        {"meshes\\clutter", {{"bucket.nif", Text("wooden bucket", 40), 0x62060C7B9A8F7E6Dull}}, 0x6D0BC4E2F1A3B5C7ull},
        {"textures\\armor\\iron",
         {{"cuirass.dds", Text("iron cuirass texture", 300), 0x63078E6D5C4B3A29ull},
          {"cuirass_n.dds", Text("iron cuirass normal map", 300), 0x630A1B2C3D4E5F60ull}},
         0x741378E9D0C1B2A3ull},
        {"sound\\fx", {{"door_open.wav", Text("creak", 500), 0x640D9F8E7D6C5B4Aull}}, 0x73081A2B3C4D5E6Full},
        {"interface", {{"readme.txt", "Kestrum demo archive.\n", 0x72067E5D4C3B2A19ull}}, 0x69096A7B8C9DAEBFull},
    };
    const std::filesystem::path dir(argv[1]);
    std::filesystem::create_directories(dir);
    plan.archiveFlags = 3;
    WriteBytes(dir / "demo.bsa", BuildArchive(plan).bytes);
    plan.archiveFlags = 7;
    WriteBytes(dir / "demo-deflate.bsa", BuildArchive(plan).bytes);
    return 0;
}
