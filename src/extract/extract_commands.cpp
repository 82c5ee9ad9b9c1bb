// The Extract All and Extract commands of the main dialog: ask for a
// destination, turn the selection into files and extract them one by one.
// Only CKestrumDlg's declaration is used from the window's side.
#include <windows.h>
#include <shlobj.h>

#include <cstdint>
#include <string>

#include "framework/folder_browser.h"
#include "platform/mbtext.h"
#include "platform/message_box.h"
#include "ui/kestrum_dlg.h"

namespace kestrum {

namespace {

// "Выберите каталог для записи файлов" in Windows-1251: choose the folder to write the files to.
const char kBrowseTitle[] =
    "\xC2\xFB\xE1\xE5\xF0\xE8\xF2\xE5 \xEA\xE0\xF2\xE0\xEB\xEE\xE3 \xE4\xEB\xFF "
    "\xE7\xE0\xEF\xE8\xF1\xE8 \xF4\xE0\xE9\xEB\xEE\xE2";
// Only file-system folders, nothing below the domain. "Browse for computer"
// would gray OK for every folder.
constexpr UINT kBrowseFlags = BIF_RETURNONLYFSDIRS | BIF_DONTGOBELOWDOMAIN;

// The destination chosen in the folder browser; false when the user cancelled
// or chose something that is not a file-system folder (said so, once).
bool ChooseDestination(CWnd* owner, std::string& destination) {
    CFolderBrowser browser(kBrowseTitle, kBrowseFlags, owner);
    if (browser.DoModal() != IDOK) return false;
    if (browser.GetPath().empty()) {
        AfxMessageBox("Invalid path.", kMbOk);
        return false;
    }
    destination = browser.GetPath();
    return true;
}

// Sends a position only when it rises above the last one sent.
class RisingPosition {
public:
    explicit RisingPosition(const CProgressCtrl& bar) : m_bar(bar) {}
    void Send(int position) {
        if (position > m_last) m_bar.SetPos(m_last = position);
    }

private:
    const CProgressCtrl& m_bar;
    int m_last = 0;
};

// floor(scale * i / n) without overflow for any file count.
int Share(int scale, std::size_t i, std::size_t n) {
    return static_cast<int>(static_cast<std::uint64_t>(scale) * i / n);
}

// A file's folder lies in the node's folder or below it: its path equals the
// node's full path or continues it after a backslash (a\b takes a\b\c, not a\bc).
bool InFolder(const std::string& folderPath, const std::string& fullPath) {
    return MbsCompare(folderPath, fullPath) == 0 || MbsFind(folderPath, fullPath + "\\") == 0;
}

}  // namespace

void CKestrumDlg::OnExtractAll() {
    const std::size_t n = m_archive.m_files.size();
    if (n == 0) return;
    std::string destination;
    if (!ChooseDestination(this, destination)) return;
    const int withoutPath = m_checkNoPath.GetCheck() ? 1 : 0;

    CProgressShown shown(m_progressDlg);
    RisingPosition progress(m_progressDlg.m_progress);
    for (std::size_t i = 0; i < n; ++i) {
        progress.Send(Share(100, i, n));
        // The extractor has shown its message; the rest is not written.
        if (m_archive.ExtractFile(destination, static_cast<std::int32_t>(i), withoutPath) != kExtractOk) break;
    }
}

void CKestrumDlg::OnExtract() {
    const std::size_t n = m_archive.m_files.size();
    if (n == 0) return;
    const HTREEITEM selected = m_viewMode == 1 ? m_folderTree.GetSelectedItem() : nullptr;
    if (m_viewMode == 1 && selected && selected == m_hRootItem) {
        OnExtractAll();  // the archive's own item stands for all of it
        return;
    }
    std::string destination;
    if (!ChooseDestination(this, destination)) return;
    const int withoutPath = m_checkNoPath.GetCheck() ? 1 : 0;

    CProgressShown shown(m_progressDlg);
    RisingPosition progress(m_progressDlg.m_progress);
    const auto extract = [&](std::int32_t index) {
        // A failed file has had its message; the others still go out.
        if (index >= 0) m_archive.ExtractFile(destination, index, withoutPath);
    };

    if (m_viewMode == 0) {
        const int rows = m_fileList.GetItemCount();
        for (int j = 0; j < rows; ++j) {
            progress.Send(Share(100, static_cast<std::size_t>(j), n));
            if (!(m_fileList.GetItemState(j, LVIS_SELECTED) & LVIS_SELECTED)) continue;
            extract(m_fileByText.Find(m_fileList.GetItemText(j, 0)));
        }
        return;
    }

    if (!selected) return;  // nothing chosen in the tree
    if (m_folderTree.GetChildItem(selected)) {
        const FolderNode* folder = nullptr;
        for (const FolderNode& node : m_archive.m_tree) {
            if (node.item == selected) {
                folder = &node;
                break;
            }
        }
        progress.Send(10);
        if (!folder) return;
        for (std::size_t j = 0; j < n; ++j) {
            progress.Send(10 + Share(90, j, n));
            if (InFolder(m_archive.m_files[j].folderPath, folder->fullPath)) extract(static_cast<std::int32_t>(j));
        }
        return;
    }

    progress.Send(20);
    std::string path = m_folderTree.GetItemText(selected);
    for (HTREEITEM parent = m_folderTree.GetParentItem(selected); parent && parent != m_hRootItem;
         parent = m_folderTree.GetParentItem(parent))
        path = m_folderTree.GetItemText(parent) + "\\" + path;
    progress.Send(40);
    const std::int32_t index = m_fileByText.Find(path);
    progress.Send(60);
    extract(index);
    progress.Send(100);
}

}  // namespace kestrum
