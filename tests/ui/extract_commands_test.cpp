// Extract All and Extract on the real main dialog: which files each selection
// writes, in which order, what a failure does, and the folder browser's part.
#include <filesystem>
#include <string>
#include <vector>

#include "dialog_fixture.h"

using namespace kestrum;
using namespace kestrum::test;
namespace fs = std::filesystem;

namespace {

using Lines = std::vector<std::string>;

// "Выберите каталог для записи файлов".
const std::wstring kTitle =
    L"\u0412\u044B\u0431\u0435\u0440\u0438\u0442\u0435 \u043A\u0430\u0442\u0430\u043B\u043E\u0433 "
    L"\u0434\u043B\u044F \u0437\u0430\u043F\u0438\u0441\u0438 \u0444\u0430\u0439\u043B\u043E\u0432";

class ExtractCommands : public DialogFixture {
protected:
    void SetUp() override {
        DialogFixture::SetUp();
        fs::create_directory(dir.path() / "out");
    }

    // Folders a\b (x, y), a\bc (z), a\b\c (w) and the folder-less "", plus
    // name twins for the list and the flat extraction.
    ArchiveSpec Siblings() const {
        ArchiveSpec plan;
        plan.folders = {{"a\\b", {{"x", "x1"}, {"y", "y1"}}},
                        {"a\\bc", {{"z", "z1"}}},
                        {"a\\b\\c", {{"w", "w1"}}},
                        {"q", {{"x", "x2"}}}};
        return plan;
    }
    // Four files; the third one's data lie beyond the end of the archive.
    ArchiveSpec FailingThird() const {
        ArchiveSpec plan;
        plan.folders = {{"d", {{"1", "1"}, {"2", "2"}, {"3", "3", 0, std::nullopt, 0x7FFFFF00u}, {"4", "4"}}}};
        return plan;
    }

