// The system's open (or save) file dialog.
#pragma once

#include <windows.h>
#include <commdlg.h>

#include <string>

#include "framework/wnd.h"

namespace kestrum {

// Turns a filter of "description|pattern|...||" into the system's form, in
// which every "|" becomes a zero: pairs of texts, an empty description ending
// the list.
std::string FilterToSystem(const std::string& filter);

class CFileDialog {
public:
    // No parent: the application's main window owns the dialog.
    CFileDialog(BOOL bOpenFileDialog, const char* lpszDefExt = nullptr, const char* lpszFileName = nullptr,
                DWORD dwFlags = OFN_HIDEREADONLY | OFN_OVERWRITEPROMPT, const char* lpszFilter = nullptr,
                CWnd* pParentWnd = nullptr);

    // IDOK when the user chose a file, IDCANCEL otherwise (also when the
    // dialog failed, for example on a path longer than its buffer).
    INT_PTR DoModal();
    // The chosen file's full path.
    const std::string& GetPathName() const { return m_path; }

private:
    BOOL m_open;
    std::string m_defExt;
    std::string m_fileName;
    DWORD m_flags;
    std::string m_filter;
    CWnd* m_pParentWnd;
    std::string m_path;
};

}  // namespace kestrum
