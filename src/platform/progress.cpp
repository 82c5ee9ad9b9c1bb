#include "platform/progress.h"

#ifdef _WIN32
#include <windows.h>
#include <commctrl.h>
#endif

namespace kestrum {

void ProgressTarget::SetPos(int position) const {
#ifdef _WIN32
    if (m_bar) SendMessageA(static_cast<HWND>(m_bar), PBM_SETPOS, static_cast<WPARAM>(position), 0);
#endif
    if (m_callback) m_callback(position);
}

}  // namespace kestrum
