#include <algorithm>
#include <stdexcept>
#include <thread>

#include "archive/bsa_archive.h"
#include "cli/cli.h"
#include "platform/os_names.h"

namespace kestrum::cli {

const std::string* Args::Value(const std::string& name) const {
    const auto it = values.find(name);
    return it == values.end() || it->second.empty() ? nullptr : &it->second.back();
}

Args ParseArgs(const std::vector<std::string>& args, const std::vector<std::string>& valued,
               const std::vector<std::string>& flagNames) {
    const auto knows = [](const std::vector<std::string>& list, const std::string& name) {
        return std::find(list.begin(), list.end(), name) != list.end();
    };
    Args parsed;
    bool optionsEnded = false;
    for (std::size_t i = 0; i < args.size(); ++i) {
        const std::string& arg = args[i];
        if (optionsEnded || arg.size() < 2 || arg[0] != '-') {
            parsed.operands.push_back(arg);
        } else if (arg == "--") {
            optionsEnded = true;
        } else {
            std::string name = arg, value;
            const auto eq = arg.find('=');
            const bool inlineValue = eq != std::string::npos && arg.compare(0, 2, "--") == 0;
            if (inlineValue) {
                name = arg.substr(0, eq);
                value = arg.substr(eq + 1);
            }
            if (knows(valued, name)) {
                if (!inlineValue) {
                    if (i + 1 >= args.size()) throw UsageError{name + " needs a value"};
                    value = args[++i];
                }
                parsed.values[name].push_back(value);
            } else if (knows(flagNames, name) && !inlineValue) {
                parsed.flags[name] = true;
            } else {
                throw UsageError{"unknown option " + arg};
            }
        }
    }
    return parsed;
}

unsigned JobsOption(const Args& a) {
    const std::string* text = a.Value("--jobs");
    if (!text) {
        if (a.values.count("--jobs")) throw UsageError{"--jobs takes a number from 1 to 256"};
        return std::clamp(std::thread::hardware_concurrency(), 1u, 256u);
    }
    std::size_t used = 0;
    int jobs = 0;
    try {
        jobs = std::stoi(*text, &used);
    } catch (const std::exception&) {
        used = 0;
    }
    if (used == 0 || used != text->size() || jobs < 1 || jobs > 256)
        throw UsageError{"--jobs takes a number from 1 to 256, not " + *text};
    return static_cast<unsigned>(jobs);
}

int LoadOrReport(CBsaArchive& archive, const std::string& path) { return archive.LoadCatalog(path); }

std::string Shown(const std::string& archiveText) { return ArchiveTextToOs(archiveText); }

}  // namespace kestrum::cli
