// Resource numbers shared by the resource script and the program.
#pragma once

#define IDM_ABOUTBOX 0x0010  // system-menu command of the About item

#define IDD_ABOUTBOX 100
#define IDS_ABOUTBOX 101
#define IDD_KESTRUM_DIALOG 102
#define IDR_MAINFRAME 128
#define IDD_PROGRESS 129

#define IDC_OPEN 1000
#define IDC_EXTRACT_ALL 1001
#define IDC_EXTRACT 1002
#define IDC_FILE_LIST 1003
#define IDC_EDIT_PATH 1004
#define IDC_EDIT_FOLDERS 1005
#define IDC_EDIT_FILES 1006
#define IDC_EDIT_COMPRESSION 1007
#define IDC_CHECK_NO_PATH 1008
#define IDC_FOLDER_TREE 1009
#define IDC_TREE_VIEW 1010
#define IDC_LIST_VIEW 1011
#define IDC_PROGRESS 1013
