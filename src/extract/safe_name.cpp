#include "extract/safe_name.h"

#include <algorithm>
#include <array>
#include <cctype>
#include <string_view>

#include "extract/separators.h"

namespace kestrum {

namespace {

// "..", ".", "...", ". ": Windows trims trailing dots and spaces, so every one
// of them means the current or the parent folder.
bool OnlyDotsAndSpaces(std::string_view component) {
    return !component.empty() &&
           std::all_of(component.begin(), component.end(), [](char c) { return c == '.' || c == ' '; });
}

bool HasColonOrControl(std::string_view component) {
    return std::any_of(component.begin(), component.end(), [](char c) {
        return c == ':' || static_cast<unsigned char>(c) < 0x20;
    });
}

// CON, PRN, AUX, NUL, COM1-COM9, LPT1-LPT9 in any case, with or without an
// extension: Windows opens the device instead of a file in the folder.
bool IsDeviceName(std::string_view component) {
    std::string_view base = component.substr(0, component.find('.'));
    while (!base.empty() && base.back() == ' ') base.remove_suffix(1);  // "NUL .txt" is NUL too
    std::string upper(base);
    for (char& c : upper) c = static_cast<char>(std::toupper(static_cast<unsigned char>(c)));
    static constexpr std::array<std::string_view, 4> kPlain{"CON", "PRN", "AUX", "NUL"};
    if (std::find(kPlain.begin(), kPlain.end(), upper) != kPlain.end()) return true;
    return upper.size() == 4 && (upper.compare(0, 3, "COM") == 0 || upper.compare(0, 3, "LPT") == 0) &&
           upper[3] >= '1' && upper[3] <= '9';
}

}  // namespace

bool IsSafeRelativePath(const std::string& relative) {
    std::size_t start = 0;
    for (;;) {
        const std::size_t end = FindSeparator(relative, start);
        const std::string_view component =
            std::string_view(relative).substr(start, end == std::string::npos ? std::string::npos : end - start);
        if (OnlyDotsAndSpaces(component) || HasColonOrControl(component) || IsDeviceName(component))
            return false;
        if (end == std::string::npos) return !component.empty();  // the file's own name
        start = end + 1;
    }
}

}  // namespace kestrum
