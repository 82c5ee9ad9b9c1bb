#include <algorithm>
#include <cstdio>
#include <string>
#include <vector>

#include "archive/file_texts.h"
#include "cli/cli.h"
#include "cli/terminal_bar.h"
#include "platform/mbtext.h"
#include "platform/message_box.h"

namespace kestrum::cli {

namespace {

// The files an ENTRY names: the first file whose Name text it is, or else every
// file of that folder and of the folders below it. Texts are compared as the
// terminal shows them, so that what `list` printed can be typed back.
std::vector<std::int32_t> Match(const std::vector<std::string>& names, const std::vector<std::string>& folders,
                                std::string entry) {
    std::replace(entry.begin(), entry.end(), '/', '\\');
    std::vector<std::int32_t> found;
    for (std::size_t i = 0; i < names.size(); ++i) {
        if (MbsCompare(names[i], entry) == 0) return {static_cast<std::int32_t>(i)};
    }
    while (entry.size() > 1 && entry.back() == '\\') entry.pop_back();  // "textures/" names the folder
    const std::string below = entry + "\\";
    for (std::size_t i = 0; i < folders.size(); ++i) {
        if (MbsCompare(folders[i], entry) == 0 || MbsFind(folders[i], below) == 0)
            found.push_back(static_cast<std::int32_t>(i));
    }
    return found;
}

}  // namespace

int RunExtract(const std::vector<std::string>& args) {
    const Args a = ParseArgs(args, {}, {"--no-path"});
    if (a.operands.size() < 2) throw UsageError{"extract takes ARCHIVE DEST [ENTRY...]"};
    CBsaArchive archive;
    if (const int code = LoadOrReport(archive, a.operands[0])) return code;
    const std::string& dest = a.operands[1];
    const int withoutPath = a.Flag("--no-path") ? 1 : 0;
    const std::vector<std::string> entries(a.operands.begin() + 2, a.operands.end());

    // What each ENTRY names, resolved up front so that the bar knows the total.
    std::vector<std::vector<std::int32_t>> selected;
    std::size_t total = archive.m_files.size();
    if (!entries.empty()) {
        std::vector<std::string> names, folders;
        for (const BsaFileEntry& file : archive.m_files) {
            names.push_back(Shown(FileNameText(file)));
            folders.push_back(Shown(file.folderPath));
        }
        total = 0;
        for (const std::string& entry : entries) {
            selected.push_back(Match(names, folders, entry));
            total += selected.back().size();
        }
    }

    TerminalBar bar(stderr, TerminalBar::StderrIsTerminal());
    int lastSent = 0;
    std::size_t done = 0;
    bar.SetPos(0);
    const auto extract = [&](std::int32_t index) {
        const int p = static_cast<int>(100 * done / std::max<std::size_t>(total, 1));
        if (p > lastSent) bar.SetPos(lastSent = p);
        ++done;
        return archive.ExtractFile(dest, index, withoutPath);
    };

    if (entries.empty()) {  // like "Extract All": the first failure ends the run
        for (std::size_t i = 0; i < archive.m_files.size(); ++i) {
            if (const int code = extract(static_cast<std::int32_t>(i))) return code;
        }
        return 0;
    }
    int status = 0;  // like "Extract": every failure is reported, the run goes on
    for (std::size_t e = 0; e < entries.size(); ++e) {
        if (selected[e].empty()) {
            AfxMessageBox("No file or folder is named " + entries[e] + ".");
            if (status == 0) status = kExtractBadIndex;
        }
        for (const std::int32_t index : selected[e]) {
            const int code = extract(index);
            if (status == 0) status = code;
        }
    }
    return status;
}

}  // namespace kestrum::cli
