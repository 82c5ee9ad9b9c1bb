// The small modeless dialog with the program's one progress bar.
#pragma once

#include "framework/controls.h"
#include "framework/dialog.h"
#include "resource.h"

namespace kestrum {

class CProgressDlg : public CDialog {
public:
    enum { IDD = IDD_PROGRESS };
    explicit CProgressDlg(CWnd* pParent = nullptr) : CDialog(IDD, pParent) {}

    CProgressCtrl m_progress;

protected:
    void DoDataExchange(CDataExchange* pDX) override;
};

}  // namespace kestrum
