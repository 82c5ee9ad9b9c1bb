// The main dialog's window-level handlers: the About item of the system menu
// and the program icon (title bar, minimised window, drag cursor).
#include "framework/app.h"
#include "ui/about_dlg.h"
#include "ui/kestrum_dlg.h"

namespace kestrum {

void CKestrumDlg::AppendAboutItem() {
    HMENU systemMenu = GetSystemMenu(FALSE);
    if (!systemMenu) return;
    const std::string text = AfxLoadString(IDS_ABOUTBOX);
    if (text.empty()) return;
    ::AppendMenuA(systemMenu, MF_SEPARATOR, 0, nullptr);
    ::AppendMenuA(systemMenu, MF_STRING, IDM_ABOUTBOX, text.c_str());
}

void CKestrumDlg::OnSysCommand(UINT nID, LPARAM lParam) {
    (void)lParam;
    // The low four bits of a system command belong to the system.
    if ((nID & 0xFFF0) == IDM_ABOUTBOX) {
        CAboutDlg about;
        about.DoModal();
    } else {
        Default();
    }
}

void CKestrumDlg::OnPaint() {
    if (!IsIconic()) {
        Default();
        return;
    }
    CPaintDC dc(this);
    SendMessage(WM_ICONERASEBKGND, reinterpret_cast<WPARAM>(dc.m_hDC), 0);
    const int cxIcon = ::GetSystemMetrics(SM_CXICON);
    const int cyIcon = ::GetSystemMetrics(SM_CYICON);
    RECT rect;
    GetClientRect(&rect);
    const int x = (rect.right - rect.left - cxIcon + 1) / 2;
    const int y = (rect.bottom - rect.top - cyIcon + 1) / 2;
    ::DrawIcon(dc.m_hDC, x, y, m_hIcon);
}

HCURSOR CKestrumDlg::OnQueryDragIcon() { return static_cast<HCURSOR>(m_hIcon); }

}  // namespace kestrum
