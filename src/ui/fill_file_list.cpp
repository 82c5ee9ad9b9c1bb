// The file list: one row per file, in archive order or in the order of the
// clicked column, and the header click that chooses that order.
#include <cstdint>
#include <string>
#include <vector>

#include "archive/file_texts.h"
#include "ui/kestrum_dlg.h"
#include "ui/redraw_suspended.h"

namespace kestrum {

void CKestrumDlg::FillFileList() {
    m_fileList.DeleteAllItems();
    const std::vector<BsaFileEntry>& files = m_archive.m_files;
    const std::size_t n = files.size();
    if (n == 0) return;

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

    {
        RedrawSuspended quiet(m_fileList);
        m_fileList.SetItemCount(static_cast<int>(n));
        for (std::size_t r = 0; r < n; ++r) {
            const BsaFileEntry& file = files[order ? static_cast<std::size_t>((*order)[r]) : r];
            const int row = static_cast<int>(r);
            m_fileList.InsertItem(row, FileNameText(file).c_str());
            m_fileList.SetItemText(row, 1, FileSizeText(file).c_str());
            m_fileList.SetItemText(row, 2, FileHashText(file).c_str());
        }
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
