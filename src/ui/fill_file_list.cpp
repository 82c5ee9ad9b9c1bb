// The file list: one row per file, in archive order or in the order of the
// clicked column, and the header click that chooses that order.
#include <cstdint>
#include <string>
#include <vector>

#include "archive/file_texts.h"
#include "ui/kestrum_dlg.h"
#include "ui/redraw_suspended.h"

namespace kestrum {

namespace {

// Readies the list for a fill of n > 0 rows and returns how many of its rows
// stay to be written over. Emptying a list control costs, on some platforms,
// a search over the remaining rows for every row deleted, which makes a
// refill of many rows (every header click, every Open after a large archive)
// quadratic; writing a row's texts over costs no more than inserting it. Rows
// beyond n go, and the rows that stay lose their selection and focus, and the
// view returns to the top, just as after deleting every row and inserting anew.
int KeepRowsForRefill(const CListCtrl& list, int n) {
    for (int row = list.GetItemCount(); row > n; --row) list.DeleteItem(row - 1);
    const int kept = list.GetItemCount();
    if (kept == 0) return 0;
    // Setting a state on every row notifies for every row, so only when needed.
    if (list.GetSelectedCount() > 0) list.SetItemState(-1, 0, LVIS_SELECTED);
    const int focused = list.GetNextItem(-1, LVNI_FOCUSED);
    if (focused >= 0) list.SetItemState(focused, 0, LVIS_FOCUSED);
    list.SetSelectionMark(-1);
    list.EnsureVisible(0, FALSE);
    return kept;
}

}  // namespace

void CKestrumDlg::FillFileList() {
    const std::vector<BsaFileEntry>& files = m_archive.m_files;
    const std::size_t n = files.size();
    if (n == 0) {
        m_fileList.DeleteAllItems();
        return;
    }

    RedrawSuspended quiet(m_fileList);
    const int kept = KeepRowsForRefill(m_fileList, static_cast<int>(n));

    const std::vector<std::int32_t>* order = nullptr;
    if (m_sortColumn >= 0 && m_sortColumn <= 2) {
        CProgressCtrl& progress = m_progressDlg.m_progress;
        progress.SetPos(0);
        m_progressDlg.ShowWindow(SW_SHOW);
        m_archive.SortFiles(ProgressTarget(static_cast<void*>(progress.m_hWnd)), m_sortColumn);
        const std::vector<std::int32_t>* orders[] = {&m_archive.m_nameOrder, &m_archive.m_sizeOrder,
                                                     &m_archive.m_hashOrder};
        order = orders[m_sortColumn];
    }

    m_fileList.SetItemCount(static_cast<int>(n));
    for (std::size_t r = 0; r < n; ++r) {
        const BsaFileEntry& file = files[order ? static_cast<std::size_t>((*order)[r]) : r];
        const int row = static_cast<int>(r);
        if (row < kept)
            m_fileList.SetItemText(row, 0, FileNameText(file).c_str());
        else
            m_fileList.InsertItem(row, FileNameText(file).c_str());
        m_fileList.SetItemText(row, 1, FileSizeText(file).c_str());
        m_fileList.SetItemText(row, 2, FileHashText(file).c_str());
    }
    m_progressDlg.ShowWindow(SW_HIDE);
}

void CKestrumDlg::OnColumnClick(NMHDR* pNMHDR, LRESULT* pResult) {
    const int column = reinterpret_cast<const NMLISTVIEW*>(pNMHDR)->iSubItem;
    if (column >= 0 && column <= 2) {
        m_sortColumn = column;
        FillFileList();
    }
    *pResult = 0;
}

}  // namespace kestrum
