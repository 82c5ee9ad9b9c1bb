#include "ui/progress_dlg.h"

namespace kestrum {

void CProgressDlg::DoDataExchange(CDataExchange* pDX) {
    CDialog::DoDataExchange(pDX);
    DDX_Control(pDX, IDC_PROGRESS, m_progress);
}

}  // namespace kestrum
