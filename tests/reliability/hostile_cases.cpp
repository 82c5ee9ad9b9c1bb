#include "hostile_cases.h"

#include <stdexcept>
#include <zlib.h>

#include "bsa_builder.h"

namespace kestrum::test {

namespace {

constexpr std::uint32_t kStored = 3, kCompressed = 7;
constexpr std::uint32_t kFourGiB = 0xFFFFFFFFu;

ArchiveSpec One(const std::string& folder, const std::string& file, std::uint32_t flags = kStored) {
    ArchiveSpec plan;
    plan.archiveFlags = flags;
    plan.folders = {{folder, {{file, "x"}}}};
    return plan;
}

std::function<std::string()> Bytes(ArchiveSpec plan) {
    return [plan] { return BuildArchive(plan).bytes; };
}

std::function<std::string()> Damaged(ArchiveSpec plan, std::function<void(BuiltArchive&)> damage) {
    return [plan, damage] {
        BuiltArchive built = BuildArchive(plan);
        damage(built);
        return built.bytes;
    };
}

ArchiveSpec Sample(std::uint32_t flags = kStored) {
    ArchiveSpec plan;
    plan.archiveFlags = flags;
    plan.folders = {{"a", {{"one.txt", "first file"}, {"two.txt", "second file"}}}, {"b\\c", {{"three.txt", "third"}}}};
    return plan;
}

ArchiveSpec WithFile(std::uint32_t flags, FileSpec file) {
    ArchiveSpec plan;
    plan.archiveFlags = flags;
    plan.folders = {{"a", {std::move(file)}}};
    return plan;
}

std::string Le32(std::uint32_t v) {
    std::string s(4, '\0');
    for (int i = 0; i < 4; ++i) s[i] = static_cast<char>(v >> (8 * i));
    return s;
}

// A zlib stream that needs a preset dictionary to inflate.
std::string DeflateWithDictionary(const std::string& data, const std::string& dictionary) {
    z_stream zs{};
    if (deflateInit(&zs, 9) != Z_OK) throw std::runtime_error("deflateInit");
    deflateSetDictionary(&zs, reinterpret_cast<const Bytef*>(dictionary.data()), static_cast<uInt>(dictionary.size()));
    std::string out(deflateBound(&zs, static_cast<uLong>(data.size())) + 16, '\0');
    zs.next_in = reinterpret_cast<Bytef*>(const_cast<char*>(data.data()));
    zs.avail_in = static_cast<uInt>(data.size());
    zs.next_out = reinterpret_cast<Bytef*>(out.data());
    zs.avail_out = static_cast<uInt>(out.size());
    deflate(&zs, Z_FINISH);
    out.resize(zs.total_out);
    deflateEnd(&zs);
    return out;
}

using Files = std::map<std::string, std::string>;

std::vector<HostileCase> MakeCases() {
    const std::string text = "hostile archives must not hurt";
    std::vector<HostileCase> cases = {
        // Names that try to leave the destination.
        {"backslash parent folders", Bytes(One("..\\..", "evil.txt")), 0, {8}, Files{}},
        {"backslash parent in the middle", Bytes(One("a\\..\\..\\..", "evil.txt")), 0, {8}, Files{}},
        {"slash parent folders", Bytes(One("../..", "evil.txt")), 0, {8}, Files{}},
        {"slash parent in the file name", Bytes(One("a", "../../evil.txt")), 0, {8}, Files{}},
        {"backslash parent in the file name", Bytes(One("a", "..\\..\\evil.txt")), 0, {8}, Files{}},
        {"file name ..", Bytes(One("a", "..")), 0, {8}, Files{}},
        {"file name .", Bytes(One("a", ".")), 0, {8}, Files{}},
        {"folder ...", Bytes(One("...", "f")), 0, {8}, Files{}},
        {"folder . .", Bytes(One(". .", "f")), 0, {8}, Files{}},
        {"folder .", Bytes(One(".", "f")), 0, {8}, Files{}},
        {"drive letter folder", Bytes(One("C:\\Windows", "evil.txt")), 0, {8}, Files{}},
        {"drive-relative file name", Bytes(One("a", "C:evil.txt")), 0, {8}, Files{}},
        {"alternate data stream", Bytes(One("a", "name:stream")), 0, {8}, Files{}},
        {"device name CON", Bytes(One("a", "CON")), 0, {8}, Files{}},
        {"device name with extension", Bytes(One("a", "nul.txt")), 0, {8}, Files{}},
        {"device name as folder", Bytes(One("b\\com1", "f")), 0, {8}, Files{}},
        {"device name LPT9 with extension", Bytes(One("a", "LPT9.dat")), 0, {8}, Files{}},
        {"control byte in a file name", Bytes(One("a", "x\x01y")), 0, {8}, Files{}},
        {"tab in a folder name", Bytes(One("a\tb", "f")), 0, {8}, Files{}},
        {"empty file name", Bytes(One("a", "")), 0, {8}, Files{}},
        // Names that look odd but land inside.
        {"empty folder path", Bytes(One("", "root.txt")), 0, {0}, Files{{"root.txt", "x"}}},
        {"leading backslash", Bytes(One("\\a", "f")), 0, {0}, Files{{"a/f", "x"}}},
        {"UNC form", Bytes(One("\\\\server\\share", "evil.txt")), 0, {0}, Files{{"server/share/evil.txt", "x"}}},
        {"absolute slash folder", Bytes(One("/etc", "evil.txt")), 0, {0}, Files{{"etc/evil.txt", "x"}}},
        {"trailing dot", Bytes(One("a", "name.")), 0, {0}, std::nullopt},    // Windows drops the dot
        {"trailing space", Bytes(One("a", "name ")), 0, {0}, std::nullopt},  // Windows drops the space
        {"two entries, one name", Bytes([] {
             ArchiveSpec s;
             s.folders = {{"a", {{"f", "first"}, {"f", "second"}}}};
             return s;
         }()), 0, {0, 0}, Files{{"a/f", "second"}}},
        // Directories that point outside themselves or claim too much.
        {"folder offset past the directory", Damaged(Sample(), [](BuiltArchive& b) { PatchLe32(b.bytes, b.folderRecords[1] + 12, 0x7FFFFFF0u); }), 4, {}, Files{}},
        {"folder offset before the directory", Damaged(Sample(), [](BuiltArchive& b) { PatchLe32(b.bytes, b.folderRecords[0] + 12, 0); }), 4, {}, Files{}},
        {"name length byte past the directory", Damaged(Sample(), [](BuiltArchive& b) { b.bytes[b.folderBlocks[1]] = static_cast<char>(0xFF); }), 4, {}, Files{}},
        {"folder file count 4 Gi", Damaged(Sample(), [](BuiltArchive& b) { PatchLe32(b.bytes, b.folderRecords[0] + 8, kFourGiB); }), 4, {}, Files{}},
        {"header counts overflow 32 bits", Damaged(Sample(), [](BuiltArchive& b) {
             for (std::size_t f = 16; f <= 28; f += 4) PatchLe32(b.bytes, f, kFourGiB);
         }), 4, {}, Files{}},
        {"file-name table claims 4 GiB", Damaged(Sample(), [](BuiltArchive& b) { PatchLe32(b.bytes, 28, kFourGiB); }), 4, {}, Files{}},
        {"folder count claims 4 Gi", Damaged(Sample(), [](BuiltArchive& b) { PatchLe32(b.bytes, 16, kFourGiB); }), 4, {}, Files{}},
        // Data blocks that claim too much or are damaged.
        {"stored size claims 4 GiB", Bytes(WithFile(kStored, {"f", text, 0, kFourGiB})), 0, {6}, Files{}},
        {"compressed size claims 4 GiB", Bytes(WithFile(kCompressed, {"f", text, 0, kFourGiB})), 0, {6}, Files{}},
        {"prefix claims 4 GiB", Bytes(WithFile(kCompressed, {"f", text, 0, {}, {}, kFourGiB})), 0, {0}, Files{{"a/f", text}}},
        {"prefix smaller than the data", Bytes(WithFile(kCompressed, {"f", text, 0, {}, {}, 5})), 0, {10}, Files{}},
        {"stream with a preset dictionary",
         Bytes(WithFile(kCompressed, {"f", "", 0, {}, {}, {}, Le32(30) + DeflateWithDictionary(text, "hostile")})), 0, {10}, Files{}},
        {"truncated stream", Bytes(WithFile(kCompressed, {"f", "", 0, {}, {}, {}, [&] {
             const std::string z = Deflate(std::string(5000, 'k') + text);
             return Le32(5030) + z.substr(0, z.size() / 2);
         }()})), 0, {10}, Files{}},
        {"damaged stream", Bytes(WithFile(kCompressed, {"f", "", 0, {}, {}, {}, [&] {
             std::string z = Deflate(text);
             for (std::size_t i = 2; i + 4 < z.size(); ++i) z[i] = static_cast<char>(z[i] ^ 0x5A);
             return Le32(static_cast<std::uint32_t>(text.size())) + z;
         }()})), 0, {10}, Files{}},
        {"compressed block shorter than its prefix", Bytes(WithFile(kCompressed, {"f", "", 0, {}, {}, {}, std::string("\x10\x00\x00", 3)})), 0, {10}, Files{}},
        {"data past the end", Damaged(WithFile(kStored, {"f", text}), [](BuiltArchive& b) {
             PatchLe32(b.bytes, b.fileRecords[0] + 12, static_cast<std::uint32_t>(b.bytes.size() - 3));
         }), 0, {6}, Files{}},
        {"offset 4 GiB with size 0", Bytes(WithFile(kStored, {"f", "", 0, 0, kFourGiB})), 0, {0}, Files{{"a/f", ""}}},
    };
    return cases;
}

}  // namespace

const std::vector<HostileCase>& HostileCases() {
    static const std::vector<HostileCase> cases = MakeCases();
    return cases;
}

}  // namespace kestrum::test
