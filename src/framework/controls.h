// Thin wrappers of the common controls: each is the control's HWND and
// one-line members that send it its messages.
#pragma once

#include <windows.h>
#include <commctrl.h>

#include <string>

#include "framework/wnd.h"

namespace kestrum {

class CEdit : public CWnd {};

class CButton : public CWnd {
public:
    int GetCheck() const { return static_cast<int>(SendMessage(BM_GETCHECK)); }
    void SetCheck(int nCheck) const { SendMessage(BM_SETCHECK, static_cast<WPARAM>(nCheck)); }
};

class CProgressCtrl : public CWnd {
public:
    void SetRange(short nLower, short nUpper) const {
        SendMessage(PBM_SETRANGE, 0, MAKELPARAM(nLower, nUpper));
    }
    int SetPos(int nPos) const { return static_cast<int>(SendMessage(PBM_SETPOS, static_cast<WPARAM>(nPos))); }
    int GetPos() const { return static_cast<int>(SendMessage(PBM_GETPOS)); }
};

class CListCtrl : public CWnd {
public:
    // A width of -1 leaves the column's width unset.
    int InsertColumn(int nCol, const char* heading, int nFormat = LVCFMT_LEFT, int nWidth = -1) const {
        LVCOLUMNA column{};
        column.mask = LVCF_FMT | LVCF_TEXT | (nWidth != -1 ? LVCF_WIDTH : 0);
        column.fmt = nFormat;
        column.cx = nWidth;
        column.pszText = const_cast<char*>(heading);
        return static_cast<int>(SendMessage(LVM_INSERTCOLUMNA, static_cast<WPARAM>(nCol),
                                            reinterpret_cast<LPARAM>(&column)));
    }
    BOOL SetColumnWidth(int nCol, int cx) const {
        return static_cast<BOOL>(SendMessage(LVM_SETCOLUMNWIDTH, static_cast<WPARAM>(nCol), MAKELPARAM(cx, 0)));
    }
    DWORD GetExtendedStyle() const { return static_cast<DWORD>(SendMessage(LVM_GETEXTENDEDLISTVIEWSTYLE)); }
    DWORD SetExtendedStyle(DWORD style) const {
        return static_cast<DWORD>(SendMessage(LVM_SETEXTENDEDLISTVIEWSTYLE, 0, static_cast<LPARAM>(style)));
    }
    BOOL DeleteAllItems() const { return static_cast<BOOL>(SendMessage(LVM_DELETEALLITEMS)); }
    BOOL DeleteItem(int nItem) const { return static_cast<BOOL>(SendMessage(LVM_DELETEITEM, static_cast<WPARAM>(nItem))); }
    int GetItemCount() const { return static_cast<int>(SendMessage(LVM_GETITEMCOUNT)); }
    // Room for nItems rows ahead of their insertion.
    void SetItemCount(int nItems) const { SendMessage(LVM_SETITEMCOUNT, static_cast<WPARAM>(nItems)); }
    int InsertItem(int nItem, const char* text) const {
        LVITEMA item{};
        item.mask = LVIF_TEXT;
        item.iItem = nItem;
        item.pszText = const_cast<char*>(text);
        return static_cast<int>(SendMessage(LVM_INSERTITEMA, 0, reinterpret_cast<LPARAM>(&item)));
    }
    BOOL SetItemText(int nItem, int nSubItem, const char* text) const {
        LVITEMA item{};
        item.iSubItem = nSubItem;
        item.pszText = const_cast<char*>(text);
        return static_cast<BOOL>(SendMessage(LVM_SETITEMTEXTA, static_cast<WPARAM>(nItem),
                                             reinterpret_cast<LPARAM>(&item)));
    }
    std::string GetItemText(int nItem, int nSubItem) const;
    // An item of -1 sets the state of every row.
    BOOL SetItemState(int nItem, UINT state, UINT mask) const {
        LVITEMA item{};
        item.state = state;
        item.stateMask = mask;
        return static_cast<BOOL>(SendMessage(LVM_SETITEMSTATE, static_cast<WPARAM>(nItem),
                                             reinterpret_cast<LPARAM>(&item)));
    }
    UINT GetSelectedCount() const { return static_cast<UINT>(SendMessage(LVM_GETSELECTEDCOUNT)); }
    int GetNextItem(int nItem, int nFlags) const {
        return static_cast<int>(SendMessage(LVM_GETNEXTITEM, static_cast<WPARAM>(nItem), MAKELPARAM(nFlags, 0)));
    }
    int SetSelectionMark(int nItem) const {
        return static_cast<int>(SendMessage(LVM_SETSELECTIONMARK, 0, static_cast<LPARAM>(nItem)));
    }
    BOOL EnsureVisible(int nItem, BOOL bPartialOK) const {
        return static_cast<BOOL>(SendMessage(LVM_ENSUREVISIBLE, static_cast<WPARAM>(nItem), bPartialOK));
    }
    UINT GetItemState(int nItem, UINT mask) const {
        return static_cast<UINT>(SendMessage(LVM_GETITEMSTATE, static_cast<WPARAM>(nItem), mask));
    }
    HWND GetHeaderCtrl() const { return reinterpret_cast<HWND>(SendMessage(LVM_GETHEADER)); }
};

class CTreeCtrl : public CWnd {
public:
    HTREEITEM InsertItem(const char* text, HTREEITEM parent = TVI_ROOT, HTREEITEM after = TVI_LAST) const {
        TVINSERTSTRUCTA insert{};
        insert.hParent = parent;
        insert.hInsertAfter = after;
        insert.item.mask = TVIF_TEXT;
        insert.item.pszText = const_cast<char*>(text);
        return reinterpret_cast<HTREEITEM>(SendMessage(TVM_INSERTITEMA, 0, reinterpret_cast<LPARAM>(&insert)));
    }
    BOOL DeleteAllItems() const {
        return static_cast<BOOL>(SendMessage(TVM_DELETEITEM, 0, reinterpret_cast<LPARAM>(TVI_ROOT)));
    }
    UINT GetCount() const { return static_cast<UINT>(SendMessage(TVM_GETCOUNT)); }
    BOOL Expand(HTREEITEM item, UINT code) const {
        return static_cast<BOOL>(SendMessage(TVM_EXPAND, code, reinterpret_cast<LPARAM>(item)));
    }
    HTREEITEM GetNextItem(HTREEITEM item, UINT code) const {
        return reinterpret_cast<HTREEITEM>(SendMessage(TVM_GETNEXTITEM, code, reinterpret_cast<LPARAM>(item)));
    }
    HTREEITEM GetSelectedItem() const { return GetNextItem(nullptr, TVGN_CARET); }
    HTREEITEM GetChildItem(HTREEITEM item) const { return GetNextItem(item, TVGN_CHILD); }
    HTREEITEM GetParentItem(HTREEITEM item) const { return GetNextItem(item, TVGN_PARENT); }
    BOOL SelectItem(HTREEITEM item) const {
        return static_cast<BOOL>(SendMessage(TVM_SELECTITEM, TVGN_CARET, reinterpret_cast<LPARAM>(item)));
    }
    std::string GetItemText(HTREEITEM item) const;
};

}  // namespace kestrum
