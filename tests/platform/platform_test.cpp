#include <gtest/gtest.h>

#include <random>

#include "platform/file.h"
#include "platform/folders.h"
#include "platform/mbtext.h"
#include "platform/message_box.h"
#include "platform/os_names.h"
#include "platform/progress.h"
#include "test_support.h"

using namespace kestrum;
using namespace kestrum::test;

TEST(File, ReadsSeeksAndReportsShortReads) {
    TempDir dir;
    WriteBytes(dir.path() / "f.bin", "0123456789");
    CFile file;
    ASSERT_TRUE(file.Open(dir.Join("f.bin"), CFile::modeRead));
    EXPECT_EQ(file.GetLength(), 10u);
    char buffer[16] = {};
    EXPECT_EQ(file.Read(buffer, 4), 4u);
    EXPECT_EQ(std::string(buffer, 4), "0123");
    EXPECT_EQ(file.Seek(8), 8u);
    EXPECT_EQ(file.Read(buffer, 16), 2u);  // end of file: fewer bytes, no error
    EXPECT_EQ(std::string(buffer, 2), "89");
    EXPECT_EQ(file.Seek(100), 100u);  // past the end is not refused by the seek
    EXPECT_EQ(file.Read(buffer, 16), 0u);
    file.Close();
    EXPECT_FALSE(file.IsOpen());
}

TEST(File, OpenFailsForMissingFilesAndFolders) {
    TempDir dir;
    CFile file;
    EXPECT_FALSE(file.Open(dir.Join("missing.bin"), CFile::modeRead));
    EXPECT_FALSE(file.Open(dir.str(), CFile::modeRead));
    EXPECT_FALSE(file.Open(dir.str(), CFile::modeCreate | CFile::modeWrite));
}

TEST(File, CreateTruncatesAndWritesEverything) {
    TempDir dir;
    const std::string path = dir.Join("out.bin");
    WriteBytes(path, "old content that is longer");
    {
        CFile out;
        ASSERT_TRUE(out.Open(path, CFile::modeCreate | CFile::modeWrite));
        out.Write("new", 3);
        out.Close();
    }
    EXPECT_EQ(ReadBytes(path), "new");
}

TEST(File, SystemRefusalsRaiseWithTheOsMessage) {
    TempDir dir;
    WriteBytes(dir.path() / "r.bin", "abc");
    CFile file;
    ASSERT_TRUE(file.Open(dir.Join("r.bin"), CFile::modeRead));
    try {
        file.Write("x", 1);  // opened for reading only
        FAIL() << "write to a read-only handle did not raise";
    } catch (const FileError& e) {
        EXPECT_NE(std::string(e.what()).find("write"), std::string::npos);
        EXPECT_EQ(e.path(), dir.Join("r.bin"));
    }
}

#ifdef _WIN32
TEST(File, SecondOpenerIsRefusedWhileTheFirstHoldsTheFile) {
    TempDir dir;
    WriteBytes(dir.path() / "held.bin", "abc");
    CFile first, second;
    ASSERT_TRUE(first.Open(dir.Join("held.bin"), CFile::modeRead));
    EXPECT_FALSE(second.Open(dir.Join("held.bin"), CFile::modeRead));
    first.Close();
    EXPECT_TRUE(second.Open(dir.Join("held.bin"), CFile::modeRead));
}
#endif

TEST(Folders, CreateDirectoryKeepsTheWindowsMeaning) {
    TempDir dir;
    const std::string a = dir.str() + "\\a";
    EXPECT_FALSE(IsDirectory(a));
    EXPECT_TRUE(MakeDirectory(a));
    EXPECT_TRUE(IsDirectory(a));
    EXPECT_FALSE(MakeDirectory(a)) << "creating an existing folder is a failure";
    EXPECT_FALSE(MakeDirectory(dir.str() + "\\x\\y")) << "parents are not created";
    EXPECT_TRUE(IsDirectory(dir.str() + "\\a\\"));
    WriteBytes(dir.path() / "file", "");
    EXPECT_FALSE(IsDirectory(dir.Join("file")));
    EXPECT_FALSE(MakeDirectory(dir.Join("file")));
    EXPECT_FALSE(IsDirectory(""));
}

struct CompareCase {
    int codePage;
    std::string a, b;
    int sign;
};

TEST(MultibyteText, CompareIsExactAndKeepsDoubleByteCharactersWhole) {
    const CompareCase cases[] = {
        {0, "abc", "abc", 0},
        {0, "abc", "abd", -1},
        {0, "ab", "abc", -1},
        {0, "B", "a", -1},                // case-sensitive: byte order
        {0, "\x80", "\x7F", 1},           // bytes are unsigned
        {0, "a\\b", "a\\bc", -1},
        {932, "\x81\x40", "\x81\x40", 0},
        {932, "\xA1", "\x81\x40", -1},    // single-byte katakana before a double-byte character
        {932, "\x81\x5C" "a", "\x81\x5C" "b", -1},
        {0, "\xA1", "\x81\x40", 1},       // the same bytes in a single-byte page
    };
    for (const CompareCase& c : cases) {
        SetMultibyteCodePage(c.codePage);
        const int r = MbsCompare(c.a, c.b);
        EXPECT_EQ((r > 0) - (r < 0), c.sign) << "code page " << c.codePage << ": " << c.a << " vs " << c.b;
        const int back = MbsCompare(c.b, c.a);
        EXPECT_EQ((back > 0) - (back < 0), -c.sign);
    }
    SetMultibyteCodePage(0);
}

