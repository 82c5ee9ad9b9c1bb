#include "framework/wnd.h"

#include "framework/app.h"

namespace kestrum {

std::string CWnd::GetWindowText() const {
    std::string text(static_cast<std::size_t>(::GetWindowTextLengthA(m_hWnd)) + 1, '\0');
    text.resize(static_cast<std::size_t>(::GetWindowTextA(m_hWnd, text.data(), static_cast<int>(text.size()))));
    return text;
}

void CWnd::CenterWindow() const {
    RECT self;
    ::GetWindowRect(m_hWnd, &self);
    const LONG width = self.right - self.left;
    const LONG height = self.bottom - self.top;
    RECT area;
    const bool child = (::GetWindowLongA(m_hWnd, GWL_STYLE) & WS_CHILD) != 0;
    if (child) {
        ::GetClientRect(::GetParent(m_hWnd), &area);  // the child's coordinates are its parent's client's
    } else if (HWND owner = ::GetWindow(m_hWnd, GW_OWNER)) {
        ::GetWindowRect(owner, &area);
    } else {
        ::SystemParametersInfoA(SPI_GETWORKAREA, 0, &area, 0);
    }
    const LONG x = area.left + (area.right - area.left - width) / 2;
    const LONG y = area.top + (area.bottom - area.top - height) / 2;
    ::SetWindowPos(m_hWnd, nullptr, x, y, 0, 0, SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
}

std::string AfxLoadString(UINT id) {
    // With a zero length LoadStringW hands out a pointer to the resource text.
    const wchar_t* text = nullptr;
    const int length = ::LoadStringW(AfxGetInstanceHandle(), id, reinterpret_cast<LPWSTR>(&text), 0);
    if (length <= 0 || !text) return {};
    const int bytes = ::WideCharToMultiByte(CP_ACP, 0, text, length, nullptr, 0, nullptr, nullptr);
    std::string out(static_cast<std::size_t>(bytes), '\0');
    ::WideCharToMultiByte(CP_ACP, 0, text, length, out.data(), bytes, nullptr, nullptr);
    return out;
}

}  // namespace kestrum
