// The Open command: choose an archive, load its catalogue, show its summary and
// rebuild what the views are made from.
#include <cstdint>
#include <string>
#include <utility>

#include "framework/file_dialog.h"
#include "ui/kestrum_dlg.h"

namespace kestrum {

namespace {

const char kOpenFilter[] = " BSA file (*.bsa) |*.bsa| All files (*.*)| *.* ||";
constexpr DWORD kOpenFlags = OFN_HIDEREADONLY | OFN_OVERWRITEPROMPT;  // 6

}  // namespace

void CKestrumDlg::OnOpen() {
    CFileDialog fileDlg(TRUE, nullptr, nullptr, kOpenFlags, kOpenFilter, this);
    if (fileDlg.DoModal() != IDOK) return;
    const std::string path = fileDlg.GetPathName();

    CProgressShown shown(m_progressDlg);
    CProgressCtrl& progress = m_progressDlg.m_progress;

    // Loaded aside and taken over only when it succeeded: a failed load leaves
    // the archive on the screen and the catalogue behind it as they were.
    CBsaArchive loaded;
    const std::int32_t result = loaded.LoadCatalog(path);
    progress.SetPos(10);
    if (result != kLoadOk) return;  // the loader has shown its message
    m_archive = std::move(loaded);
    m_fileByText.Build(m_archive.m_files);

    ShowSummary();
    m_checkNoPath.SetCheck(BST_UNCHECKED);

    m_archive.BuildFolderTree(ProgressTarget(static_cast<void*>(progress.m_hWnd)));
    progress.SetPos(90);

    // The list goes back to archive order; with files, its fill hides the
    // progress dialog, and the tree is filled with the dialog already gone.
    m_sortColumn = -1;
    FillFileList();
    progress.SetPos(95);
    FillFolderTree();
    progress.SetPos(100);
}

void CKestrumDlg::ShowSummary() {
    const BsaHeader& header = m_archive.m_header;
    m_editPath.SetWindowText(m_archive.m_path);
    m_editFolders.SetWindowText(std::to_string(header.folderCount));
    m_editFiles.SetWindowText(std::to_string(header.fileCount));
    m_editCompression.SetWindowText((header.archiveFlags & kArchiveCompressed) ? "deflate" : "none");
}

}  // namespace kestrum
