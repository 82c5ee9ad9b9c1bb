// Keeps a view from repainting and laying itself out while a fill inserts its
// rows or items, and lets it catch up once at the end. A hidden view needs it
// as much as a shown one: a hidden list control that may redraw still works
// out its scroll range for every row it gains (under Wine that made 20,000
// rows take seconds). The default handling of the switch works through the
// window's own visible bit, so switching redraw back on sets that bit; a view
// that was hidden has it taken off again and stays hidden until the view
// switch shows it.
#pragma once

#include <windows.h>

#include "framework/wnd.h"

namespace kestrum {

class RedrawSuspended {
public:
    explicit RedrawSuspended(const CWnd& view)
        : m_hWnd(view.m_hWnd), m_wasShown((::GetWindowLongA(view.m_hWnd, GWL_STYLE) & WS_VISIBLE) != 0) {
        ::SendMessageA(m_hWnd, WM_SETREDRAW, FALSE, 0);
    }
    ~RedrawSuspended() {
        ::SendMessageA(m_hWnd, WM_SETREDRAW, TRUE, 0);
        if (m_wasShown) {
            ::InvalidateRect(m_hWnd, nullptr, TRUE);
        } else {
            const LONG style = ::GetWindowLongA(m_hWnd, GWL_STYLE);
            if (style & WS_VISIBLE) ::SetWindowLongA(m_hWnd, GWL_STYLE, style & ~WS_VISIBLE);
        }
    }
    RedrawSuspended(const RedrawSuspended&) = delete;
    RedrawSuspended& operator=(const RedrawSuspended&) = delete;

private:
    HWND m_hWnd;
    bool m_wasShown;
};

}  // namespace kestrum
