// The program's one way of reporting a failure to the user: a modal box with an
// OK button and the exclamation icon, captioned with the executable's name.
#pragma once

#include <functional>
#include <string>

namespace kestrum {

constexpr unsigned kMbOk = 0;  // MB_OK

// Shows text and returns after the user has closed the box (IDOK).
int AfxMessageBox(const std::string& text, unsigned type = kMbOk);

// Where messages go instead of a box: the command-line tool prints them, tests
// record them. An empty function restores the box. Returns the previous sink.
using MessageSink = std::function<void(const std::string& text)>;
MessageSink SetMessageSink(MessageSink sink);

}  // namespace kestrum
