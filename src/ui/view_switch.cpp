// The List and Tree buttons: show one view, hide the other, keep both as they are.
#include "ui/kestrum_dlg.h"

namespace kestrum {

void CKestrumDlg::OnListView() {
    m_fileList.ShowWindow(SW_SHOW);
    m_folderTree.ShowWindow(SW_HIDE);
    m_viewMode = 0;
}

void CKestrumDlg::OnTreeView() {
    m_fileList.ShowWindow(SW_HIDE);
    m_folderTree.ShowWindow(SW_SHOW);
    m_viewMode = 1;
}

}  // namespace kestrum
