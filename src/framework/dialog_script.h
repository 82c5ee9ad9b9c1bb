// The test seam of the modal pieces the program cannot drive itself: the
// open-file dialog, the folder browser and the message box. While a script is
// installed they record what they were asked and take their answers from its
// queues instead of showing anything; an empty queue answers "cancelled".
#pragma once

#include <windows.h>

#include <deque>
#include <optional>
#include <string>
#include <vector>

#include "platform/message_box.h"

namespace kestrum {

struct FileDialogRequest {
    bool open;
    std::string defaultExt;
    std::string fileName;
    std::string filter;
    DWORD flags;
    HWND owner;
};

struct FolderBrowserRequest {
    std::wstring title;
    UINT flags;
    HWND owner;
};

struct DialogScript {
    // A path answers as if the user chose it; nullopt answers "cancelled".
    std::deque<std::optional<std::string>> fileAnswers;
    std::deque<std::optional<std::string>> folderAnswers;

    std::vector<FileDialogRequest> fileRequests;
    std::vector<FolderBrowserRequest> folderRequests;
    std::vector<std::string> messages;  // message boxes, each answered with OK
};

// Installs a script for the life of the object.
class ScriptedDialogs {
public:
    explicit ScriptedDialogs(DialogScript& script);
    ~ScriptedDialogs();
    ScriptedDialogs(const ScriptedDialogs&) = delete;
    ScriptedDialogs& operator=(const ScriptedDialogs&) = delete;

private:
    DialogScript* m_previous;
    MessageSink m_previousSink;
};

// The installed script, or none.
DialogScript* InstalledDialogScript();

// The next answer of a queue: nullopt when it is empty.
std::optional<std::string> TakeAnswer(std::deque<std::optional<std::string>>& answers);

}  // namespace kestrum
