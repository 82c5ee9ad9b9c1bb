#include "cli/json_out.h"

#include <cstdio>

#include "platform/os_names.h"

#ifdef _WIN32
#include <windows.h>

#include "platform/wide_text.h"
#endif

namespace kestrum::cli {

#ifdef _WIN32
namespace {
std::string AnsiToUtf8(const std::string& text) {
    if (text.empty()) return text;
    const std::wstring w = WideFromCodePage(text, CP_ACP);
    const int wide = static_cast<int>(w.size());
    const int bytes = WideCharToMultiByte(CP_UTF8, 0, w.data(), wide, nullptr, 0, nullptr, nullptr);
    std::string out(static_cast<std::size_t>(bytes), '\0');
    WideCharToMultiByte(CP_UTF8, 0, w.data(), wide, out.data(), bytes, nullptr, nullptr);
    return out;
}
}  // namespace

std::string ArchiveTextToUtf8(const std::string& archiveText) { return AnsiToUtf8(archiveText); }
std::string ArgumentToUtf8(const std::string& argument) { return AnsiToUtf8(argument); }
#else
std::string ArchiveTextToUtf8(const std::string& archiveText) { return ArchiveTextToOs(archiveText); }
std::string ArgumentToUtf8(const std::string& argument) { return argument; }
#endif

void PrintJson(const nlohmann::ordered_json& document) {
    const std::string text = document.dump(2, ' ', false, nlohmann::ordered_json::error_handler_t::replace) + "\n";
    std::fwrite(text.data(), 1, text.size(), stdout);
}

}  // namespace kestrum::cli
