// What the window's tests share: a hook that sees every dialog as it opens
// (to drive modal loops from inside), a recorder of the progress dialog and
// its bar, and small readers of real controls.
#pragma once

#include <windows.h>
#include <commctrl.h>

#include <functional>
#include <string>
#include <vector>

namespace kestrum::test {

// Calls back once a dialog of this thread has handled WM_INITDIALOG, before
// its modal loop runs: posted messages then reach that loop in order. Every
// dialog it sees is also ended with -2 after ten seconds, so that a test that
// fails to end one fails instead of hanging.
class DialogOpened {
public:
    using Callback = std::function<void(HWND dialog)>;
    explicit DialogOpened(Callback callback);
    ~DialogOpened();
    DialogOpened(const DialogOpened&) = delete;
    DialogOpened& operator=(const DialogOpened&) = delete;

private:
    static LRESULT CALLBACK Hook(int code, WPARAM wParam, LPARAM lParam);
    HHOOK m_hook;
    Callback m_callback;
};

// Records, in order, "pos N" for every position sent to the bar and "show" /
// "hide" for every change of the progress dialog's visibility.
class ProgressRecorder {
public:
    ProgressRecorder(HWND dialog, HWND bar);
    ~ProgressRecorder();
    ProgressRecorder(const ProgressRecorder&) = delete;
    ProgressRecorder& operator=(const ProgressRecorder&) = delete;

    const std::vector<std::string>& events() const { return m_events; }
    std::vector<int> positions() const;
    void clear() { m_events.clear(); }

private:
    static LRESULT CALLBACK Subclass(HWND hWnd, UINT message, WPARAM wParam, LPARAM lParam, UINT_PTR id,
                                     DWORD_PTR self);
    HWND m_dialog;
    HWND m_bar;
    std::vector<std::string> m_events;
};

std::string WindowText(HWND hWnd);
std::string ClassName(HWND hWnd);
// A control's position and size in its dialog's units: {x, y, width, height},
// the inverse of the dialog manager's mapping of each value on its own.
std::vector<LONG> DialogUnitsOf(HWND dialog, HWND control);
// Posts a key press to a control, as the keyboard would deliver it.
void PostKey(HWND control, WPARAM key);

}  // namespace kestrum::test
