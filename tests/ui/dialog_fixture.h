// A real main dialog, created modelessly from its template, with the modal
// pieces scripted, archives written to a temporary folder, and small readers
// of the list and the tree.
#pragma once

#include <gtest/gtest.h>

#include <windows.h>
#include <commctrl.h>

#include <algorithm>
#include <optional>
#include <string>
#include <vector>

#include "bsa_builder.h"
#include "framework/app.h"
#include "framework/dialog_script.h"
#include "gui_support.h"
#include "resource.h"
#include "test_support.h"
#include "ui/kestrum_dlg.h"

namespace kestrum::test {

class DialogFixture : public ::testing::Test {
protected:
    static void SetUpTestSuite() { InitCommonControls(); }

    void SetUp() override {
        ASSERT_TRUE(dlg.Create(CKestrumDlg::IDD));
        app.m_pMainWnd = &dlg;
    }

    HWND Item(int id) const { return GetDlgItem(dlg.m_hWnd, id); }
    void Click(int id) const { SendMessageA(Item(id), BM_CLICK, 0, 0); }

    std::string WriteArchive(const std::string& name, const ArchiveSpec& plan) const {
        WriteBytes(dir.path() / name, BuildArchive(plan).bytes);
        return dir.Join(name);
    }
    void Open(std::optional<std::string> path) {
        script.fileAnswers.push_back(std::move(path));
        Click(IDC_OPEN);
    }
    // A header click as the list's header sends it.
    void ClickHeader(int column) const {
        NMLISTVIEW notify{};
        notify.hdr.hwndFrom = dlg.m_fileList.m_hWnd;
        notify.hdr.idFrom = IDC_FILE_LIST;
        notify.hdr.code = LVN_COLUMNCLICK;
        notify.iItem = -1;
        notify.iSubItem = column;
        SendMessageA(dlg.m_hWnd, WM_NOTIFY, IDC_FILE_LIST, reinterpret_cast<LPARAM>(&notify));
    }

    // Every row's three texts.
    std::vector<std::vector<std::string>> Rows() const {
        std::vector<std::vector<std::string>> rows;
        for (int r = 0; r < dlg.m_fileList.GetItemCount(); ++r)
            rows.push_back({dlg.m_fileList.GetItemText(r, 0), dlg.m_fileList.GetItemText(r, 1),
                            dlg.m_fileList.GetItemText(r, 2)});
        return rows;
    }
    std::vector<std::string> Names() const {
        std::vector<std::string> names;
        for (int r = 0; r < dlg.m_fileList.GetItemCount(); ++r) names.push_back(dlg.m_fileList.GetItemText(r, 0));
        return names;
    }
    void SelectRows(const std::vector<int>& rows) const {
        LVITEMA clear{};
        clear.stateMask = LVIS_SELECTED;
        SendMessageA(dlg.m_fileList.m_hWnd, LVM_SETITEMSTATE, static_cast<WPARAM>(-1), reinterpret_cast<LPARAM>(&clear));
        for (int r : rows) {
            LVITEMA item{};
            item.state = LVIS_SELECTED;
            item.stateMask = LVIS_SELECTED;
            SendMessageA(dlg.m_fileList.m_hWnd, LVM_SETITEMSTATE, static_cast<WPARAM>(r),
                         reinterpret_cast<LPARAM>(&item));
        }
    }

    // The tree as indented lines: two spaces per depth, "+" before an
    // expanded item that has children.
    std::vector<std::string> TreeLines() const {
        std::vector<std::string> lines;
        Walk(TVI_ROOT, 0, lines);
        return lines;
    }
    void Walk(HTREEITEM parent, int depth, std::vector<std::string>& lines) const {
        for (HTREEITEM item = dlg.m_folderTree.GetNextItem(parent == TVI_ROOT ? nullptr : parent,
                                                           parent == TVI_ROOT ? TVGN_ROOT : TVGN_CHILD);
             item; item = dlg.m_folderTree.GetNextItem(item, TVGN_NEXT)) {
            const UINT state = static_cast<UINT>(
                SendMessageA(dlg.m_folderTree.m_hWnd, TVM_GETITEMSTATE, reinterpret_cast<WPARAM>(item), TVIS_EXPANDED));
            const bool expanded = (state & TVIS_EXPANDED) && dlg.m_folderTree.GetChildItem(item);
            lines.push_back(std::string(2 * depth, ' ') + (expanded ? "+" : "") + dlg.m_folderTree.GetItemText(item));
            Walk(item, depth + 1, lines);
        }
    }
    // The item reached from the top item by the texts of path, one per level.
    HTREEITEM TreeItem(const std::vector<std::string>& path) const {
        HTREEITEM item = dlg.m_hRootItem;
        for (const std::string& text : path) {
            item = dlg.m_folderTree.GetChildItem(item);
            while (item && dlg.m_folderTree.GetItemText(item) != text) item = dlg.m_folderTree.GetNextItem(item, TVGN_NEXT);
            if (!item) return nullptr;
        }
        return item;
    }

    TempDir dir;
    DialogScript script;
    ScriptedDialogs scripted{script};
    CWinApp app;
    CKestrumDlg dlg;
};

}  // namespace kestrum::test
