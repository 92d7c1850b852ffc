#include "platform/codepage.h"

#include <iconv.h>

#include <cerrno>

namespace orbeta {
namespace {

std::string Convert(std::string_view in, const char* to, const char* from) {
    iconv_t cd = iconv_open(to, from);
    if (cd == reinterpret_cast<iconv_t>(-1)) return std::string(in);
    std::string out;
    out.resize(in.size() * 4 + 16);
    char* src = const_cast<char*>(in.data());
    size_t srcLeft = in.size();
    char* dst = out.data();
    size_t dstLeft = out.size();
    while (srcLeft > 0) {
        size_t r = iconv(cd, &src, &srcLeft, &dst, &dstLeft);
        if (r != static_cast<size_t>(-1)) break;
        if (errno == E2BIG) {
            size_t used = static_cast<size_t>(dst - out.data());
            out.resize(out.size() * 2);
            dst = out.data() + used;
            dstLeft = out.size() - used;
            continue;
        }
        // An unconvertible or broken sequence: one '?' for it, then go on.
        if (dstLeft == 0) {
            size_t used = static_cast<size_t>(dst - out.data());
            out.resize(out.size() * 2);
            dst = out.data() + used;
            dstLeft = out.size() - used;
        }
        *dst++ = '?';
        --dstLeft;
        ++src;
        --srcLeft;
        // skip UTF-8 continuation bytes of the same character
        if (std::string_view(from) == "UTF-8")
            while (srcLeft > 0 && (static_cast<unsigned char>(*src) & 0xC0) == 0x80) {
                ++src;
                --srcLeft;
            }
    }
    out.resize(static_cast<size_t>(dst - out.data()));
    iconv_close(cd);
    return out;
}

}  // namespace

std::string OemToAnsi(std::string_view s) { return Convert(s, "CP1251", "CP866"); }
std::string AnsiToOem(std::string_view s) { return Convert(s, "CP866", "CP1251"); }
std::string AnsiToUtf8(std::string_view s) { return Convert(s, "UTF-8", "CP1251"); }
std::string Utf8ToAnsi(std::string_view s) { return Convert(s, "CP1251", "UTF-8"); }
std::string OemToUtf8(std::string_view s) { return Convert(s, "UTF-8", "CP866"); }
std::string Utf8ToOem(std::string_view s) { return Convert(s, "CP866", "UTF-8"); }

}  // namespace orbeta
