#include "framework/app.h"

#include "framework/unexpected_error.h"

namespace kestrum {

namespace {
CWinApp* g_app = nullptr;
}

CWinApp::CWinApp() { g_app = this; }

CWinApp::~CWinApp() {
    if (g_app == this) g_app = nullptr;
}

int CWinApp::Run() {
    MSG msg;
    while (::GetMessageA(&msg, nullptr, 0, 0) > 0) {
        ::TranslateMessage(&msg);
        ::DispatchMessageA(&msg);
    }
    return static_cast<int>(msg.wParam);
}

CWinApp* AfxGetApp() { return g_app; }

CWnd* AfxGetMainWnd() { return g_app ? g_app->m_pMainWnd : nullptr; }

HINSTANCE AfxGetInstanceHandle() { return ::GetModuleHandleA(nullptr); }

int AfxWinMain() {
    CWinApp* app = AfxGetApp();
    if (!app) return 1;
    BOOL runLoop = FALSE;
    if (!CallReportingErrors("InitInstance", [&] { runLoop = app->InitInstance(); })) return 1;
    return runLoop ? app->Run() : 0;
}

}  // namespace kestrum
