// kestrum-cli's front: global options, the verb table and the exit status.
#include <cctype>
#include <cstdio>
#include <exception>
#include <iostream>
#include <new>
#include <string>
#include <vector>

#include "cli/cli.h"
#include "platform/mbtext.h"
#include "platform/message_box.h"
#include "platform/os_names.h"

namespace kestrum::cli {
namespace {

struct Verb {
    const char* name;
    const char* synopsis;
    const char* summary;
    const char* options;  // the verb's own options, for VERB --help
    int (*run)(const std::vector<std::string>& args);
};

const Verb kVerbs[] = {
    {"info", "info [--json] ARCHIVE", "Print the archive's path, folder and file counts and compression.",
     "  --json          one JSON document: path, folders, files, compression\n",
     RunInfo},
    {"list", "list [--sort name|size|hash] [--json] ARCHIVE",
     "Print each file's name, size and hash, tab-separated, in catalogue order.",
     "  --sort COLUMN   name, size or hash: the order a click on that column's header gives\n"
     "  --json          one JSON document: path, order, files (index, name, folder, file, size,\n"
     "                  offset, hash)\n",
     RunList},
    {"tree", "tree ARCHIVE", "Print the archive's folders and files as the window's tree shows them.", "", RunTree},
    {"verify", "verify [--json] [--jobs N] [--quiet] ARCHIVE",
     "Read (and inflate) every file's data; print each damaged file's name and message.",
     "  --json          one JSON document: path, files, intact, damaged (index, name, code,\n"
     "                  message), bytes, status\n"
     "  --jobs N        read and inflate on N threads (default: the number of cores)\n"
     "  --quiet         no summary line on stderr\n"
     "exit status: 0 when every file is intact, else the first damaged file's code.\n",
     RunVerify},
    {"extract",
     "extract [--no-path] [--include GLOB]... [--exclude GLOB]... [--dry-run] [--no-clobber]\n"
     "        [--jobs N] [--quiet] ARCHIVE DEST [ENTRY...]",
     "Write every file, or the files and folders named, below DEST.",
     "  ENTRY           a file's name as list prints it (\"/\" for \"\\\" too), or a folder path:\n"
     "                  that folder's files and those of the folders below it. Without ENTRY\n"
     "                  every file is written in catalogue order and the first failure ends\n"
     "                  the run; with ENTRY every failure is reported and the run goes on.\n"
     "  --no-path       write every file straight into DEST (the later of two names wins)\n"
     "  --include GLOB  only files whose name matches one of these patterns\n"
     "  --exclude GLOB  no file whose name matches one of these patterns\n"
     "                  GLOB: * any text within a folder, ? one character, ** any text,\n"
     "                  **/ any number of folders; / stands for \\; ASCII letters in any case\n"
     "  --dry-run       write nothing; print, tab-separated, write NAME PATH, skip NAME PATH\n"
     "                  or refuse NAME MESSAGE for each file\n"
     "  --no-clobber    skip files whose output path exists already\n"
     "  --jobs N        read and inflate on N threads (default: the number of cores); the\n"
     "                  files, bytes, messages and exit status are those of --jobs 1\n"
     "  --quiet         no summary line on stderr\n",
     RunExtract},
};

// The double-byte code page an iconv name stands for (0: single-byte), so
// that paths are split and compared by characters of that code page.
int MultibyteCodePageOf(std::string name) {
    for (char& c : name) c = static_cast<char>(std::toupper(static_cast<unsigned char>(c)));
    for (const char* prefix : {"CP", "WINDOWS-", "MS"})
        if (name.rfind(prefix, 0) == 0) name.erase(0, std::string(prefix).size());
    if (name == "932" || name == "SHIFT_JIS" || name == "SHIFT-JIS" || name == "SJIS" || name == "KANJI") return 932;
    if (name == "936" || name == "GBK" || name == "GB2312") return 936;
    if (name == "949" || name == "UHC") return 949;
    if (name == "950" || name == "BIG5" || name == "BIG-5") return 950;
    return 0;
}

void PrintUsage(std::FILE* to) {
    std::fprintf(to, "usage: kestrum-cli [--codepage NAME] VERB [OPTIONS] ARGS...\n\nverbs:\n");
    for (const Verb& v : kVerbs) std::fprintf(to, "  %s\n      %s\n", v.synopsis, v.summary);
    std::fprintf(to,
                 "\noptions:\n"
                 "  --codepage NAME   code page of the names in the archive (iconv name; default CP1252)\n"
                 "  --help            this text, or a verb's own with VERB --help\n"
                 "\nexit status: 0 success; 1-10 the program's result code of the first failure;\n"
                 "64 usage error; 70 an error of the system (read, write, memory).\n");
}

void PrintVerbUsage(const Verb& v) {
    std::printf("usage: kestrum-cli [--codepage NAME] %s\n\n%s\n", v.synopsis, v.summary);
    if (*v.options) std::printf("\noptions:\n%s", v.options);
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
            SetMultibyteCodePage(MultibyteCodePageOf(name));
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

