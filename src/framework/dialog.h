// Dialogs on templates of the program's resources: modal (DoModal) or modeless
// (Create), with a static message table per dialog class that maps (message,
// notification code, control id) to a member handler, and control binding.
#pragma once

#include <windows.h>
#include <commctrl.h>

#include <span>
#include <type_traits>

#include "framework/wnd.h"

namespace kestrum {

class CDialog;

// One row of a dialog's message table. For WM_COMMAND, code and id are the
// notification code and control id; for WM_NOTIFY the NMHDR's code and
// idFrom; for every other message both are 0.
struct MessageEntry {
    using Thunk = LRESULT (*)(CDialog& dialog, WPARAM wParam, LPARAM lParam);
    UINT message;
    UINT code;
    UINT id;
    Thunk thunk;
    const char* name;  // the handler, for the report of unexpected errors
};
using MessageMap = std::span<const MessageEntry>;

namespace detail {
template <class T>
struct MemberOf;
template <class R, class C, class... A>
struct MemberOf<R (C::*)(A...)> {
    using Class = C;
};

// Calls the handler with the arguments its signature asks for:
//   void ()                       commands, WM_PAINT
//   Result ()                     messages whose result is a handle (WM_QUERYDRAGICON)
//   void (UINT, LPARAM)           WM_SYSCOMMAND
//   void (NMHDR*, LRESULT*)       WM_NOTIFY
template <auto Handler>
LRESULT Call(CDialog& dialog, WPARAM wParam, LPARAM lParam) {
    using Fn = decltype(Handler);
    using D = typename MemberOf<Fn>::Class;
    D& self = static_cast<D&>(dialog);
    if constexpr (std::is_invocable_v<Fn, D&>) {
        if constexpr (std::is_void_v<std::invoke_result_t<Fn, D&>>) {
            (self.*Handler)();
            return 0;
        } else {
            return reinterpret_cast<LRESULT>((self.*Handler)());
        }
    } else if constexpr (std::is_invocable_v<Fn, D&, NMHDR*, LRESULT*>) {
        LRESULT result = 0;
        (self.*Handler)(reinterpret_cast<NMHDR*>(lParam), &result);
        return result;
    } else {
        static_assert(std::is_invocable_v<Fn, D&, UINT, LPARAM>, "unsupported handler signature");
        (self.*Handler)(static_cast<UINT>(wParam), lParam);
        return 0;
    }
}
}  // namespace detail

template <auto Handler>
constexpr MessageEntry OnMessage(UINT message, const char* name) {
    return {message, 0, 0, &detail::Call<Handler>, name};
}
template <auto Handler>
constexpr MessageEntry OnCommand(UINT code, UINT id, const char* name) {
    return {WM_COMMAND, code, id, &detail::Call<Handler>, name};
}
template <auto Handler>
constexpr MessageEntry OnNotify(UINT code, UINT id, const char* name) {
    return {WM_NOTIFY, code, id, &detail::Call<Handler>, name};
}

// Table rows that name their handler once.
#define KESTRUM_ON_MESSAGE(message, handler) ::kestrum::OnMessage<&handler>(message, #handler)
#define KESTRUM_ON_COMMAND(code, id, handler) ::kestrum::OnCommand<&handler>(code, id, #handler)
#define KESTRUM_ON_NOTIFY(code, id, handler) ::kestrum::OnNotify<&handler>(static_cast<UINT>(code), id, #handler)

// What DoDataExchange is given.
struct CDataExchange {
    CDialog* m_pDlgWnd;
    BOOL m_bSaveAndValidate;
};

// Attaches control to the dialog's control nIDC (once; later calls keep it).
// A template without that control is a programming error and raises.
void DDX_Control(CDataExchange* pDX, int nIDC, CWnd& control);

class CDialog : public CWnd {
public:
    explicit CDialog(UINT nIDTemplate, CWnd* pParentWnd = nullptr);
    ~CDialog() override;

    // Runs the dialog modally; returns what EndDialog was given, or -1 when
    // the dialog could not be created. Without a parent, the application's
    // main window (if any, and not this dialog) owns it.
    INT_PTR DoModal();
    // Creates the dialog modelessly; it lives until this object goes.
    BOOL Create(UINT nIDTemplate, CWnd* pParentWnd = nullptr);
    void EndDialog(int nResult);
    // Runs DoDataExchange: bSaveAndValidate TRUE moves data from the controls.
    BOOL UpdateData(BOOL bSaveAndValidate = TRUE);

protected:
    virtual void DoDataExchange(CDataExchange* pDX) { (void)pDX; }
    // Binds the controls (UpdateData(FALSE)); TRUE lets the system focus the first tab stop.
    virtual BOOL OnInitDialog();
    // The IDOK and IDCANCEL commands, unless the message table takes them.
    virtual void OnOK();
    virtual void OnCancel();
    virtual MessageMap GetMessageMap() const { return {}; }

    // Called from a handler: once it returns, the message also gets the
    // system's default dialog processing.
    void Default() { m_passToDefault = true; }

private:
    static INT_PTR CALLBACK DialogProc(HWND hWnd, UINT message, WPARAM wParam, LPARAM lParam);
    INT_PTR Dispatch(UINT message, WPARAM wParam, LPARAM lParam);
    HWND OwnerWindow() const;

    UINT m_nIDTemplate;
    CWnd* m_pParentWnd;
    bool m_modeless = false;
    bool m_passToDefault = false;
};

}  // namespace kestrum
