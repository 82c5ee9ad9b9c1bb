// Kestrum.exe's entry point and its one application object.
#include <windows.h>

#include "ui/kestrum_app.h"

namespace {
kestrum::CKestrumApp theApp;
}

int WINAPI WinMain(HINSTANCE, HINSTANCE, LPSTR, int) { return kestrum::AfxWinMain(); }
