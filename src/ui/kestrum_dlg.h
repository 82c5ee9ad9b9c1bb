// The main dialog: the archive's summary, its two views, the commands, and the
// catalogue it owns for its whole life.
#pragma once

#include <windows.h>
#include <commctrl.h>

#include "archive/bsa_archive.h"
#include "archive/file_text_index.h"
#include "framework/controls.h"
#include "framework/dialog.h"
#include "resource.h"
#include "ui/progress_dlg.h"

namespace kestrum {

class CKestrumDlg : public CDialog {
public:
    enum { IDD = IDD_KESTRUM_DIALOG };
    explicit CKestrumDlg(CWnd* pParent = nullptr);

    HICON m_hIcon;
    CBsaArchive m_archive;
    CProgressDlg m_progressDlg;
    int m_viewMode = 0;     // 0 the file list is shown, 1 the folder tree
    int m_sortColumn = -1;  // the list's order: -1 archive order, else the sorted column
    HTREEITEM m_hRootItem = nullptr;
    CEdit m_editPath;
    CEdit m_editFolders;
    CEdit m_editFiles;
    CEdit m_editCompression;
    CListCtrl m_fileList;
    CTreeCtrl m_folderTree;
    CButton m_checkNoPath;
    // Name text -> file, rebuilt with every successful Open.
    FileTextIndex m_fileByText;

protected:
    void DoDataExchange(CDataExchange* pDX) override;
    BOOL OnInitDialog() override;
    MessageMap GetMessageMap() const override;

    void OnSysCommand(UINT nID, LPARAM lParam);
    void OnPaint();
    HCURSOR OnQueryDragIcon();
    void OnOpen();
    void OnExtractAll();
    void OnExtract();
    void OnListView();
    void OnTreeView();
    void OnColumnClick(NMHDR* pNMHDR, LRESULT* pResult);

    void FillFileList();
    void FillFolderTree();

private:
    void AppendAboutItem();
    void SetUpFileListColumns();
    void ShowSummary();
};

}  // namespace kestrum
