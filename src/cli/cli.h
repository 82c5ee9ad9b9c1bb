// kestrum-cli: the verbs and what they share.
#pragma once

#include <map>
#include <string>
#include <vector>

#include "archive/bsa_archive.h"

namespace kestrum::cli {

// Exit statuses beyond the program's own result codes.
constexpr int kExitUsage = 64;
constexpr int kExitSoftware = 70;

// A usage error: printed with the usage text, exit 64.
struct UsageError {
    std::string message;
};

// Options and operands of one verb. Options may stand anywhere; "--" ends them.
struct Args {
    std::vector<std::string> operands;
    std::map<std::string, std::vector<std::string>> values;  // options that take a value
    std::map<std::string, bool> flags;                      // options that take none

    bool Flag(const std::string& name) const { return flags.count(name) != 0; }
    const std::string* Value(const std::string& name) const;
};

// Parses args; valued and flag options are the ones this verb knows.
Args ParseArgs(const std::vector<std::string>& args, const std::vector<std::string>& valued,
               const std::vector<std::string>& flagNames);

// The number of worker threads of --jobs N (1..256; default: the cores).
unsigned JobsOption(const Args& a);

// Loads the archive; on failure the loader has reported and its code is returned.
int LoadOrReport(CBsaArchive& archive, const std::string& path);

// Archive text as the terminal shows it (the code page of --codepage).
std::string Shown(const std::string& archiveText);

// The whole tool: parses args (without the program name), runs the verb and
// returns the exit status; every error ends here as a message on stderr.
int RunCli(const std::vector<std::string>& args);

int RunInfo(const std::vector<std::string>& args);
int RunList(const std::vector<std::string>& args);
int RunTree(const std::vector<std::string>& args);
int RunExtract(const std::vector<std::string>& args);
int RunVerify(const std::vector<std::string>& args);

}  // namespace kestrum::cli
