// A one-line progress bar on a terminal's stderr, for the long verbs. Drawn
// only when stderr is a terminal; messages shown while it stands are printed on
// a line of their own and the bar is drawn again below them.
#pragma once

#include <cstdio>
#include <string>

#include "platform/message_box.h"

namespace kestrum::cli {

class TerminalBar {
public:
    // enabled: draw at all (normally: stderr is a terminal).
    TerminalBar(std::FILE* out, bool enabled);
    ~TerminalBar();  // clears the line and restores the message sink
    TerminalBar(const TerminalBar&) = delete;
    TerminalBar& operator=(const TerminalBar&) = delete;

    void SetPos(int position);  // 0..100

    // The text that draws position: "[#####...]  42%".
    static std::string Render(int position);

    static bool StderrIsTerminal();

private:
    void Clear();
    void Draw();

    std::FILE* m_out;
    bool m_enabled;
    int m_position = -1;
    MessageSink m_previous;
};

}  // namespace kestrum::cli
