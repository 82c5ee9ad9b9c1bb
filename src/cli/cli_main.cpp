// kestrum-cli's front: global options, the verb table and the exit status.
#include <cstdio>
#include <exception>
#include <iostream>
#include <new>
#include <string>
#include <vector>

#include "cli/cli.h"
#include "platform/message_box.h"
#include "platform/os_names.h"

namespace kestrum::cli {
namespace {

struct Verb {
    const char* name;
    const char* synopsis;
    const char* summary;
    int (*run)(const std::vector<std::string>& args);
};

const Verb kVerbs[] = {
    {"info", "info ARCHIVE", "Print the archive's path, folder and file counts and compression.", RunInfo},
    {"list", "list ARCHIVE", "Print each file's name, size and hash, tab-separated, in catalogue order.", RunList},
    {"extract", "extract [--no-path] ARCHIVE DEST [ENTRY...]",
     "Write every file, or the files and folders named, below DEST.", RunExtract},
};

void PrintUsage(std::FILE* to) {
    std::fprintf(to, "usage: kestrum-cli [--codepage NAME] VERB [OPTIONS] ARGS...\n\nverbs:\n");
    for (const Verb& v : kVerbs) std::fprintf(to, "  %-44s %s\n", v.synopsis, v.summary);
    std::fprintf(to,
                 "\noptions:\n"
                 "  --codepage NAME   code page of the names in the archive (iconv name; default CP1252)\n"
                 "  --help            this text, or a verb's own with VERB --help\n"
                 "\nexit status: 0 success; 1-10 the program's result code of the first failure;\n"
                 "64 usage error; 70 an error of the system (read, write, memory).\n");
}

void PrintVerbUsage(const Verb& v) {
    std::printf("usage: kestrum-cli [--codepage NAME] %s\n\n%s\n", v.synopsis, v.summary);
}

int Main(std::vector<std::string> args) {
    // Options every verb takes, wherever they stand.
    bool help = false;
    for (std::size_t i = 0; i < args.size();) {
        if (args[i] == "--") break;
        if (args[i] == "--help" || args[i] == "-h") {
            help = true;
            args.erase(args.begin() + static_cast<long>(i));
        } else if (args[i] == "--codepage" || args[i].rfind("--codepage=", 0) == 0) {
            std::string name;
            if (args[i] == "--codepage") {
                if (i + 1 >= args.size()) throw UsageError{"--codepage needs a value"};
                name = args[i + 1];
                args.erase(args.begin() + static_cast<long>(i), args.begin() + static_cast<long>(i) + 2);
            } else {
                name = args[i].substr(11);
                args.erase(args.begin() + static_cast<long>(i));
            }
            if (!SetArchiveCodePage(name)) throw UsageError{"unknown code page " + name};
        } else {
            ++i;
        }
    }

    if (args.empty()) {
        if (help) {
            PrintUsage(stdout);
            return 0;
        }
        throw UsageError{"no verb given"};
    }
    for (const Verb& v : kVerbs) {
        if (args[0] != v.name) continue;
        if (help) {
            PrintVerbUsage(v);
            return 0;
        }
        return v.run(std::vector<std::string>(args.begin() + 1, args.end()));
    }
    throw UsageError{"unknown verb " + args[0]};
}

}  // namespace

int RunCli(const std::vector<std::string>& args) {
    // Messages of the core go to stderr while the tool runs, never to a window.
    struct SinkScope {
        MessageSink previous = SetMessageSink(
            [](const std::string& text) { std::fprintf(stderr, "kestrum-cli: %s\n", text.c_str()); });
        ~SinkScope() { SetMessageSink(std::move(previous)); }
    } sink;
    try {
        return Main(args);
    } catch (const UsageError& e) {
        std::fprintf(stderr, "kestrum-cli: %s\n", e.message.c_str());
        PrintUsage(stderr);
        return kExitUsage;
    } catch (const std::bad_alloc&) {
        std::fprintf(stderr, "kestrum-cli: out of memory\n");
        return kExitSoftware;
    } catch (const std::exception& e) {
        std::fprintf(stderr, "kestrum-cli: %s\n", e.what());
        return kExitSoftware;
    }
}

}  // namespace kestrum::cli

