#include "framework/folder_browser.h"

#include <shlobj.h>

#include <utility>

#include "framework/app.h"
#include "framework/dialog_script.h"
#include "platform/wide_text.h"

namespace kestrum {

std::wstring Cp1251ToWide(const std::string& text) { return WideFromCodePage(text, 1251); }

CFolderBrowser::CFolderBrowser(std::string titleCp1251, UINT flags, CWnd* pParentWnd)
    : m_title(std::move(titleCp1251)), m_flags(flags), m_pParentWnd(pParentWnd) {}

INT_PTR CFolderBrowser::DoModal() {
    CWnd* ownerWnd = m_pParentWnd ? m_pParentWnd : AfxGetMainWnd();
    HWND owner = ownerWnd ? ownerWnd->m_hWnd : nullptr;
    // Shown through the wide API so that the title reads right on any system code page.
    const std::wstring title = Cp1251ToWide(m_title);

    if (DialogScript* script = InstalledDialogScript()) {
        script->folderRequests.push_back({title, m_flags, owner});
        std::optional<std::string> answer = TakeAnswer(script->folderAnswers);
        if (!answer) return IDCANCEL;
        m_path = *answer;
        return IDOK;
    }

    BROWSEINFOW info{};
    info.hwndOwner = owner;
    info.lpszTitle = title.c_str();
    info.ulFlags = m_flags;
    PIDLIST_ABSOLUTE chosen = ::SHBrowseForFolderW(&info);
    if (!chosen) return IDCANCEL;
    char path[MAX_PATH] = {};
    const BOOL hasPath = ::SHGetPathFromIDListA(chosen, path);
    ::CoTaskMemFree(chosen);
    m_path = hasPath ? path : "";  // the caller decides what a choice without a path means
    return IDOK;
}

}  // namespace kestrum
