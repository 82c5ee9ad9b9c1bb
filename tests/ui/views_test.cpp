// The file list and the folder tree of the real main dialog: what Open puts
// in them, the header clicks, and the List/Tree switch.
#include <algorithm>
#include <functional>
#include <set>
#include <string>
#include <vector>

#include "dialog_fixture.h"
#include "ui/redraw_suspended.h"

using namespace kestrum;
using namespace kestrum::test;

namespace {

using Views = DialogFixture;
using Lines = std::vector<std::string>;

TEST_F(Views, OpenListsEveryFileInArchiveOrderWithItsTexts) {
    ArchiveSpec plan;
    plan.folders = {{"a\\b", {{"c.txt", "ccc", 0xABCDEF010234ABCDull}, {"big", "", 0, 0xFFFFFFFFu}}},
                    {"", {{"root.txt", "r", 0}}},
                    {"Tex", {{"x.dds", "x", 0x00000ABC00012345ull, 0x40000005u}}}};
    const std::string path = WriteArchive("rows.bsa", plan);
    Open(path);

    EXPECT_EQ(Rows(), (std::vector<Lines>{{"a\\b\\c.txt", "3", "ABCDEF010234ABCD"},
                                          {"a\\b\\big", "4294967295", "0000000000000000"},
                                          {"\\root.txt", "1", "0000000000000000"},
                                          {"Tex\\x.dds", "1073741829", "00000ABC00012345"}}));
    // Rows carry text only: no item data, no selection or focus from the fill.
    for (int r = 0; r < 4; ++r) {
        LVITEMA item{};
        item.mask = LVIF_PARAM | LVIF_STATE;
        item.iItem = r;
        item.stateMask = LVIS_SELECTED | LVIS_FOCUSED;
        ASSERT_TRUE(SendMessageA(dlg.m_fileList.m_hWnd, LVM_GETITEMA, 0, reinterpret_cast<LPARAM>(&item)));
        EXPECT_EQ(item.lParam, 0);
        EXPECT_EQ(item.state & (LVIS_SELECTED | LVIS_FOCUSED), 0u);
    }

    // A second archive replaces every row.
    ArchiveSpec other;
    other.folders = {{"z", {{"only", "1"}}}};
    Open(WriteArchive("other.bsa", other));
    EXPECT_EQ(Names(), (Lines{"z\\only"}));
}

ArchiveSpec SizesAndHashes() {
    ArchiveSpec plan;
    plan.folders = {{"d", {{"s5a", "12345", 0x8000000000000000ull},
                           {"s3", "123", 0x7FFFFFFFFFFFFFFFull},
                           {"s5b", "54321", 0x7FFFFFFF80000000ull},
                           {"s1", "1", 0x7FFFFFFF7FFFFFFFull}}},
                    {"ab", {{"c", "ab"}}}};
    return plan;
}

TEST_F(Views, HeaderClicksSortAscendingEveryTimeWithProgress) {
    Open(WriteArchive("sort.bsa", SizesAndHashes()));
    struct Case {
        int column;
        Lines names;
    } cases[] = {
        // Sizes 5,3,5,1,2 by the exchange sort.
        {1, {"d\\s1", "ab\\c", "d\\s3", "d\\s5a", "d\\s5b"}},
        {1, {"d\\s1", "ab\\c", "d\\s3", "d\\s5a", "d\\s5b"}},  // again: the same ascending order
        {2, {"ab\\c", "d\\s1", "d\\s5b", "d\\s3", "d\\s5a"}},  // unsigned 64-bit hashes
        {0, {"ab\\c", "d\\s1", "d\\s3", "d\\s5a", "d\\s5b"}},  // keys without the backslash: abc < ds1
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.column);
        ProgressRecorder recorder(dlg.m_progressDlg.m_hWnd, dlg.m_progressDlg.m_progress.m_hWnd);
        ClickHeader(c.column);
        EXPECT_EQ(dlg.m_sortColumn, c.column);
        EXPECT_EQ(Names(), c.names);
        // 0 and shown before the sort, the sort's own positions ((i*100)/5 for i = 1..3), hidden at the end.
        EXPECT_EQ(recorder.events(), (Lines{"pos 0", "show", "pos 20", "pos 40", "pos 60", "hide"}));
        EXPECT_FALSE(IsWindowVisible(dlg.m_progressDlg.m_hWnd));
    }
    // The rows of a sort are still complete rows.
    EXPECT_EQ(Rows().front(), (Lines{"ab\\c", "2", "0000000000000000"}));

