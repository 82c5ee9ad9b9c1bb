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

// Shows the progress dialog at position 0 for the life of the object and hides
// it however the command ends: an error raised by the file layer must not
// leave the dialog standing over the views.
class CProgressShown {
public:
    explicit CProgressShown(CProgressDlg& dialog) : m_dialog(dialog) {
        m_dialog.m_progress.SetPos(0);
        m_dialog.ShowWindow(SW_SHOW);
    }
    ~CProgressShown() { m_dialog.ShowWindow(SW_HIDE); }
    CProgressShown(const CProgressShown&) = delete;
    CProgressShown& operator=(const CProgressShown&) = delete;

private:
    CProgressDlg& m_dialog;
};

}  // namespace kestrum
