#include "platform/message_box.h"

#include <utility>

#ifdef _WIN32
#include <windows.h>
#else
#include <cstdio>
#endif

namespace kestrum {

namespace {
MessageSink& Sink() {
    static MessageSink sink;
    return sink;
}

#ifdef _WIN32
// The application's name: the executable's base file name without extension.
std::string AppName() {
    char path[MAX_PATH] = {};
    GetModuleFileNameA(nullptr, path, MAX_PATH);
    std::string name(path);
    const auto slash = name.find_last_of("\\/");
    if (slash != std::string::npos) name.erase(0, slash + 1);
    const auto dot = name.rfind('.');
    if (dot != std::string::npos) name.erase(dot);
    return name;
}
#endif
}  // namespace

MessageSink SetMessageSink(MessageSink sink) { return std::exchange(Sink(), std::move(sink)); }

int AfxMessageBox(const std::string& text, unsigned type) {
    if (Sink()) {
        Sink()(text);
        return 1;  // IDOK
    }
#ifdef _WIN32
    return MessageBoxA(GetActiveWindow(), text.c_str(), AppName().c_str(),
                       type | MB_ICONEXCLAMATION | MB_TASKMODAL);
#else
    (void)type;
    std::fprintf(stderr, "%s\n", text.c_str());
    return 1;
#endif
}

}  // namespace kestrum