    // A column that is not one of the three changes nothing.
    ProgressRecorder recorder(dlg.m_progressDlg.m_hWnd, dlg.m_progressDlg.m_progress.m_hWnd);
    ClickHeader(3);
    EXPECT_EQ(dlg.m_sortColumn, 0);
    EXPECT_TRUE(recorder.events().empty());

    // Open goes back to archive order.
    Open(WriteArchive("sort2.bsa", SizesAndHashes()));
    EXPECT_EQ(dlg.m_sortColumn, -1);
    EXPECT_EQ(Names(), (Lines{"d\\s5a", "d\\s3", "d\\s5b", "d\\s1", "ab\\c"}));
}

// Every refill leaves the list as a fresh one would be: exactly the new rows,
// none selected or focused, no selection mark, scrolled to the top, whether
// the list held as many rows before, more, or fewer.
TEST_F(Views, RefillsLeaveNoSelectionFocusOrScrollBehind) {
    const auto archive = [](int files, const std::string& prefix) {
        ArchiveSpec plan;
        plan.folders = {{"d", {}}};
        for (int i = 0; i < files; ++i)
            plan.folders[0].files.push_back({prefix + std::to_string(100 + i), std::string(static_cast<std::size_t>(files - i), 'x')});
        return plan;
    };
    const std::string base = WriteArchive("base.bsa", archive(60, "b"));
    struct Case {
        const char* name;
        std::function<void()> refill;
        Lines first;  // the first rows' names after the refill
        int count;
    } cases[] = {
        {"header click", [&] { ClickHeader(1); }, {"d\\b159", "d\\b158"}, 60},
        {"same archive again", [&] { Open(base); }, {"d\\b100", "d\\b101"}, 60},
        {"larger archive", [&] { Open(WriteArchive("larger.bsa", archive(90, "l"))); }, {"d\\l100", "d\\l101"}, 90},
        {"smaller archive", [&] { Open(WriteArchive("smaller.bsa", archive(3, "s"))); }, {"d\\s100", "d\\s101"}, 3},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        Open(base);
        SelectRows({1, 2, 58});
        dlg.m_fileList.SetItemState(57, LVIS_FOCUSED, LVIS_FOCUSED);
        dlg.m_fileList.SetSelectionMark(57);
        dlg.m_fileList.EnsureVisible(59, FALSE);
        ASSERT_GT(SendMessageA(dlg.m_fileList.m_hWnd, LVM_GETTOPINDEX, 0, 0), 0);

        c.refill();
        const Lines names = Names();
        ASSERT_EQ(static_cast<int>(names.size()), c.count);
        EXPECT_EQ(Lines(names.begin(), names.begin() + 2), c.first);
        EXPECT_EQ(std::set<std::string>(names.begin(), names.end()).size(), names.size());
        EXPECT_EQ(dlg.m_fileList.GetSelectedCount(), 0u);
        EXPECT_EQ(dlg.m_fileList.GetNextItem(-1, LVNI_FOCUSED), -1);
        EXPECT_EQ(SendMessageA(dlg.m_fileList.m_hWnd, LVM_GETSELECTIONMARK, 0, 0), -1);
        EXPECT_EQ(SendMessageA(dlg.m_fileList.m_hWnd, LVM_GETTOPINDEX, 0, 0), 0);
        // Every row complete: the size column matches the name's file.
        for (int r = 0; r < c.count; r += 29) {
            const int i = std::stoi(names[static_cast<std::size_t>(r)].substr(3)) - 100;
            EXPECT_EQ(dlg.m_fileList.GetItemText(r, 1), std::to_string(c.count - i)) << r;
        }
    }
}

// A fill suspends redrawing of its view whether shown or hidden; the default
// handling of the switch sets the window's visible bit when redraw comes back
// on, which must not show a hidden view (a plain window handles the switch
// that way; the list and tree controls may too).
TEST_F(Views, RedrawSuspensionLeavesEachViewAsShownOrHiddenAsItWas) {
    for (const char* windowClass : {"STATIC", WC_LISTVIEWA, WC_TREEVIEWA}) {
        for (const bool shown : {false, true}) {
            SCOPED_TRACE(std::string(windowClass) + (shown ? " shown" : " hidden"));
            HWND view = CreateWindowExA(0, windowClass, "", WS_CHILD | (shown ? WS_VISIBLE : 0), 0, 0, 50, 50, dlg.m_hWnd,
                                        nullptr, nullptr, nullptr);
            ASSERT_NE(view, nullptr);
            CWnd wrapper;
            wrapper.Attach(view);
            { RedrawSuspended quiet(wrapper); }
            EXPECT_EQ((GetWindowLongA(view, GWL_STYLE) & WS_VISIBLE) != 0, shown);
            DestroyWindow(view);
        }
    }
}

