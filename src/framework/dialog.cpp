#include "framework/dialog.h"

#include <stdexcept>
#include <string>
#include <utility>

#include "framework/app.h"
#include "framework/unexpected_error.h"

namespace kestrum {

void DDX_Control(CDataExchange* pDX, int nIDC, CWnd& control) {
    if (control.m_hWnd) return;
    HWND item = ::GetDlgItem(pDX->m_pDlgWnd->m_hWnd, nIDC);
    if (!item) throw std::logic_error("the dialog has no control " + std::to_string(nIDC) + ".");
    control.Attach(item);
}

CDialog::CDialog(UINT nIDTemplate, CWnd* pParentWnd) : m_nIDTemplate(nIDTemplate), m_pParentWnd(pParentWnd) {}

CDialog::~CDialog() {
    if (m_hWnd && m_modeless) {
        // Unhook first: the derived parts of this object are gone already.
        ::SetWindowLongPtrA(m_hWnd, DWLP_USER, 0);
        ::DestroyWindow(m_hWnd);
    }
}

HWND CDialog::OwnerWindow() const {
    if (m_pParentWnd) return m_pParentWnd->m_hWnd;
    CWnd* main = AfxGetMainWnd();
    return main && main != this ? main->m_hWnd : nullptr;
}

INT_PTR CDialog::DoModal() {
    m_modeless = false;
    const INT_PTR result = ::DialogBoxParamA(AfxGetInstanceHandle(), MAKEINTRESOURCEA(m_nIDTemplate), OwnerWindow(),
                                             &CDialog::DialogProc, reinterpret_cast<LPARAM>(this));
    m_hWnd = nullptr;
    return result;
}

BOOL CDialog::Create(UINT nIDTemplate, CWnd* pParentWnd) {
    m_nIDTemplate = nIDTemplate;
    m_pParentWnd = pParentWnd;
    m_modeless = true;
    HWND hWnd = ::CreateDialogParamA(AfxGetInstanceHandle(), MAKEINTRESOURCEA(nIDTemplate), OwnerWindow(),
                                     &CDialog::DialogProc, reinterpret_cast<LPARAM>(this));
    return hWnd != nullptr;
}

void CDialog::EndDialog(int nResult) { ::EndDialog(m_hWnd, nResult); }

BOOL CDialog::UpdateData(BOOL bSaveAndValidate) {
    CDataExchange dx{this, bSaveAndValidate};
    DoDataExchange(&dx);
    return TRUE;
}

BOOL CDialog::OnInitDialog() {
    UpdateData(FALSE);
    return TRUE;
}

void CDialog::OnOK() {
    if (UpdateData(TRUE)) EndDialog(IDOK);
}

void CDialog::OnCancel() { EndDialog(IDCANCEL); }

INT_PTR CALLBACK CDialog::DialogProc(HWND hWnd, UINT message, WPARAM wParam, LPARAM lParam) {
    if (message == WM_INITDIALOG) {
        auto* self = reinterpret_cast<CDialog*>(lParam);
        ::SetWindowLongPtrA(hWnd, DWLP_USER, lParam);
        self->m_hWnd = hWnd;
        BOOL focusFirst = TRUE;
        CallReportingErrors("OnInitDialog", [&] { focusFirst = self->OnInitDialog(); });
        // Templates place dialogs at 0,0; a window opens centred over its owner (or the screen).
        const LONG style = ::GetWindowLongA(hWnd, GWL_STYLE);
        if (!(style & (WS_CHILD | DS_ABSALIGN))) self->CenterWindow();
        return focusFirst;
    }
    auto* self = reinterpret_cast<CDialog*>(::GetWindowLongPtrA(hWnd, DWLP_USER));
    if (!self) return FALSE;
    if (message == WM_NCDESTROY) {
        self->m_hWnd = nullptr;
        return FALSE;
    }
    return self->Dispatch(message, wParam, lParam);
}

INT_PTR CDialog::Dispatch(UINT message, WPARAM wParam, LPARAM lParam) {
    UINT code = 0;
    UINT id = 0;
    if (message == WM_COMMAND) {
        code = HIWORD(wParam);
        id = LOWORD(wParam);
    } else if (message == WM_NOTIFY) {
        const auto* header = reinterpret_cast<const NMHDR*>(lParam);
        code = header->code;
        id = static_cast<UINT>(header->idFrom);
    }

    for (const MessageEntry& entry : GetMessageMap()) {
        if (entry.message != message || entry.code != code || entry.id != id) continue;
        // Handlers nest (a modal loop inside one dispatches others): each has its own request.
        const bool outerRequest = std::exchange(m_passToDefault, false);
        LRESULT result = 0;
        CallReportingErrors(entry.name, [&] { result = entry.thunk(*this, wParam, lParam); });
        if (std::exchange(m_passToDefault, outerRequest)) return FALSE;
        switch (message) {
        // These return their result from the dialog procedure itself.
        case WM_QUERYDRAGICON:
        case WM_CTLCOLORMSGBOX:
        case WM_CTLCOLOREDIT:
        case WM_CTLCOLORLISTBOX:
        case WM_CTLCOLORBTN:
        case WM_CTLCOLORDLG:
        case WM_CTLCOLORSCROLLBAR:
        case WM_CTLCOLORSTATIC:
        case WM_COMPAREITEM:
        case WM_VKEYTOITEM:
        case WM_CHARTOITEM:
            return static_cast<INT_PTR>(result);
        default:
            if (m_hWnd) ::SetWindowLongPtrA(m_hWnd, DWLP_MSGRESULT, result);
            return TRUE;
        }
    }

    if (message == WM_COMMAND && code == BN_CLICKED && (id == IDOK || id == IDCANCEL)) {
        CallReportingErrors(id == IDOK ? "OnOK" : "OnCancel", [&] { id == IDOK ? OnOK() : OnCancel(); });
        return TRUE;
    }
    return FALSE;
}

}  // namespace kestrum
