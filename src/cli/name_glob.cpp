#include "cli/name_glob.h"

#include <algorithm>

#include "platform/mbtext.h"

namespace kestrum::cli {

std::size_t CharLength(const std::string& text, std::size_t i) {
    const auto c = static_cast<unsigned char>(text[i]);
#ifdef _WIN32
    const std::size_t length = IsLeadByte(c) ? 2 : 1;
#else
    const std::size_t length = c >= 0xF0 ? 4 : c >= 0xE0 ? 3 : c >= 0xC0 ? 2 : 1;
#endif
    return std::min(length, text.size() - i);
}

namespace {
char FoldAscii(char c) { return c >= 'A' && c <= 'Z' ? static_cast<char>(c - 'A' + 'a') : c; }

bool SameCharacter(const std::string& a, const std::string& b) {
    if (a.size() != b.size()) return false;
    if (a.size() == 1) return FoldAscii(a[0]) == FoldAscii(b[0]);
    return a == b;
}
}  // namespace

NameGlob::NameGlob(const std::string& pattern) {
    for (std::size_t i = 0; i < pattern.size();) {
        const std::size_t n = CharLength(pattern, i);
        std::string ch = pattern.substr(i, n);
        i += n;
        if (ch == "/") ch = "\\";
        if (ch == "?") {
            m_tokens.push_back({Kind::Any, {}});
        } else if (ch == "*" && i < pattern.size() && pattern[i] == '*') {
            ++i;
            while (i < pattern.size() && pattern[i] == '*') ++i;  // "***" is "**"
            if (i < pattern.size() && (pattern[i] == '\\' || pattern[i] == '/')) {
                ++i;
                m_tokens.push_back({Kind::Folders, {}});
            } else {
                m_tokens.push_back({Kind::DoubleStar, {}});
            }
        } else if (ch == "*") {
            m_tokens.push_back({Kind::Star, {}});
        } else {
            m_tokens.push_back({Kind::Literal, ch});
        }
    }
}

// The set of token positions reachable so far, moved one character at a time:
// tokens x characters steps and no recursion, whatever the stars or the name.
bool NameGlob::Matches(const std::string& name) const {
    const std::size_t m = m_tokens.size();
    std::vector<char> reach(m + 1, 0), next(m + 1, 0);
    const auto close = [&](std::vector<char>& set) {  // the stars may match nothing
        for (std::size_t p = 0; p < m; ++p)
            if (set[p] && m_tokens[p].kind != Kind::Literal && m_tokens[p].kind != Kind::Any) set[p + 1] = 1;
    };
    reach[0] = 1;
    close(reach);
    for (std::size_t t = 0; t < name.size();) {
        const std::size_t n = CharLength(name, t);
        const std::string ch = name.substr(t, n);
        const bool separator = ch == "\\";
        std::fill(next.begin(), next.end(), 0);
        bool any = false;
        for (std::size_t p = 0; p < m; ++p) {
            if (!reach[p]) continue;
            const Token& token = m_tokens[p];
            switch (token.kind) {
            case Kind::Literal:
                if (SameCharacter(token.text, ch)) next[p + 1] = 1;
                break;
            case Kind::Any:
                if (!separator) next[p + 1] = 1;
                break;
            case Kind::Star:
                if (!separator) next[p] = 1;
                break;
            case Kind::DoubleStar:
                next[p] = 1;
                break;
            case Kind::Folders:  // any run that ends with a "\"
                next[p] = 1;
                if (separator) next[p + 1] = 1;
                break;
            }
        }
        close(next);
        for (char r : next) any = any || r;
        if (!any) return false;
        reach.swap(next);
        t += n;
    }
    return reach[m] != 0;
}

}  // namespace kestrum::cli