TEST(MultibyteText, LeadByteAtTheEndStandsAloneWhateverLiesBeyond) {
    // Two equal names whose storage holds different bytes past the terminator:
    // the comparison must read neither.
    SetMultibyteCodePage(932);
    std::string a(24, 'z'), b(24, 'y');
    a.resize(2);
    b.resize(2);
    a[0] = b[0] = 'a';
    a[1] = b[1] = '\x83';
    EXPECT_EQ(MbsCompare(a, b), 0);
    EXPECT_LT(MbsCompare(a, "a\x83\x40"), 0);  // a prefix sorts first
    EXPECT_GT(MbsCompare(a, "a\x7F"), 0);
    SetMultibyteCodePage(0);
}

TEST(MultibyteText, CompareAgreesWithACharacterByCharacterWalk) {
    // Strings over bytes that are lead bytes, trail bytes or both in code page
    // 932, sharing long prefixes, so that the first difference falls on lead
    // bytes, trail bytes and string ends alike.
    const auto walk = [](const std::string& s) {
        std::vector<unsigned> chars;
        for (std::size_t i = 0; i < s.size();) {
            const auto c = static_cast<unsigned char>(s[i++]);
            chars.push_back(IsLeadByte(c) && i < s.size() ? unsigned{c} << 8 | static_cast<unsigned char>(s[i++]) : c);
        }
        return chars;
    };
    const char bytes[] = {'\x81', '\x82', '\x5C', 'a', '\x40', '\xE0', '\xA1'};
    std::mt19937 random(3);
    for (const int codePage : {932, 0}) {
        SetMultibyteCodePage(codePage);
        for (int round = 0; round < 20000; ++round) {
            std::string a;
            for (int n = static_cast<int>(random() % 8); n > 0; --n) a += bytes[random() % 7];
            std::string b = a.substr(0, random() % (a.size() + 1));
            for (int n = static_cast<int>(random() % 4); n > 0; --n) b += bytes[random() % 7];
            const auto wa = walk(a), wb = walk(b);
            const int expected = wa < wb ? -1 : wb < wa ? 1 : 0;
            const int r = MbsCompare(a, b);
            ASSERT_EQ((r > 0) - (r < 0), expected) << "code page " << codePage << ", round " << round;
        }
    }
    SetMultibyteCodePage(0);
}

TEST(MultibyteText, SearchNeverMatchesATrailByte) {
    SetMultibyteCodePage(932);
    const std::string path = "\x83\x5C\\x";  // a katakana whose trail byte is 0x5C, then a real separator
    EXPECT_EQ(MbsFind(path, "\\"), 2u);
    EXPECT_EQ(MbsFind(path, "\\", 3), kNotFound);
    SetMultibyteCodePage(0);
    EXPECT_EQ(MbsFind(path, "\\"), 1u);
    EXPECT_EQ(MbsFind("a\\b\\c", "\\", 2), 3u);
    EXPECT_EQ(MbsFind("abc", "bc"), 1u);
    EXPECT_EQ(MbsFind("abc", "x"), kNotFound);
}

TEST(Progress, CallbackReceivesEveryPosition) {
    std::vector<int> seen;
    const ProgressTarget target([&](int p) { seen.push_back(p); });
    target.SetPos(0);
    target.SetPos(42);
    target.SetPos(42);
    EXPECT_EQ(seen, (std::vector<int>{0, 42, 42}));
    ProgressTarget().SetPos(5);  // a target without a receiver ignores positions
}

TEST(MessageBox, SinkReceivesTheTextAndTheBoxReturnsOk) {
    MessageRecorder recorder;
    EXPECT_EQ(AfxMessageBox("Error open BSA file."), 1);
    EXPECT_EQ(recorder.messages(), (std::vector<std::string>{"Error open BSA file."}));
}

#ifndef _WIN32
TEST(ArchiveNames, ConvertFromTheChosenCodePage) {
    ASSERT_TRUE(SetArchiveCodePage("CP1252"));
    EXPECT_EQ(ArchiveTextToOs("plain\\name.txt"), "plain\\name.txt");
    EXPECT_EQ(ArchiveTextToOs("caf\xE9"), "caf\xC3\xA9");
    EXPECT_EQ(ArchiveTextToOs("a\x81" "b"), "a?b");  // undefined in Windows-1252
    ASSERT_TRUE(SetArchiveCodePage("CP1251"));
    EXPECT_EQ(ArchiveTextToOs("\xC0"), "\xD0\x90");  // Cyrillic A
    EXPECT_FALSE(SetArchiveCodePage("no-such-code-page"));
    EXPECT_EQ(ArchiveTextToOs("\xC0"), "\xD0\x90") << "a refused code page keeps the previous one";
    ASSERT_TRUE(SetArchiveCodePage("CP1252"));
}
#endif
