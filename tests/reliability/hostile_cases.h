// The hostile-archive corpus: each case an archive and the results it must get.
#pragma once

#include <cstdint>
#include <functional>
#include <map>
#include <optional>
#include <string>
#include <vector>

namespace kestrum::test {

struct HostileCase {
    std::string name;
    std::function<std::string()> make;                          // the archive's bytes
    std::int32_t load;                                          // LoadCatalog's result
    std::vector<int> extract;                                   // ExtractFile's result per file, with path
    std::optional<std::map<std::string, std::string>> written;  // what lands in the destination
};

const std::vector<HostileCase>& HostileCases();

}  // namespace kestrum::test
