// Seed corpus for the fuzz targets: archives of every shape the builder makes.
#include <cstdio>
#include <filesystem>
#include <string>

#include "bsa_builder.h"
#include "test_support.h"

using namespace kestrum::test;

int main(int argc, char** argv) {
    if (argc != 2) {
        std::fprintf(stderr, "usage: kestrum-make-seeds OUTDIR\n");
        return 64;
    }
    const std::filesystem::path dir(argv[1]);
    std::filesystem::create_directories(dir);
    ArchiveSpec plan;
    plan.folders = {{"meshes\\armor", {{"a.nif", "iron iron iron"}, {"b.nif", ""}}},
                    {"textures", {{"c.dds", std::string(300, 'x')}}},
                    {"", {{"root.txt", "r"}}},
                    {"empty", {}}};
    int n = 0;
    const auto save = [&](const std::string& bytes) { WriteBytes(dir / ("seed" + std::to_string(n++) + ".bsa"), bytes); };
    for (std::uint32_t flags : {3u, 7u}) {
        plan.archiveFlags = flags;
        save(BuildArchive(plan).bytes);
    }
    save(BuildArchive({}).bytes);
    ArchiveSpec traversal;
    traversal.folders = {{"..\\..", {{"evil.txt", "x"}}}, {"a", {{"..", "y"}}}};
    save(BuildArchive(traversal).bytes);
    traversal.archiveFlags = 7;
    save(BuildArchive(traversal).bytes);
    // Seeds for the name guard: "folder" NUL "name".
    for (const char* pair : {"a\\b", "..\\..", "C:\\x", "\\\\server\\share", ". .", "com1", "a/../b"}) {
        const std::string seed = std::string(pair) + std::string(1, '\0') + "file.txt";
        WriteBytes(dir / ("name" + std::to_string(n++) + ".txt"), seed);
    }
    return 0;
}
