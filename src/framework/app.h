// The application object: one global instance whose InitInstance runs the
// program, called from WinMain through AfxWinMain.
#pragma once

#include <windows.h>

#include <string>

#include "framework/wnd.h"

namespace kestrum {

class CWinApp {
public:
    CWinApp();
    virtual ~CWinApp();
    CWinApp(const CWinApp&) = delete;
    CWinApp& operator=(const CWinApp&) = delete;

    // Start-up of the program. TRUE runs the message loop (Run) afterwards,
    // FALSE ends the process at once.
    virtual BOOL InitInstance() { return TRUE; }
    virtual int Run();

    // Names the registry key that settings would live under. Nothing here
    // opens or writes it: the framework has no settings functions.
    void SetRegistryKey(const char* key) { m_registryKey = key; }
    const std::string& GetRegistryKey() const { return m_registryKey; }

    // The main window: dialogs opened without a parent are owned by it.
    CWnd* m_pMainWnd = nullptr;

private:
    std::string m_registryKey;
};

CWinApp* AfxGetApp();
CWnd* AfxGetMainWnd();
HINSTANCE AfxGetInstanceHandle();

// The body of WinMain: runs the application object's InitInstance (and its
// message loop when asked) and returns the process's exit code.
int AfxWinMain();

}  // namespace kestrum
