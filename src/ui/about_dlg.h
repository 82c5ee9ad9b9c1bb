// The About box: the framework's defaults do everything (OK and Cancel end it).
#pragma once

#include "framework/dialog.h"
#include "resource.h"

namespace kestrum {

class CAboutDlg : public CDialog {
public:
    enum { IDD = IDD_ABOUTBOX };
    CAboutDlg() : CDialog(IDD) {}
};

}  // namespace kestrum
