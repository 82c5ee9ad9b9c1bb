// --json: one document on stdout. Texts in JSON are UTF-8: archive names are
// converted from their code page (--codepage on POSIX; on Windows the names
// are ANSI and are converted from the system's ANSI code page), and command
// line texts such as the archive's path likewise (on POSIX they are taken as
// the locale's UTF-8; a byte that is not UTF-8 becomes U+FFFD).
#pragma once

#include <nlohmann/json.hpp>
#include <string>

namespace kestrum::cli {

// An archive text (a name or folder path) as UTF-8.
std::string ArchiveTextToUtf8(const std::string& archiveText);

// A text of the command line (a path) as UTF-8.
std::string ArgumentToUtf8(const std::string& argument);

// Prints the document, indented, with a final newline.
void PrintJson(const nlohmann::ordered_json& document);

}  // namespace kestrum::cli
