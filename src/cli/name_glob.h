// Patterns over a file's Name text (folder path, "\", file name) as the
// terminal shows it: "*" any run of characters within one component, "?" one
// character other than "\", "**" any run including "\", and "**\" (or "**/")
// zero or more whole folders. "/" stands for "\". ASCII letters match in either
// case, as on the file system the archives come from; other characters match
// exactly, a multibyte character always as a whole.
#pragma once

#include <string>
#include <vector>

namespace kestrum::cli {

class NameGlob {
public:
    explicit NameGlob(const std::string& pattern);
    bool Matches(const std::string& name) const;

private:
    enum class Kind { Literal, Any, Star, DoubleStar, Folders };
    struct Token {
        Kind kind;
        std::string text;  // Literal: one character
    };
    std::vector<Token> m_tokens;
};

// Length in bytes of the character at text[i] (UTF-8 on POSIX, the ANSI code
// page's double-byte characters on Windows), never past the end.
std::size_t CharLength(const std::string& text, std::size_t i);

}  // namespace kestrum::cli
