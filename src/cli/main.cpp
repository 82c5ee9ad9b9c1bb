// kestrum-cli: looks into version 103 archives from the command line.
#include "cli/cli.h"

int main(int argc, char** argv) {
    return kestrum::cli::RunCli(std::vector<std::string>(argv + 1, argv + argc));
}