TEST_F(Views, HeaderClickBeforeAnyArchiveOnlyTakesTheColumn) {
    ProgressRecorder recorder(dlg.m_progressDlg.m_hWnd, dlg.m_progressDlg.m_progress.m_hWnd);
    ClickHeader(2);
    EXPECT_EQ(dlg.m_sortColumn, 2);
    EXPECT_EQ(dlg.m_fileList.GetItemCount(), 0);
    EXPECT_TRUE(recorder.events().empty());

    Open(WriteArchive("after.bsa", SizesAndHashes()));
    EXPECT_EQ(dlg.m_sortColumn, -1);
    EXPECT_EQ(Names().front(), "d\\s5a");
}

TEST_F(Views, TreeNestsFoldersAndMixesFilesInOneOrderWithTheTopExpanded) {
    ArchiveSpec plan;
    plan.folders = {{"meshes\\armor\\iron", {{"c.nif", "c"}, {"a.nif", "a"}}},
                    {"textures", {{"b.dds", "b"}}},
                    {"meshes", {{"base.nif", "x"}, {"zz.nif", "z"}}},
                    {"mix\\c", {{"x", "x"}}},
                    {"mix\\a", {{"y", "y"}}},
                    {"mix", {{"b", "b"}}},
                    {"\\lead", {{"l", "l"}}}};
    const std::string path = WriteArchive("tree.bsa", plan);
    Open(path);

    EXPECT_EQ(TreeLines(), (Lines{"+" + path,
                                  "  ",  // the empty first component of \lead
                                  "    lead",
                                  "      l",
                                  "  meshes",
                                  "    armor",
                                  "      iron",
                                  "        a.nif",
                                  "        c.nif",
                                  "    base.nif",
                                  "    zz.nif",
                                  "  mix",
                                  "    a",
                                  "      y",
                                  "    b",
                                  "    c",
                                  "      x",
                                  "  textures",
                                  "    b.dds"}));
    // The model knows each folder item; the walk up from any item ends at the top.
    for (const FolderNode& node : dlg.m_archive.m_tree) {
        ASSERT_NE(node.item, nullptr);
        EXPECT_EQ(dlg.m_folderTree.GetItemText(static_cast<HTREEITEM>(node.item)), node.name);
    }
    EXPECT_EQ(dlg.m_folderTree.GetParentItem(TreeItem({"meshes", "armor", "iron", "a.nif"})),
              static_cast<HTREEITEM>(dlg.m_archive.m_tree[2].item));
    EXPECT_EQ(dlg.m_folderTree.GetSelectedItem(), nullptr);
    EXPECT_EQ(dlg.m_folderTree.GetCount(), 19u);
}

