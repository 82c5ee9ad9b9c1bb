// `extract`: ExtractFile's steps for a selection of files, one by one or with
// the data read and inflated ahead on worker threads. Whatever the number of
// jobs, this thread takes the files in order and alone creates folders, opens
// and writes outputs, shows messages and decides to go on or stop, so every
// run gives the same files, bytes, messages and status as one by one.
#include <algorithm>
#include <cstdio>
#include <filesystem>
#include <optional>
#include <string>
#include <vector>

#include "archive/file_texts.h"
#include "cli/block_pipeline.h"
#include "cli/cli.h"
#include "cli/name_glob.h"
#include "cli/run_summary.h"
#include "cli/terminal_bar.h"
#include "extract/extract_steps.h"
#include "platform/folders.h"
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

// One step of the run: a file to extract, or an ENTRY that named nothing.
struct Step {
    std::int32_t index;
    std::string unmatched;
};

struct Selection {
    std::vector<Step> steps;
    bool extractAll;  // no ENTRY: the first failure ends the run
};

Selection Select(const CBsaArchive& archive, const std::vector<std::string>& entries, const Args& a) {
    std::vector<std::string> names, folders;
    for (const BsaFileEntry& file : archive.m_files) {
        names.push_back(Shown(FileNameText(file)));
        folders.push_back(Shown(file.folderPath));
    }
    std::vector<NameGlob> includes, excludes;
    if (const auto it = a.values.find("--include"); it != a.values.end())
        for (const std::string& pattern : it->second) includes.emplace_back(pattern);
    if (const auto it = a.values.find("--exclude"); it != a.values.end())
        for (const std::string& pattern : it->second) excludes.emplace_back(pattern);
    const auto wanted = [&](std::int32_t index) {
        const std::string& name = names[static_cast<std::size_t>(index)];
        const auto hit = [&](const NameGlob& glob) { return glob.Matches(name); };
        return (includes.empty() || std::any_of(includes.begin(), includes.end(), hit)) &&
               std::none_of(excludes.begin(), excludes.end(), hit);
    };

    Selection selection{{}, entries.empty()};
    const auto add = [&](const std::vector<std::int32_t>& files) {
        for (const std::int32_t index : files)
            if (wanted(index)) selection.steps.push_back({index, {}});
    };
    if (entries.empty()) {
        std::vector<std::int32_t> all(archive.m_files.size());
        for (std::size_t i = 0; i < all.size(); ++i) all[i] = static_cast<std::int32_t>(i);
        add(all);
    }
    for (const std::string& entry : entries) {
        const std::vector<std::int32_t> files = Match(names, folders, entry);
        if (files.empty()) selection.steps.push_back({-1, entry});
        add(files);
    }
    return selection;
}

// The path as the file system and the user see it.
std::string OsPathText(std::string path) {
#ifndef _WIN32
    std::replace(path.begin(), path.end(), '\\', '/');
#endif
    return path;
}

// Parallel reading must not overtake a write that lands on the archive itself
// (an archive extracted over itself): then every file is read at its turn.
bool WritesOverArchive(const CBsaArchive& archive, const std::vector<Step>& steps, const std::string& dest,
                       int withoutPath) {
    namespace fs = std::filesystem;
    std::error_code error;
    const fs::path archivePath = OsPathText(archive.m_path);
    for (const Step& step : steps) {
        OutputTarget target;
        if (step.index < 0 || PlanOutput(archive, dest, step.index, withoutPath, target).failed()) continue;
        if (PathExists(target.path) && fs::equivalent(OsPathText(target.path), archivePath, error)) return true;
    }
    return false;
}

}  // namespace

int RunExtract(const std::vector<std::string>& args) {
    const Args a = ParseArgs(args, {"--include", "--exclude", "--jobs"},
                             {"--no-path", "--dry-run", "--no-clobber", "--quiet"});
    if (a.operands.size() < 2) throw UsageError{"extract takes ARCHIVE DEST [ENTRY...]"};
    unsigned jobs = JobsOption(a);
    const bool dryRun = a.Flag("--dry-run"), noClobber = a.Flag("--no-clobber"), quiet = a.Flag("--quiet");
    CBsaArchive archive;
    if (const int code = LoadOrReport(archive, a.operands[0])) return code;
    const std::string& dest = a.operands[1];
    const int withoutPath = a.Flag("--no-path") ? 1 : 0;
    const Selection selection =
        Select(archive, std::vector<std::string>(a.operands.begin() + 2, a.operands.end()), a);

    RunSummary summary(dryRun ? "extract --dry-run" : "extract", dryRun ? "to write" : "written",
                       dryRun ? "refused" : "failed", true, !dryRun);
    std::vector<std::int32_t> reads;
    for (const Step& step : selection.steps)
        if (step.index >= 0) reads.push_back(step.index);
    if (dryRun || reads.size() < 2 || WritesOverArchive(archive, selection.steps, dest, withoutPath)) jobs = 1;
    std::optional<BlockPipeline> pipeline;
    if (jobs > 1) pipeline.emplace(archive, reads, jobs);
    std::size_t taken = 0;

    const int exitStatus = [&] {
        int status = 0;
        TerminalBar bar(stderr, TerminalBar::StderrIsTerminal());
        int lastSent = 0;
        bar.SetPos(0);
        for (std::size_t s = 0; s < selection.steps.size(); ++s) {
            const int p = static_cast<int>(100 * s / selection.steps.size());
            if (p > lastSent) bar.SetPos(lastSent = p);
            const Step& step = selection.steps[s];
            if (step.index < 0) {
                AfxMessageBox("No file or folder is named " + step.unmatched + ".");
                if (status == 0) status = kExtractBadIndex;
                continue;
            }
            // This file's data from the workers, whether or not its turn gets to use them.
            std::optional<BlockPipeline::Item> ahead;
            if (pipeline) ahead = pipeline->Take(taken++);

            const std::string name = Shown(FileNameText(archive.m_files[static_cast<std::size_t>(step.index)]));
            OutputTarget target;
            FileData data;
            StepResult result = PlanOutput(archive, dest, step.index, withoutPath, target);
            if (!result.failed() && noClobber && PathExists(target.path)) {
                ++summary.skipped;
                if (dryRun) std::printf("skip\t%s\t%s\n", name.c_str(), OsPathText(target.path).c_str());
                continue;
            }
            if (dryRun) {
                if (result.failed()) {
                    std::printf("refuse\t%s\t%s\n", name.c_str(), result.message);
                } else {
                    std::printf("write\t%s\t%s\n", name.c_str(), OsPathText(target.path).c_str());
                }
            } else {
                if (!result.failed()) result = MakeOutputFolder(target);
                if (!result.failed() && ahead) {
                    if (ahead->error) std::rethrow_exception(ahead->error);
                    result = ahead->result;
                    data = std::move(ahead->data);
                } else if (!result.failed()) {
                    result = ReadFileData(archive, step.index, data);
                }
                if (!result.failed()) result = WriteOutputFile(target.path, data);
                if (result.failed()) AfxMessageBox(result.message, kMbOk);
            }
            if (result.failed()) {
                ++summary.failed;
                if (status == 0) status = result.code;
                if (selection.extractAll) return status;  // like "Extract All"
            } else {
                ++summary.succeeded;
                summary.bytes += data.count;
            }
        }
        return status;
    }();
    // After the bar is gone, so that it does not stand on the same line.
    if (!quiet) summary.Print();
    return exitStatus;
}

}  // namespace kestrum::cli
