// Runs kestrum-cli in this process with its stdout and stderr captured.
#pragma once

#include <string>
#include <vector>

namespace kestrum::test {

struct CliRun {
    int status;
    std::string out;
    std::string err;
};

CliRun RunCliCaptured(const std::vector<std::string>& args);

}  // namespace kestrum::test
