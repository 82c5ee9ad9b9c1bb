#include "cli/terminal_bar.h"

#include <algorithm>

#ifdef _WIN32
#include <io.h>
#else
#include <unistd.h>
#endif

namespace kestrum::cli {

namespace {
constexpr int kWidth = 40;
}

TerminalBar::TerminalBar(std::FILE* out, bool enabled) : m_out(out), m_enabled(enabled) {
    if (!m_enabled) return;
    m_previous = SetMessageSink([this](const std::string& text) {
        Clear();
        if (m_previous) {
            m_previous(text);
        } else {
            std::fprintf(m_out, "%s\n", text.c_str());
        }
        Draw();
    });
}

TerminalBar::~TerminalBar() {
    if (!m_enabled) return;
    Clear();
    SetMessageSink(std::move(m_previous));
}

void TerminalBar::SetPos(int position) {
    m_position = std::clamp(position, 0, 100);
    Draw();
}

std::string TerminalBar::Render(int position) {
    position = std::clamp(position, 0, 100);
    const int filled = position * kWidth / 100;
    std::string text = "[" + std::string(filled, '#') + std::string(kWidth - filled, '.') + "] ";
    const std::string percent = std::to_string(position) + "%";
    return text + std::string(4 - percent.size(), ' ') + percent;
}

bool TerminalBar::StderrIsTerminal() {
#ifdef _WIN32
    return _isatty(_fileno(stderr)) != 0;
#else
    return isatty(fileno(stderr)) != 0;
#endif
}

void TerminalBar::Clear() {
    if (!m_enabled || m_position < 0) return;
    std::fprintf(m_out, "\r%*s\r", static_cast<int>(Render(0).size()), "");
    std::fflush(m_out);
}

void TerminalBar::Draw() {
    if (!m_enabled || m_position < 0) return;
    std::fprintf(m_out, "\r%s", Render(m_position).c_str());
    std::fflush(m_out);
}

}  // namespace kestrum::cli
