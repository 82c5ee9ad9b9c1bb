#include "platform/os_names.h"

#ifndef _WIN32
#include <cerrno>
#include <iconv.h>
#endif

namespace kestrum {

#ifdef _WIN32
bool SetArchiveCodePage(const std::string&) { return true; }
std::string ArchiveTextToOs(const std::string& text) { return text; }
#else
namespace {
struct Converter {
    iconv_t cd = reinterpret_cast<iconv_t>(-1);
    ~Converter() {
        if (cd != reinterpret_cast<iconv_t>(-1)) iconv_close(cd);
    }
};

Converter& Current() {
    static Converter converter = [] {
        Converter c;
        c.cd = iconv_open("UTF-8", "CP1252");
        return c;
    }();
    return converter;
}
}  // namespace

bool SetArchiveCodePage(const std::string& iconvName) {
    iconv_t cd = iconv_open("UTF-8", iconvName.c_str());
    if (cd == reinterpret_cast<iconv_t>(-1)) return false;
    Converter& c = Current();
    if (c.cd != reinterpret_cast<iconv_t>(-1)) iconv_close(c.cd);
    c.cd = cd;
    return true;
}

std::string ArchiveTextToOs(const std::string& text) {
    bool ascii = true;
    for (char ch : text) ascii = ascii && static_cast<unsigned char>(ch) < 0x80;
    iconv_t cd = Current().cd;
    if (ascii || cd == reinterpret_cast<iconv_t>(-1)) return text;

    iconv(cd, nullptr, nullptr, nullptr, nullptr);
    std::string out;
    out.reserve(text.size() * 2);
    char* in = const_cast<char*>(text.data());
    std::size_t inLeft = text.size();
    char buffer[256];
    while (inLeft > 0) {
        char* dst = buffer;
        std::size_t dstLeft = sizeof buffer;
        const std::size_t r = iconv(cd, &in, &inLeft, &dst, &dstLeft);
        out.append(buffer, static_cast<std::size_t>(dst - buffer));
        if (r == static_cast<std::size_t>(-1) && errno != E2BIG) {
            out.push_back('?');  // a byte the code page does not define
            ++in;
            --inLeft;
            iconv(cd, nullptr, nullptr, nullptr, nullptr);
        }
    }
    return out;
}
#endif

}  // namespace kestrum
