// `verify`: every data block read and, in a compressed archive, inflated, by
// the extractor's own steps with its bounds, codes and messages; nothing is
// written.
#include <cstdio>
#include <optional>
#include <string>

#include "archive/file_texts.h"
#include "cli/block_pipeline.h"
#include "cli/cli.h"
#include "cli/json_out.h"
#include "cli/run_summary.h"
#include "cli/terminal_bar.h"
#include "extract/extract_steps.h"

namespace kestrum::cli {

int RunVerify(const std::vector<std::string>& args) {
    const Args a = ParseArgs(args, {"--jobs"}, {"--json", "--quiet"});
    if (a.operands.size() != 1) throw UsageError{"verify takes one ARCHIVE"};
    const unsigned jobs = JobsOption(a);
    const bool json = a.Flag("--json"), quiet = a.Flag("--quiet");
    CBsaArchive archive;
    if (const int code = LoadOrReport(archive, a.operands[0])) return code;

    RunSummary summary("verify", "intact", "damaged", false, true);
    nlohmann::ordered_json damaged = nlohmann::ordered_json::array();
    std::string text;
    int status = 0;
    {
        const std::size_t total = archive.m_files.size();
        std::optional<BlockPipeline> pipeline;
        if (jobs > 1 && total > 1) {
            std::vector<std::int32_t> all(total);
            for (std::size_t i = 0; i < total; ++i) all[i] = static_cast<std::int32_t>(i);
            pipeline.emplace(archive, std::move(all), jobs);
        }
        TerminalBar bar(stderr, TerminalBar::StderrIsTerminal());
        int lastSent = 0;
        bar.SetPos(0);
        for (std::size_t i = 0; i < total; ++i) {
            const int p = static_cast<int>(100 * i / total);
            if (p > lastSent) bar.SetPos(lastSent = p);
            const auto index = static_cast<std::int32_t>(i);
            FileData data;
            StepResult result;
            if (pipeline) {
                BlockPipeline::Item item = pipeline->Take(i);
                if (item.error) std::rethrow_exception(item.error);
                result = item.result;
                data = std::move(item.data);
            } else {
                result = ReadFileData(archive, index, data);
            }
            if (!result.failed()) {
                ++summary.succeeded;
                summary.bytes += data.count;
                continue;
            }
            ++summary.failed;
            if (status == 0) status = result.code;
            const BsaFileEntry& file = archive.m_files[i];
            if (json) {
                damaged.push_back({{"index", i},
                                   {"name", ArchiveTextToUtf8(FileNameText(file))},
                                   {"code", result.code},
                                   {"message", result.message}});
            } else {
                text += Shown(FileNameText(file)) + "\t" + result.message + "\n";
            }
        }
    }

    if (json) {
        nlohmann::ordered_json document;
        document["path"] = ArgumentToUtf8(a.operands[0]);
        document["files"] = archive.m_files.size();
        document["intact"] = summary.succeeded;
        document["damaged"] = std::move(damaged);
        document["bytes"] = summary.bytes;
        document["status"] = status;
        PrintJson(document);
    } else {
        std::fwrite(text.data(), 1, text.size(), stdout);
    }
    if (!quiet) summary.Print();
    return status;
}

}  // namespace kestrum::cli