// The control's own sorted insertion decides the order of siblings; the fill
// must end with the order that inserting one by one (subfolders in node
// order, then files in file order) gives, ties between folders and files and
// between case variants included.
TEST_F(Views, TreeOrderIsTheControlsOwnSortedOrder) {
    const Lines folders = {"b", "README", "a", "Readme", "_x"};
    // The collation ignores a soft hyphen (0xAD): "b\xAD" ties with "b" and "B".
    const Lines files = {"b",  "B",  "readme", "a", "_x",     "a", "10",    "9",           "A",
                         "Ab", "aB", "-",      "b", "README", "z", "b\xAD", "\xADreadme", "a\xAD" "b"};
    ArchiveSpec plan;
    for (const std::string& name : folders) plan.folders.push_back({"f\\" + name, {{"in", "i"}}});
    FolderSpec flat{"f", {}};
    for (const std::string& name : files) flat.files.push_back({name, name});
    plan.folders.push_back(flat);
    Open(WriteArchive("order.bsa", plan));

    // The same texts inserted one by one with TVI_SORT into a fresh tree view.
    HWND reference = CreateWindowExA(0, WC_TREEVIEWA, "", WS_CHILD, 0, 0, 10, 10, dlg.m_hWnd, nullptr, nullptr, nullptr);
    ASSERT_NE(reference, nullptr);
    CTreeCtrl ref;
    ref.Attach(reference);
    HTREEITEM top = ref.InsertItem("f", TVI_ROOT, TVI_FIRST);
    for (const std::string& name : folders) ref.InsertItem("in", ref.InsertItem(name.c_str(), top, TVI_SORT), TVI_SORT);
    for (const std::string& name : files) ref.InsertItem(name.c_str(), top, TVI_SORT);
    const auto children = [](const CTreeCtrl& tree, HTREEITEM parent) {
        Lines out;
        for (HTREEITEM item = tree.GetChildItem(parent); item; item = tree.GetNextItem(item, TVGN_NEXT))
            out.push_back((tree.GetChildItem(item) ? "folder " : "file ") + tree.GetItemText(item));
        return out;
    };
    const Lines want = children(ref, top);
    DestroyWindow(reference);

    EXPECT_EQ(children(dlg.m_folderTree, TreeItem({"f"})), want);
    EXPECT_EQ(want.size(), folders.size() + files.size());
}

TEST_F(Views, ArchiveWithoutFoldersLeavesBothViewsEmpty) {
    ArchiveSpec full;
    full.folders = {{"a", {{"x", "x"}}}};
    Open(WriteArchive("full.bsa", full));
    ASSERT_NE(dlg.m_hRootItem, nullptr);

    Open(WriteArchive("empty.bsa", ArchiveSpec{}));
    EXPECT_EQ(dlg.m_folderTree.GetCount(), 0u);
    EXPECT_EQ(dlg.m_fileList.GetItemCount(), 0);
    EXPECT_FALSE(IsWindowVisible(dlg.m_progressDlg.m_hWnd));
}

TEST_F(Views, SwitchingViewsKeepsContentsAndSelections) {
    ArchiveSpec plan;
    plan.folders = {{"a", {{"x", "x"}, {"y", "y"}}}, {"b", {{"z", "z"}}}};
    Open(WriteArchive("switch.bsa", plan));
    SelectRows({0, 2});

    Click(IDC_TREE_VIEW);
    EXPECT_EQ(dlg.m_viewMode, 1);
    EXPECT_FALSE(IsWindowVisible(Item(IDC_FILE_LIST)));
    EXPECT_TRUE(IsWindowVisible(Item(IDC_FOLDER_TREE)));
    const HTREEITEM chosen = TreeItem({"a", "y"});
    ASSERT_NE(chosen, nullptr);
    dlg.m_folderTree.SelectItem(chosen);
    const Lines tree = TreeLines();

    Click(IDC_LIST_VIEW);
    Click(IDC_LIST_VIEW);  // the shown view again: nothing changes
    EXPECT_EQ(dlg.m_viewMode, 0);
    EXPECT_TRUE(IsWindowVisible(Item(IDC_FILE_LIST)));
    EXPECT_FALSE(IsWindowVisible(Item(IDC_FOLDER_TREE)));
    EXPECT_EQ(Names(), (Lines{"a\\x", "a\\y", "b\\z"}));
    for (int r = 0; r < 3; ++r) EXPECT_EQ(dlg.m_fileList.GetItemState(r, LVIS_SELECTED) != 0, r != 1) << r;

    Click(IDC_TREE_VIEW);
    EXPECT_EQ(dlg.m_folderTree.GetSelectedItem(), chosen);
    EXPECT_EQ(TreeLines(), tree);
    EXPECT_EQ(dlg.m_sortColumn, -1);

    // Open keeps the tree shown, fills it at once and refills the hidden list.
    ClickHeader(0);
    ArchiveSpec next;
    next.folders = {{"n", {{"2", "2"}, {"1", "1"}}}};
    const std::string path = WriteArchive("next.bsa", next);
    Open(path);
    EXPECT_EQ(dlg.m_viewMode, 1);
    EXPECT_TRUE(IsWindowVisible(Item(IDC_FOLDER_TREE)));
    EXPECT_FALSE(IsWindowVisible(Item(IDC_FILE_LIST)));
    EXPECT_EQ(TreeLines(), (Lines{"+" + path, "  n", "    1", "    2"}));
    EXPECT_EQ(Names(), (Lines{"n\\2", "n\\1"}));
}

}  // namespace
