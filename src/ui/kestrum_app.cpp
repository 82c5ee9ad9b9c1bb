#include "ui/kestrum_app.h"

#include <commctrl.h>

#include "ui/kestrum_dlg.h"

namespace kestrum {

BOOL CKestrumApp::InitInstance() {
    ::InitCommonControls();  // the list, tree and progress classes of the dialogs
    CWinApp::InitInstance();
    SetRegistryKey(kRegistryKey);

    CKestrumDlg dlg;
    m_pMainWnd = &dlg;
    dlg.DoModal();  // IDOK, IDCANCEL or -1: the program ends either way
    m_pMainWnd = nullptr;
    return FALSE;  // no message loop of our own: the process ends
}

}  // namespace kestrum
