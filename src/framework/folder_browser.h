// The shell's folder browser.
#pragma once

#include <windows.h>

#include <string>

#include "framework/wnd.h"

namespace kestrum {

class CFolderBrowser {
public:
    // title holds Windows-1251 text: it is shown converted, whatever the
    // system's code page. flags are BIF_ flags. No parent: the application's
    // main window owns the browser.
    CFolderBrowser(std::string titleCp1251, UINT flags, CWnd* pParentWnd = nullptr);

    // IDOK when the user chose a folder, IDCANCEL when the browser was cancelled.
    INT_PTR DoModal();
    // The chosen folder's file-system path (no trailing backslash except on a
    // drive root); empty when the chosen item has none (a printer, the network).
    // Under a test script an empty answer stands for such a choice.
    const std::string& GetPath() const { return m_path; }

private:
    std::string m_title;
    UINT m_flags;
    CWnd* m_pParentWnd;
    std::string m_path;
};

// Windows-1251 text as UTF-16.
std::wstring Cp1251ToWide(const std::string& text);

}  // namespace kestrum
