#include "gui_support.h"

namespace kestrum::test {

namespace {
DialogOpened* g_opened = nullptr;

void CALLBACK EndStuckDialog(HWND dialog, UINT, UINT_PTR id, DWORD) {
    KillTimer(dialog, id);
    EndDialog(dialog, -2);
}
}  // namespace

DialogOpened::DialogOpened(Callback callback)
    : m_hook(SetWindowsHookExA(WH_CALLWNDPROCRET, &DialogOpened::Hook, nullptr, GetCurrentThreadId())),
      m_callback(std::move(callback)) {
    g_opened = this;
}

DialogOpened::~DialogOpened() {
    UnhookWindowsHookEx(m_hook);
    g_opened = nullptr;
}

LRESULT CALLBACK DialogOpened::Hook(int code, WPARAM wParam, LPARAM lParam) {
    const auto* sent = reinterpret_cast<const CWPRETSTRUCT*>(lParam);
    if (code == HC_ACTION && sent->message == WM_INITDIALOG && g_opened) {
        SetTimer(sent->hwnd, 0x7E57, 10000, &EndStuckDialog);
        g_opened->m_callback(sent->hwnd);
    }
    return CallNextHookEx(nullptr, code, wParam, lParam);
}

ProgressRecorder::ProgressRecorder(HWND dialog, HWND bar) : m_dialog(dialog), m_bar(bar) {
    SetWindowSubclass(m_dialog, &ProgressRecorder::Subclass, 1, reinterpret_cast<DWORD_PTR>(this));
    SetWindowSubclass(m_bar, &ProgressRecorder::Subclass, 2, reinterpret_cast<DWORD_PTR>(this));
}

ProgressRecorder::~ProgressRecorder() {
    RemoveWindowSubclass(m_dialog, &ProgressRecorder::Subclass, 1);
    RemoveWindowSubclass(m_bar, &ProgressRecorder::Subclass, 2);
}

std::vector<int> ProgressRecorder::positions() const {
    std::vector<int> out;
    for (const std::string& event : m_events)
        if (event.rfind("pos ", 0) == 0) out.push_back(std::stoi(event.substr(4)));
    return out;
}

LRESULT CALLBACK ProgressRecorder::Subclass(HWND hWnd, UINT message, WPARAM wParam, LPARAM lParam, UINT_PTR id,
                                            DWORD_PTR self) {
    auto* recorder = reinterpret_cast<ProgressRecorder*>(self);
    if (id == 2 && message == PBM_SETPOS) recorder->m_events.push_back("pos " + std::to_string(wParam));
    if (id == 1 && message == WM_SHOWWINDOW) recorder->m_events.push_back(wParam ? "show" : "hide");
    return DefSubclassProc(hWnd, message, wParam, lParam);
}

std::string WindowText(HWND hWnd) {
    char text[1024] = {};
    GetWindowTextA(hWnd, text, sizeof text);
    return text;
}

std::string ClassName(HWND hWnd) {
    char name[256] = {};
    GetClassNameA(hWnd, name, sizeof name);
    return name;
}

std::vector<LONG> DialogUnitsOf(HWND dialog, HWND control) {
    RECT base{0, 0, 4, 8};  // the dialog's units: 4 per character width, 8 per height
    MapDialogRect(dialog, &base);
    RECT box;
    GetWindowRect(control, &box);
    MapWindowPoints(nullptr, dialog, reinterpret_cast<POINT*>(&box), 2);
    // Pixels come from MulDiv(units, base, 4 or 8), rounded; find the unit value that maps to them.
    const auto units = [&](LONG pixels, LONG perUnits, LONG divisor) {
        LONG value = MulDiv(pixels, divisor, perUnits);
        for (LONG candidate : {value - 1, value, value + 1})
            if (MulDiv(candidate, perUnits, divisor) == pixels) return candidate;
        return value;
    };
    return {units(box.left, base.right, 4), units(box.top, base.bottom, 8),
            units(box.right - box.left, base.right, 4), units(box.bottom - box.top, base.bottom, 8)};
}

void PostKey(HWND control, WPARAM key) {
    PostMessageA(control, WM_KEYDOWN, key, 1);
    PostMessageA(control, WM_KEYUP, key, 0xC0000001);
}

}  // namespace kestrum::test
