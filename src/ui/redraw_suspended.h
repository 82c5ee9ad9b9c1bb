// Keeps a view from repainting while a fill inserts its rows or items, and
// repaints it once at the end. A hidden view paints nothing anyway, and
// WM_SETREDRAW TRUE may show a window, so a hidden one is left alone.
#pragma once

#include <windows.h>

#include "framework/wnd.h"

namespace kestrum {

class RedrawSuspended {
public:
    explicit RedrawSuspended(const CWnd& view) : m_hWnd(view.IsWindowVisible() ? view.m_hWnd : nullptr) {
        if (m_hWnd) ::SendMessageA(m_hWnd, WM_SETREDRAW, FALSE, 0);
    }
    ~RedrawSuspended() {
        if (!m_hWnd) return;
        ::SendMessageA(m_hWnd, WM_SETREDRAW, TRUE, 0);
        ::InvalidateRect(m_hWnd, nullptr, TRUE);
    }
    RedrawSuspended(const RedrawSuspended&) = delete;
    RedrawSuspended& operator=(const RedrawSuspended&) = delete;

private:
    HWND m_hWnd;
};

}  // namespace kestrum
