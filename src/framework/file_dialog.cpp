#include "framework/file_dialog.h"

#include <commdlg.h>

#include "framework/app.h"
#include "framework/dialog_script.h"

namespace kestrum {

std::string FilterToSystem(const std::string& filter) {
    std::string out = filter;
    for (char& c : out)
        if (c == '|') c = '\0';
    out.push_back('\0');  // the list ends with two zeros even if the text does not
    out.push_back('\0');
    return out;
}

CFileDialog::CFileDialog(BOOL bOpenFileDialog, const char* lpszDefExt, const char* lpszFileName, DWORD dwFlags,
                         const char* lpszFilter, CWnd* pParentWnd)
    : m_open(bOpenFileDialog),
      m_defExt(lpszDefExt ? lpszDefExt : ""),
      m_fileName(lpszFileName ? lpszFileName : ""),
      m_flags(dwFlags),
      m_filter(lpszFilter ? lpszFilter : ""),
      m_pParentWnd(pParentWnd) {}

INT_PTR CFileDialog::DoModal() {
    CWnd* ownerWnd = m_pParentWnd ? m_pParentWnd : AfxGetMainWnd();
    HWND owner = ownerWnd ? ownerWnd->m_hWnd : nullptr;

    if (DialogScript* script = InstalledDialogScript()) {
        script->fileRequests.push_back({m_open != FALSE, m_defExt, m_fileName, m_filter, m_flags, owner});
        std::optional<std::string> answer = TakeAnswer(script->fileAnswers);
        if (!answer) return IDCANCEL;
        m_path = *answer;
        return IDOK;
    }

    const std::string filter = FilterToSystem(m_filter);
    char path[MAX_PATH] = {};
    m_fileName.copy(path, MAX_PATH - 1);
    OPENFILENAMEA ofn{};
    ofn.lStructSize = sizeof ofn;
    ofn.hwndOwner = owner;
    ofn.lpstrFilter = m_filter.empty() ? nullptr : filter.c_str();
    ofn.nFilterIndex = 1;
    ofn.lpstrFile = path;
    ofn.nMaxFile = MAX_PATH;
    ofn.lpstrDefExt = m_defExt.empty() ? nullptr : m_defExt.c_str();
    ofn.Flags = m_flags;
    const BOOL chosen = m_open ? ::GetOpenFileNameA(&ofn) : ::GetSaveFileNameA(&ofn);
    if (!chosen) return IDCANCEL;
    m_path = path;
    return IDOK;
}

}  // namespace kestrum
