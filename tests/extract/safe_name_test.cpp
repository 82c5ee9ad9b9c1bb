#include <gtest/gtest.h>

#include "extract/safe_name.h"
#include "platform/mbtext.h"

using namespace kestrum;

namespace {

struct NameCase {
    const char* relative;
    bool safe;
};

}  // namespace

TEST(SafeName, RefusesEveryPathThatLeavesTheDestinationOrNamesNoFile) {
    const NameCase cases[] = {
        // Ordinary names, and empty components, which stay below the destination.
        {"meshes\\armor\\iron.nif", true},
        {"iron.nif", true},
        {"\\iron.nif", true},              // empty folder path
        {"a\\\\b\\iron.nif", true},        // doubled separator
        {"a/b/iron.nif", true},
        {"\\\\server\\share\\x", true},    // leading separators only add empty components
        {"..hidden\\x..", true},           // dots beside other characters
        {". a\\.x\\x. .y", true},
        {"CONSOLE\\COM10\\LPT0\\acon.txt", true},  // near misses of device names
        // Components made only of dots and spaces.
        {"..\\evil.dll", false},
        {"..\\..\\..\\windows\\system32\\evil.dll", false},
        {"textures\\..\\..\\evil.dll", false},
        {"\\..\\evil.dll", false},
        {"a\\..", false},
        {"../evil", false},
        {"a/../../evil", false},
        {"a\\../evil", false},
        {".\\x", false},
        {"...\\x", false},
        {". .\\x", false},
        {" ..\\x", false},
        {"a\\ ", false},
        {"..", false},
        // Drive letters, streams and control bytes.
        {"C:\\evil.dll", false},
        {"a\\C:evil", false},
        {"a\\b.txt:stream", false},
        {"a\\b\x01.txt", false},
        {"tab\tname", false},
        {"a\\\x1F", false},
        // Device names in any case, with or without an extension.
        {"CON", false},
        {"a\\con.txt", false},
        {"Nul.dds", false},
        {"aux\\x", false},
        {"PRN.log", false},
        {"a\\COM1", false},
        {"com9.x.y", false},
        {"LPT1", false},
        {"lpt9.txt", false},
        {"NUL .txt", false},
        // No file name.
        {"", false},
        {"a\\", false},
        {"a/b/", false},
    };
    for (const NameCase& c : cases)
        EXPECT_EQ(IsSafeRelativePath(c.relative), c.safe) << '"' << c.relative << '"';
}

#ifdef _WIN32
// Windows reads the text in the ANSI code page: a trail byte 0x5C is part of
// its character, not a separator, so a name ending in one is a name.
TEST(SafeName, DoubleByteTrailBytesAreNotSeparators) {
    SetMultibyteCodePage(932);
    EXPECT_TRUE(IsSafeRelativePath("\x95\x5C"));           // a kanji whose trail byte is 0x5C
    EXPECT_TRUE(IsSafeRelativePath("a\\\x83\x5C.."));      // a katakana and two dots: one component
    EXPECT_FALSE(IsSafeRelativePath("\x83\x5C\\..\\x"));   // the real separator after it still counts
    SetMultibyteCodePage(0);
    EXPECT_FALSE(IsSafeRelativePath("\x95\\"));            // in a single-byte page it is a separator
}
#else
// On POSIX the text checked is UTF-8, where every "\" byte is a separator.
TEST(SafeName, Utf8NamesSplitAtEveryBackslash) {
    SetMultibyteCodePage(932);  // must not matter for text that has been converted
    EXPECT_FALSE(IsSafeRelativePath("\xE4\xB8\x81\\..\\x"));
    EXPECT_TRUE(IsSafeRelativePath("\xE4\xB8\x81\\x"));
    SetMultibyteCodePage(0);
}
#endif
