#include "framework/dialog_script.h"

#include <utility>

namespace kestrum {

namespace {
DialogScript* g_script = nullptr;
}

ScriptedDialogs::ScriptedDialogs(DialogScript& script)
    : m_previous(std::exchange(g_script, &script)),
      m_previousSink(SetMessageSink([&script](const std::string& text) { script.messages.push_back(text); })) {}

ScriptedDialogs::~ScriptedDialogs() {
    SetMessageSink(std::move(m_previousSink));
    g_script = m_previous;
}

DialogScript* InstalledDialogScript() { return g_script; }

std::optional<std::string> TakeAnswer(std::deque<std::optional<std::string>>& answers) {
    if (answers.empty()) return std::nullopt;
    std::optional<std::string> answer = std::move(answers.front());
    answers.pop_front();
    return answer;
}

}  // namespace kestrum
