#include "ui/kestrum_dlg.h"

#include "framework/app.h"

namespace kestrum {

CKestrumDlg::CKestrumDlg(CWnd* pParent)
    : CDialog(IDD, pParent), m_hIcon(::LoadIconA(AfxGetInstanceHandle(), MAKEINTRESOURCEA(IDR_MAINFRAME))) {}

MessageMap CKestrumDlg::GetMessageMap() const {
    static constexpr MessageEntry entries[] = {
        KESTRUM_ON_MESSAGE(WM_SYSCOMMAND, CKestrumDlg::OnSysCommand),
        KESTRUM_ON_MESSAGE(WM_PAINT, CKestrumDlg::OnPaint),
        KESTRUM_ON_MESSAGE(WM_QUERYDRAGICON, CKestrumDlg::OnQueryDragIcon),
        KESTRUM_ON_COMMAND(BN_CLICKED, IDC_OPEN, CKestrumDlg::OnOpen),
        KESTRUM_ON_COMMAND(BN_CLICKED, IDC_EXTRACT_ALL, CKestrumDlg::OnExtractAll),
        KESTRUM_ON_COMMAND(BN_CLICKED, IDC_EXTRACT, CKestrumDlg::OnExtract),
        KESTRUM_ON_COMMAND(BN_CLICKED, IDC_LIST_VIEW, CKestrumDlg::OnListView),
        KESTRUM_ON_COMMAND(BN_CLICKED, IDC_TREE_VIEW, CKestrumDlg::OnTreeView),
        KESTRUM_ON_NOTIFY(LVN_COLUMNCLICK, IDC_FILE_LIST, CKestrumDlg::OnColumnClick),
    };
    return entries;
}

void CKestrumDlg::DoDataExchange(CDataExchange* pDX) {
    CDialog::DoDataExchange(pDX);
    DDX_Control(pDX, IDC_EDIT_PATH, m_editPath);
    DDX_Control(pDX, IDC_EDIT_FOLDERS, m_editFolders);
    DDX_Control(pDX, IDC_EDIT_FILES, m_editFiles);
    DDX_Control(pDX, IDC_EDIT_COMPRESSION, m_editCompression);
    DDX_Control(pDX, IDC_CHECK_NO_PATH, m_checkNoPath);
    DDX_Control(pDX, IDC_FOLDER_TREE, m_folderTree);
    DDX_Control(pDX, IDC_FILE_LIST, m_fileList);
}

BOOL CKestrumDlg::OnInitDialog() {
    CDialog::OnInitDialog();

    AppendAboutItem();
    SetIcon(m_hIcon, TRUE);
    SetIcon(m_hIcon, FALSE);

    SetUpFileListColumns();

    // Created once and kept, hidden, until the dialog goes.
    m_progressDlg.Create(CProgressDlg::IDD, this);
    m_progressDlg.CenterWindow();
    m_progressDlg.ShowWindow(SW_HIDE);
    m_progressDlg.m_progress.SetRange(0, 100);
    return TRUE;
}

void CKestrumDlg::SetUpFileListColumns() {
    m_fileList.ShowWindow(SW_SHOW);
    m_folderTree.ShowWindow(SW_HIDE);
    m_viewMode = 0;
    m_sortColumn = -1;

    m_fileList.InsertColumn(0, "Name", LVCFMT_LEFT, 0);
    m_fileList.InsertColumn(1, "Size", LVCFMT_LEFT, 0);
    m_fileList.InsertColumn(2, "Hash", LVCFMT_LEFT, 0);
    m_fileList.SetExtendedStyle(m_fileList.GetExtendedStyle() | LVS_EX_FULLROWSELECT | LVS_EX_GRIDLINES);
    m_fileList.SetColumnWidth(0, 520);
    m_fileList.SetColumnWidth(1, 80);
    m_fileList.SetColumnWidth(2, 120);
}

}  // namespace kestrum
