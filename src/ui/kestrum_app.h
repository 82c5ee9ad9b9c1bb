// The application object: runs the main dialog and ends the process with it.
#pragma once

#include "framework/app.h"

namespace kestrum {

// The settings key the program names at start-up; it never reads or writes it.
inline constexpr const char* kRegistryKey = "Local AppWizard-Generated Applications";

class CKestrumApp : public CWinApp {
public:
    BOOL InitInstance() override;
};

}  // namespace kestrum