    // Runs a command with the browser answering answer.
    void Run(int button, std::optional<std::string> answer) {
        script.folderAnswers.push_back(std::move(answer));
        Click(button);
    }
    std::string Out() const { return dir.Join("out"); }
    // Every file below out, as "relative path=content", sorted.
    Lines Written() const {
        Lines files;
        for (const auto& entry : fs::recursive_directory_iterator(dir.path() / "out"))
            if (entry.is_regular_file())
                files.push_back(fs::relative(entry.path(), dir.path() / "out").generic_string() + "=" +
                                ReadBytes(entry.path()));
        std::sort(files.begin(), files.end());
        return files;
    }
    void SetNoPath(bool on) const {
        SendMessageA(Item(IDC_CHECK_NO_PATH), BM_SETCHECK, on ? BST_CHECKED : BST_UNCHECKED, 0);
    }
};

TEST_F(ExtractCommands, NothingOpenMeansNoBrowserAndNoProgress) {
    ProgressRecorder recorder(dlg.m_progressDlg.m_hWnd, dlg.m_progressDlg.m_progress.m_hWnd);
    Run(IDC_EXTRACT_ALL, Out());
    Click(IDC_TREE_VIEW);
    Click(IDC_EXTRACT);
    Click(IDC_LIST_VIEW);
    Click(IDC_EXTRACT);
    EXPECT_TRUE(script.folderRequests.empty());
    EXPECT_TRUE(recorder.events().empty());
    EXPECT_TRUE(script.messages.empty());
}

TEST_F(ExtractCommands, ExtractAllWritesEveryFileWithOrWithoutPath) {
    Open(WriteArchive("all.bsa", Siblings()));
    ProgressRecorder recorder(dlg.m_progressDlg.m_hWnd, dlg.m_progressDlg.m_progress.m_hWnd);
    Run(IDC_EXTRACT_ALL, Out());

    ASSERT_EQ(script.folderRequests.size(), 1u);
    EXPECT_EQ(script.folderRequests[0].title, kTitle);
    EXPECT_EQ(script.folderRequests[0].flags, 3u);  // file-system folders only, no "browse for computer"
    EXPECT_EQ(script.folderRequests[0].owner, dlg.m_hWnd);
    EXPECT_EQ(Written(), (Lines{"a/b/c/w=w1", "a/b/x=x1", "a/b/y=y1", "a/bc/z=z1", "q/x=x2"}));
    // Five files: 20, 40, 60, 80 after 0; never 100.
    EXPECT_EQ(recorder.events(), (Lines{"pos 0", "show", "pos 20", "pos 40", "pos 60", "pos 80", "hide"}));
    EXPECT_TRUE(script.messages.empty());

    // Without path everything lands in the folder itself; the later x wins.
    fs::remove_all(dir.path() / "out");
    fs::create_directory(dir.path() / "out");
    SetNoPath(true);
    Run(IDC_EXTRACT_ALL, Out());
    EXPECT_EQ(Written(), (Lines{"w=w1", "x=x2", "y=y1", "z=z1"}));
}

TEST_F(ExtractCommands, ExtractAllOnFourFilesSendsQuarters) {
    ArchiveSpec plan;
    plan.folders = {{"d", {{"1", "1"}, {"2", "2"}, {"3", "3"}, {"4", "4"}}}};
    Open(WriteArchive("four.bsa", plan));
    ProgressRecorder recorder(dlg.m_progressDlg.m_hWnd, dlg.m_progressDlg.m_progress.m_hWnd);
    Run(IDC_EXTRACT_ALL, Out());
    EXPECT_EQ(recorder.positions(), (std::vector<int>{0, 25, 50, 75}));
    EXPECT_FALSE(IsWindowVisible(dlg.m_progressDlg.m_hWnd));
}

TEST_F(ExtractCommands, AFailedFileStopsExtractAllButNotExtract) {
    Open(WriteArchive("fail.bsa", FailingThird()));
    Run(IDC_EXTRACT_ALL, Out());
    EXPECT_EQ(Written(), (Lines{"d/1=1", "d/2=2"}));
    EXPECT_EQ(script.messages, (Lines{"Error read BSA file."}));

    fs::remove_all(dir.path() / "out");
    fs::create_directory(dir.path() / "out");
    script.messages.clear();
    SelectRows({0, 1, 2, 3});
    Run(IDC_EXTRACT, Out());
    EXPECT_EQ(Written(), (Lines{"d/1=1", "d/2=2", "d/4=4"}));
    EXPECT_EQ(script.messages, (Lines{"Error read BSA file."}));

    // The tree's top item is Extract All, stop included, with one browser.
    fs::remove_all(dir.path() / "out");
    fs::create_directory(dir.path() / "out");
    script.messages.clear();
    script.folderRequests.clear();
    Click(IDC_TREE_VIEW);
    dlg.m_folderTree.SelectItem(dlg.m_hRootItem);
    Run(IDC_EXTRACT, Out());
    EXPECT_EQ(script.folderRequests.size(), 1u);
    EXPECT_EQ(Written(), (Lines{"d/1=1", "d/2=2"}));
    EXPECT_EQ(script.messages, (Lines{"Error read BSA file."}));

    // A folder selected in the tree goes on past the failure.
    fs::remove_all(dir.path() / "out");
    fs::create_directory(dir.path() / "out");
    script.messages.clear();
    dlg.m_folderTree.SelectItem(TreeItem({"d"}));
    Run(IDC_EXTRACT, Out());
    EXPECT_EQ(Written(), (Lines{"d/1=1", "d/2=2", "d/4=4"}));
    EXPECT_EQ(script.messages, (Lines{"Error read BSA file."}));
}

TEST_F(ExtractCommands, CancelledOrPathlessBrowserWritesNothing) {
    Open(WriteArchive("cancel.bsa", Siblings()));
    SelectRows({0});
    for (int button : {IDC_EXTRACT_ALL, IDC_EXTRACT}) {
        SCOPED_TRACE(button);
        ProgressRecorder recorder(dlg.m_progressDlg.m_hWnd, dlg.m_progressDlg.m_progress.m_hWnd);
        script.messages.clear();
        Run(button, std::nullopt);  // cancelled: silently nothing
        EXPECT_TRUE(script.messages.empty());
        Run(button, std::string());  // a choice with no file-system path
        EXPECT_EQ(script.messages, (Lines{"Invalid path."}));
        EXPECT_TRUE(recorder.events().empty());
        EXPECT_TRUE(Written().empty());
    }
}

TEST_F(ExtractCommands, ListRowsAreWrittenInListOrderAndMatchTheFirstTwin) {
    ArchiveSpec plan;
    plan.folders = {{"t", {{"n", "first"}, {"m", "mm"}, {"n", "second"}, {"k", "k"}}}};
    Open(WriteArchive("twins.bsa", plan));
    ProgressRecorder recorder(dlg.m_progressDlg.m_hWnd, dlg.m_progressDlg.m_progress.m_hWnd);

    // Nothing selected: browser, progress shown and hidden, nothing written.
    Run(IDC_EXTRACT, Out());
    EXPECT_EQ(recorder.events(), (Lines{"pos 0", "show", "pos 25", "pos 50", "pos 75", "hide"}));
    EXPECT_TRUE(Written().empty());

    // The second t\n row stands for the first t\n file.
    SelectRows({2});
    Run(IDC_EXTRACT, Out());
    EXPECT_EQ(Written(), (Lines{"t/n=first"}));

    // Without path, sorted by size (k, m, n, n): the later row's file lands last.
    fs::remove_all(dir.path() / "out");
    fs::create_directory(dir.path() / "out");
    ClickHeader(1);
    ASSERT_EQ(Names(), (Lines{"t\\k", "t\\m", "t\\n", "t\\n"}));
    SetNoPath(true);
    SelectRows({0, 3});
    Run(IDC_EXTRACT, Out());
    EXPECT_EQ(Written(), (Lines{"k=k", "n=first"}));
    EXPECT_TRUE(script.messages.empty());
}

TEST_F(ExtractCommands, ATreeFolderTakesItsOwnFilesAndThoseBelowButNotASiblingWithTheSamePrefix) {
    Open(WriteArchive("sib.bsa", Siblings()));
    Click(IDC_TREE_VIEW);
    dlg.m_folderTree.SelectItem(TreeItem({"a", "b"}));
    ProgressRecorder recorder(dlg.m_progressDlg.m_hWnd, dlg.m_progressDlg.m_progress.m_hWnd);
    Run(IDC_EXTRACT, Out());
    EXPECT_EQ(Written(), (Lines{"a/b/c/w=w1", "a/b/x=x1", "a/b/y=y1"}));
    // 10 once the folder is found, then 10 + 90*j/5.
    EXPECT_EQ(recorder.positions(), (std::vector<int>{0, 10, 28, 46, 64, 82}));

    fs::remove_all(dir.path() / "out");
    fs::create_directory(dir.path() / "out");
    SetNoPath(true);
    dlg.m_folderTree.SelectItem(TreeItem({"a"}));
    Run(IDC_EXTRACT, Out());
    EXPECT_EQ(Written(), (Lines{"w=w1", "x=x1", "y=y1", "z=z1"}));
    EXPECT_TRUE(script.messages.empty());
}

TEST_F(ExtractCommands, TheEmptyFolderNodeTakesFilesBelowALeadingBackslash) {
    ArchiveSpec plan;
    plan.folders = {{"\\lead", {{"l", "l"}}}, {"plain", {{"p", "p"}}}};
    Open(WriteArchive("lead.bsa", plan));
    Click(IDC_TREE_VIEW);
    dlg.m_folderTree.SelectItem(TreeItem({""}));
    Run(IDC_EXTRACT, Out());
    EXPECT_EQ(Written(), (Lines{"lead/l=l"}));
}

TEST_F(ExtractCommands, ATreeLeafWritesItsOneFile) {
    Open(WriteArchive("leaf.bsa", Siblings()));
    Click(IDC_TREE_VIEW);
    dlg.m_folderTree.SelectItem(TreeItem({"a", "b", "c", "w"}));
    ProgressRecorder recorder(dlg.m_progressDlg.m_hWnd, dlg.m_progressDlg.m_progress.m_hWnd);
    Run(IDC_EXTRACT, Out());
    EXPECT_EQ(Written(), (Lines{"a/b/c/w=w1"}));
    EXPECT_EQ(recorder.events(), (Lines{"pos 0", "show", "pos 20", "pos 40", "pos 60", "pos 100", "hide"}));

    fs::remove_all(dir.path() / "out");
    fs::create_directory(dir.path() / "out");
    SetNoPath(true);
    dlg.m_folderTree.SelectItem(TreeItem({"q", "x"}));
    Run(IDC_EXTRACT, Out());
    EXPECT_EQ(Written(), (Lines{"x=x2"}));
    EXPECT_TRUE(script.messages.empty());
}

TEST_F(ExtractCommands, NoTreeSelectionWritesNothing) {
    Open(WriteArchive("nosel.bsa", Siblings()));
    Click(IDC_TREE_VIEW);
    ASSERT_EQ(dlg.m_folderTree.GetSelectedItem(), nullptr);
    Run(IDC_EXTRACT, Out());
    EXPECT_EQ(script.folderRequests.size(), 1u);
    EXPECT_TRUE(Written().empty());
    EXPECT_TRUE(script.messages.empty());
    EXPECT_FALSE(IsWindowVisible(dlg.m_progressDlg.m_hWnd));
}

}  // namespace
