#include "framework/unexpected_error.h"

#include "platform/message_box.h"

namespace kestrum {

void ReportUnexpectedError(const std::string& where, const std::string& what) noexcept {
    try {
        AfxMessageBox("Unexpected error in " + where + ": " + what, kMbOk);
    } catch (...) {
        // Nothing is left to report with; the window must go on regardless.
    }
}

}  // namespace kestrum
