// The main dialog, created from its real template and driven with its own
// messages: layout, start-up state and the Open command.
#include <gtest/gtest.h>

#include <windows.h>
#include <commctrl.h>

#include <algorithm>
#include <cstdlib>
#include <optional>
#include <string>
#include <vector>

#include "bsa_builder.h"
#include "dialog_fixture.h"
#include "framework/app.h"
#include "framework/dialog_script.h"
#include "gui_support.h"
#include "resource.h"
#include "test_support.h"
#include "ui/kestrum_dlg.h"

using namespace kestrum;
using namespace kestrum::test;

namespace {

ArchiveSpec ThreeFolders(std::uint32_t flags) {
    ArchiveSpec plan;
    plan.archiveFlags = flags;
    plan.folders = {{"meshes\\armor", {{"helmet.nif", "h"}, {"boots.nif", "b"}}},
                    {"meshes", {{"base.nif", "x"}}},
                    {"textures", {{"sky.dds", "s"}}}};
    return plan;
}

// The shared dialog fixture, with readers of the summary fields.
class MainDialog : public DialogFixture {
protected:
    std::string Text(int id) const { return WindowText(Item(id)); }
    bool Checked() const { return SendMessageA(Item(IDC_CHECK_NO_PATH), BM_GETCHECK, 0, 0) == BST_CHECKED; }
    std::vector<std::string> Summary() const {
        return {Text(IDC_EDIT_PATH), Text(IDC_EDIT_FOLDERS), Text(IDC_EDIT_FILES), Text(IDC_EDIT_COMPRESSION)};
    }
};

// Positions and sizes in dialog units, as the template gives them, in tab order.
struct ControlLayout {
    int id;
    const char* className;
    RECT units;  // left, top, width, height
    DWORD style;
    DWORD exStyle;
    const char* text;
};

TEST_F(MainDialog, ControlsStandInTheirPlacesInTabOrder) {
    constexpr DWORD child = WS_CHILD | WS_VISIBLE;
    constexpr DWORD edit = child | WS_TABSTOP | ES_LEFT | ES_AUTOHSCROLL | ES_READONLY;
    const ControlLayout expected[] = {
        {IDC_OPEN, "Button", {4, 3, 50, 14}, child | WS_TABSTOP | BS_PUSHBUTTON, 0, "Open"},
        {IDC_EXTRACT_ALL, "Button", {65, 3, 50, 14}, child | WS_TABSTOP | BS_PUSHBUTTON, 0, "Extract All"},
        {IDC_EXTRACT, "Button", {127, 3, 50, 14}, child | WS_TABSTOP | BS_PUSHBUTTON, 0, "Extract"},
        {IDC_CHECK_NO_PATH, "Button", {187, 5, 82, 10}, child | WS_TABSTOP | BS_AUTOCHECKBOX, 0,
         "Extract without path"},
        {IDC_FOLDER_TREE, WC_TREEVIEWA, {4, 58, 505, 262},
         WS_CHILD | WS_TABSTOP | WS_BORDER | TVS_HASBUTTONS | TVS_HASLINES | TVS_LINESATROOT |
             TVS_SHOWSELALWAYS | TVS_NOTOOLTIPS,
         0, ""},
        {IDC_FILE_LIST, WC_LISTVIEWA, {4, 58, 505, 262}, 0x50810809, 0, ""},
        {IDC_LIST_VIEW, "Button", {457, 41, 25, 13}, child | WS_TABSTOP | BS_PUSHBUTTON, WS_EX_CLIENTEDGE, "List"},
        {IDC_TREE_VIEW, "Button", {484, 41, 25, 13}, child | WS_TABSTOP | BS_PUSHBUTTON, WS_EX_CLIENTEDGE, "Tree"},
        {-1, "Static", {4, 24, 29, 8}, child | SS_LEFT, 0, "BSA File:"},
        {IDC_EDIT_PATH, "Edit", {35, 23, 474, 13}, edit, WS_EX_STATICEDGE, ""},
        {-1, "Static", {4, 42, 27, 8}, child | SS_LEFT, 0, "Folders:"},
        {IDC_EDIT_FOLDERS, "Edit", {36, 40, 40, 12}, edit, WS_EX_STATICEDGE, ""},
        {-1, "Static", {81, 42, 18, 8}, child | SS_LEFT, 0, "Files:"},
        {IDC_EDIT_FILES, "Edit", {101, 40, 40, 12}, edit, WS_EX_STATICEDGE, ""},
        {-1, "Static", {146, 42, 44, 8}, child | SS_LEFT, 0, "Compression:"},
        {IDC_EDIT_COMPRESSION, "Edit", {192, 40, 56, 12}, edit, WS_EX_STATICEDGE, ""},
        {-1, "Static", {427, 43, 26, 8}, child | SS_LEFT, 0, "View in:"},
    };

    HWND control = GetWindow(dlg.m_hWnd, GW_CHILD);
    for (const ControlLayout& want : expected) {
        SCOPED_TRACE(want.text[0] ? want.text : want.className);
        ASSERT_NE(control, nullptr) << "fewer controls than the layout";
        EXPECT_EQ(static_cast<WORD>(GetDlgCtrlID(control)), static_cast<WORD>(want.id));
        EXPECT_STRCASEEQ(ClassName(control).c_str(), want.className);
        EXPECT_EQ(DialogUnitsOf(dlg.m_hWnd, control),
                  (std::vector<LONG>{want.units.left, want.units.top, want.units.right, want.units.bottom}));
        // The tree is hidden at start-up, so its visible bit is left out of the comparison.
        DWORD style = static_cast<DWORD>(GetWindowLongA(control, GWL_STYLE));
        DWORD exStyle = static_cast<DWORD>(GetWindowLongA(control, GWL_EXSTYLE)) & ~WS_EX_NOPARENTNOTIFY;
        if (want.id == IDC_FOLDER_TREE) style &= ~WS_VISIBLE;  // hidden at start-up
        // The list and tree views draw a template's border as a client edge.
        if ((want.style & WS_BORDER) && !(style & WS_BORDER) && (exStyle & WS_EX_CLIENTEDGE)) {
            style |= WS_BORDER;
            exStyle &= ~WS_EX_CLIENTEDGE;
        }
        EXPECT_EQ(style, want.style);
        EXPECT_EQ(exStyle, want.exStyle);
        if (want.id != IDC_FOLDER_TREE && want.id != IDC_FILE_LIST) {
            EXPECT_EQ(WindowText(control), want.text);
        }
        control = GetWindow(control, GW_HWNDNEXT);
    }
    // The progress dialog, a child too, is created after the template's controls.
    EXPECT_EQ(control, dlg.m_progressDlg.m_hWnd);
}

TEST_F(MainDialog, DialogFrameCaptionAndSize) {
    const DWORD style = static_cast<DWORD>(GetWindowLongA(dlg.m_hWnd, GWL_STYLE));
    const DWORD exStyle = static_cast<DWORD>(GetWindowLongA(dlg.m_hWnd, GWL_EXSTYLE));
    EXPECT_EQ(style & (WS_POPUP | WS_CAPTION | WS_SYSMENU | WS_MINIMIZEBOX | DS_MODALFRAME),
              static_cast<DWORD>(WS_POPUP | WS_CAPTION | WS_SYSMENU | WS_MINIMIZEBOX | DS_MODALFRAME));
    EXPECT_EQ(style & (WS_MAXIMIZEBOX | WS_THICKFRAME), 0u);
    EXPECT_TRUE(exStyle & WS_EX_APPWINDOW);
    EXPECT_EQ(WindowText(dlg.m_hWnd), "Kestrum");
    RECT client, units{0, 0, 514, 325};
    GetClientRect(dlg.m_hWnd, &client);
    MapDialogRect(dlg.m_hWnd, &units);
    EXPECT_EQ(client.right, units.right);
    EXPECT_EQ(client.bottom, units.bottom);
}

TEST_F(MainDialog, StartsEmptyWithTheListShownAndTheProgressDialogHidden) {
    EXPECT_EQ(Summary(), (std::vector<std::string>{"", "", "", ""}));
    EXPECT_FALSE(Checked());
    EXPECT_TRUE(IsWindowVisible(Item(IDC_FILE_LIST)));
    EXPECT_FALSE(IsWindowVisible(Item(IDC_FOLDER_TREE)));
    EXPECT_EQ(dlg.m_viewMode, 0);
    EXPECT_EQ(dlg.m_sortColumn, -1);
    EXPECT_EQ(dlg.m_hRootItem, nullptr);
    EXPECT_EQ(dlg.m_fileList.GetItemCount(), 0);
    EXPECT_EQ(dlg.m_folderTree.GetCount(), 0u);
    EXPECT_EQ(GetFocus(), Item(IDC_OPEN));

    // Three columns with their headings and widths, full-row selection and grid lines.
    const char* headings[] = {"Name", "Size", "Hash"};
    const int widths[] = {520, 80, 120};
    EXPECT_EQ(SendMessageA(dlg.m_fileList.GetHeaderCtrl(), HDM_GETITEMCOUNT, 0, 0), 3);
    for (int i = 0; i < 3; ++i) {
        char text[32] = {};
        LVCOLUMNA column{};
        column.mask = LVCF_TEXT | LVCF_FMT | LVCF_WIDTH;
        column.pszText = text;
        column.cchTextMax = sizeof text;
        ASSERT_TRUE(SendMessageA(dlg.m_fileList.m_hWnd, LVM_GETCOLUMNA, i, reinterpret_cast<LPARAM>(&column)));
        EXPECT_STREQ(text, headings[i]);
        EXPECT_EQ(column.fmt & LVCFMT_JUSTIFYMASK, LVCFMT_LEFT);
        EXPECT_EQ(column.cx, widths[i]);
    }
    EXPECT_EQ(dlg.m_fileList.GetExtendedStyle() & 0x21u, 0x21u);

    // The progress dialog: a hidden child, centred in the client area, range 0..100.
    HWND progress = dlg.m_progressDlg.m_hWnd;
    ASSERT_NE(progress, nullptr);
    EXPECT_EQ(GetParent(progress), dlg.m_hWnd);
    EXPECT_FALSE(IsWindowVisible(progress));
    EXPECT_EQ(WindowText(progress), "");
    RECT client, box;
    GetClientRect(dlg.m_hWnd, &client);
    GetWindowRect(progress, &box);
    MapWindowPoints(nullptr, dlg.m_hWnd, reinterpret_cast<POINT*>(&box), 2);
    EXPECT_LE(std::abs((box.left + box.right) - client.right), 1);
    EXPECT_LE(std::abs((box.top + box.bottom) - client.bottom), 1);
    PBRANGE range{};
    SendMessageA(dlg.m_progressDlg.m_progress.m_hWnd, PBM_GETRANGE, FALSE, reinterpret_cast<LPARAM>(&range));
    EXPECT_EQ(range.iLow, 0);
    EXPECT_EQ(range.iHigh, 100);
    EXPECT_EQ(GetDlgCtrlID(dlg.m_progressDlg.m_progress.m_hWnd), IDC_PROGRESS);
    EXPECT_EQ(GetWindowLongA(dlg.m_progressDlg.m_progress.m_hWnd, GWL_STYLE) & PBS_SMOOTH, 0);
}

TEST_F(MainDialog, IconIsSetForBothSizesAndDragging) {
    ASSERT_NE(dlg.m_hIcon, nullptr);
    EXPECT_EQ(reinterpret_cast<HICON>(SendMessageA(dlg.m_hWnd, WM_GETICON, ICON_BIG, 0)), dlg.m_hIcon);
    EXPECT_EQ(reinterpret_cast<HICON>(SendMessageA(dlg.m_hWnd, WM_GETICON, ICON_SMALL, 0)), dlg.m_hIcon);
    EXPECT_EQ(reinterpret_cast<HICON>(SendMessageA(dlg.m_hWnd, WM_QUERYDRAGICON, 0, 0)), dlg.m_hIcon);
}

// Minimised, the dialog paints the program icon itself, after asking for the
// icon's background; otherwise painting is the system's.
std::vector<WPARAM> g_iconErases;
LRESULT CALLBACK RecordIconErase(HWND hWnd, UINT message, WPARAM wParam, LPARAM lParam, UINT_PTR, DWORD_PTR) {
    if (message == WM_ICONERASEBKGND) g_iconErases.push_back(wParam);
    return DefSubclassProc(hWnd, message, wParam, lParam);
}

TEST_F(MainDialog, PaintsTheIconOnlyWhileMinimised) {
    std::vector<WPARAM>& erased = g_iconErases;
    erased.clear();
    const SUBCLASSPROC spy = &RecordIconErase;
    ASSERT_TRUE(SetWindowSubclass(dlg.m_hWnd, spy, 1, 0));

    SendMessageA(dlg.m_hWnd, WM_PAINT, 0, 0);
    EXPECT_TRUE(erased.empty());

    ShowWindow(dlg.m_hWnd, SW_MINIMIZE);
    ASSERT_TRUE(IsIconic(dlg.m_hWnd));
    SendMessageA(dlg.m_hWnd, WM_PAINT, 0, 0);
    ASSERT_EQ(erased.size(), 1u);
    EXPECT_NE(erased[0], 0u);  // the paint device context

    ShowWindow(dlg.m_hWnd, SW_RESTORE);
    RemoveWindowSubclass(dlg.m_hWnd, spy, 1);
}

TEST_F(MainDialog, OpenShowsTheSummaryAndClearsTheCheckBox) {
    struct Case {
        std::uint32_t flags;
        const char* compression;
    } cases[] = {{0x3, "none"}, {0x7, "deflate"}, {0x4, "deflate"}, {0x0, "none"}};
    for (const Case& c : cases) {
        SCOPED_TRACE(c.flags);
        const std::string path = WriteArchive("flags" + std::to_string(c.flags) + ".bsa", ThreeFolders(c.flags));
        Click(IDC_CHECK_NO_PATH);
        ASSERT_TRUE(Checked());
        Open(path);
        EXPECT_EQ(Summary(), (std::vector<std::string>{path, "3", "4", c.compression}));
        EXPECT_FALSE(Checked());
        EXPECT_EQ(dlg.m_archive.m_path, path);
        EXPECT_EQ(dlg.m_archive.m_files.size(), 4u);
        EXPECT_EQ(dlg.m_archive.m_tree.size(), 3u);  // meshes, meshes\armor, textures
        EXPECT_EQ(dlg.m_sortColumn, -1);
    }
    EXPECT_TRUE(script.messages.empty());
}

TEST_F(MainDialog, OpenAsksForOneFileOwnedByTheDialog) {
    Open(std::nullopt);
    ASSERT_EQ(script.fileRequests.size(), 1u);
    const FileDialogRequest& asked = script.fileRequests[0];
    EXPECT_TRUE(asked.open);
    EXPECT_EQ(asked.defaultExt, "");
    EXPECT_EQ(asked.fileName, "");
    EXPECT_EQ(asked.flags, 6u);
    EXPECT_EQ(asked.filter, " BSA file (*.bsa) |*.bsa| All files (*.*)| *.* ||");
    EXPECT_EQ(asked.owner, dlg.m_hWnd);
}

TEST_F(MainDialog, OpenMovesTheProgressBarAndHidesItsDialogAtTheEnd) {
    ProgressRecorder recorder(dlg.m_progressDlg.m_hWnd, dlg.m_progressDlg.m_progress.m_hWnd);
    ArchiveSpec plan;
    for (int i = 0; i < 40; ++i) plan.folders.push_back({"f" + std::to_string(i) + "\\sub", {{"a.txt", "a"}}});
    Open(WriteArchive("many.bsa", plan));

    const std::vector<std::string>& events = recorder.events();
    ASSERT_GE(events.size(), 6u);
    EXPECT_EQ(std::vector<std::string>(events.begin(), events.begin() + 3),
              (std::vector<std::string>{"pos 0", "show", "pos 10"}));
    EXPECT_EQ(std::count(events.begin(), events.end(), "show"), 1);
    // The list's fill hides the dialog; the tree is filled after it has gone.
    EXPECT_EQ(std::count(events.begin(), events.end(), "hide"), 1);
    EXPECT_EQ(std::vector<std::string>(events.end() - 4, events.end()),
              (std::vector<std::string>{"pos 90", "hide", "pos 95", "pos 100"}));
    EXPECT_FALSE(IsWindowVisible(dlg.m_progressDlg.m_hWnd));

    // 0 and 10 around the load, the folder tree's own 20..89, then 90, 95 and 100.
    const std::vector<int> positions = recorder.positions();
    ASSERT_GE(positions.size(), 6u);
    EXPECT_EQ(std::vector<int>(positions.end() - 3, positions.end()), (std::vector<int>{90, 95, 100}));
    const std::vector<int> tree(positions.begin() + 2, positions.end() - 3);
    ASSERT_FALSE(tree.empty());
    EXPECT_EQ(tree.front(), 20);
    for (int p : tree) {
        EXPECT_GE(p, 20);
        EXPECT_LE(p, 89);
    }
    EXPECT_TRUE(std::is_sorted(tree.begin(), tree.end()));
}

TEST_F(MainDialog, EmptyArchiveShowsZeroCounts) {
    Open(WriteArchive("empty.bsa", ArchiveSpec{}));
    EXPECT_EQ(Text(IDC_EDIT_FOLDERS), "0");
    EXPECT_EQ(Text(IDC_EDIT_FILES), "0");
    EXPECT_EQ(Text(IDC_EDIT_COMPRESSION), "none");
    EXPECT_TRUE(dlg.m_archive.m_files.empty());
    EXPECT_TRUE(dlg.m_archive.m_tree.empty());
    EXPECT_FALSE(IsWindowVisible(dlg.m_progressDlg.m_hWnd));
}

TEST_F(MainDialog, CancelledOpenChangesNothingAndNeverShowsProgress) {
    const std::string path = WriteArchive("a.bsa", ThreeFolders(3));
    Open(path);
    Click(IDC_CHECK_NO_PATH);
    const std::vector<std::string> before = Summary();
    ProgressRecorder recorder(dlg.m_progressDlg.m_hWnd, dlg.m_progressDlg.m_progress.m_hWnd);

    Open(std::nullopt);

    EXPECT_EQ(script.fileRequests.size(), 2u);
    EXPECT_EQ(Summary(), before);
    EXPECT_TRUE(Checked());
    EXPECT_TRUE(recorder.events().empty());
    EXPECT_EQ(dlg.m_archive.m_path, path);
    EXPECT_EQ(dlg.m_archive.m_files.size(), 4u);
    EXPECT_TRUE(script.messages.empty());
}

// A failed Open reports the loader's one message and keeps the previous
// archive: what the window shows and the catalogue behind it stay together.
TEST_F(MainDialog, FailedOpenKeepsThePreviousArchiveUsable) {
    const std::string good = WriteArchive("good.bsa", ThreeFolders(7));
    ArchiveSpec badMagic = ThreeFolders(3);
    badMagic.magic = 0x12345678;
    ArchiveSpec badDirectory = ThreeFolders(3);
    badDirectory.totalFileNameLength = 100000;
    WriteBytes(dir.path() / "short.bsa", std::string("BSA\0g", 5));

    struct Case {
        std::string path;
        const char* message;
    } cases[] = {
        {dir.Join("missing.bsa"), "Error open BSA file."},
        {dir.Join("short.bsa"), "Error read header."},
        {WriteArchive("magic.bsa", badMagic), "Unknoun format BSA file."},
        {WriteArchive("directory.bsa", badDirectory), "Error read file."},
    };

    Open(good);
    const std::vector<std::string> shown = Summary();
    const std::vector<BsaFileEntry> files = dlg.m_archive.m_files;
    const std::size_t treeSize = dlg.m_archive.m_tree.size();
    for (const Case& c : cases) {
        SCOPED_TRACE(c.path);
        script.messages.clear();
        if (!Checked()) Click(IDC_CHECK_NO_PATH);
        ProgressRecorder recorder(dlg.m_progressDlg.m_hWnd, dlg.m_progressDlg.m_progress.m_hWnd);

        Open(c.path);

        EXPECT_EQ(script.messages, (std::vector<std::string>{c.message}));
        EXPECT_EQ(Summary(), shown);
        EXPECT_TRUE(Checked());
        EXPECT_EQ(dlg.m_archive.m_path, good);
        ASSERT_EQ(dlg.m_archive.m_files.size(), files.size());
        for (std::size_t i = 0; i < files.size(); ++i) {
            EXPECT_EQ(dlg.m_archive.m_files[i].fileName, files[i].fileName);
            EXPECT_EQ(dlg.m_archive.m_files[i].offset, files[i].offset);
        }
        EXPECT_EQ(dlg.m_archive.m_nameOrder.size(), files.size());
        EXPECT_EQ(dlg.m_archive.m_tree.size(), treeSize);
        EXPECT_EQ(dlg.m_archive.m_header.archiveFlags, 7u);
        EXPECT_EQ(recorder.events(), (std::vector<std::string>{"pos 0", "show", "pos 10", "hide"}));
    }

    // The next good archive replaces everything.
    const std::string next = WriteArchive("next.bsa", ThreeFolders(3));
    Open(next);
    EXPECT_EQ(Summary(), (std::vector<std::string>{next, "3", "4", "none"}));
    EXPECT_FALSE(Checked());
}

// An error the loader raises instead of returning a code (here: no memory for
// a directory that claims 3.75 GB of a sparse file) reaches the general report
// once; the progress dialog goes and the previous archive stays.
TEST_F(MainDialog, ErrorRaisedDuringOpenIsReportedOnceAndHidesTheProgress) {
    const std::string good = WriteArchive("good.bsa", ThreeFolders(3));
    Open(good);
    const std::vector<std::string> shown = Summary();

    ArchiveSpec huge;
    huge.totalFileNameLength = 0xF0000000u;
    const std::string path = WriteArchive("huge.bsa", huge);
    HANDLE file = CreateFileA(path.c_str(), GENERIC_WRITE, 0, nullptr, OPEN_EXISTING, 0, nullptr);
    ASSERT_NE(file, INVALID_HANDLE_VALUE);
    LARGE_INTEGER end;
    end.QuadPart = 0xF0001000ll;
    const bool grown = SetFilePointerEx(file, end, nullptr, FILE_BEGIN) && SetEndOfFile(file);
    CloseHandle(file);
    ASSERT_TRUE(grown);
    ProgressRecorder recorder(dlg.m_progressDlg.m_hWnd, dlg.m_progressDlg.m_progress.m_hWnd);

    Open(path);

    EXPECT_EQ(script.messages,
              (std::vector<std::string>{"Unexpected error in CKestrumDlg::OnOpen: not enough memory."}));
    EXPECT_EQ(recorder.events(), (std::vector<std::string>{"pos 0", "show", "hide"}));
    EXPECT_EQ(Summary(), shown);
    EXPECT_EQ(dlg.m_archive.m_path, good);
    EXPECT_EQ(dlg.m_archive.m_files.size(), 4u);
    EXPECT_TRUE(IsWindow(dlg.m_hWnd));
}

}  // namespace
