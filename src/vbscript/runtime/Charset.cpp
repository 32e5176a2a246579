#include "vbscript/runtime/Charset.h"

namespace qm::vbs::rt {

namespace {
// 0x80..0x9F; unassigned positions keep their C1 control code.
const char16_t kHigh[32] = {0x20AC, 0x0081, 0x201A, 0x0192, 0x201E, 0x2026, 0x2020, 0x2021,
                            0x02C6, 0x2030, 0x0160, 0x2039, 0x0152, 0x008D, 0x017D, 0x008F,
                            0x0090, 0x2018, 0x2019, 0x201C, 0x201D, 0x2022, 0x2013, 0x2014,
                            0x02DC, 0x2122, 0x0161, 0x203A, 0x0153, 0x009D, 0x017E, 0x0178};

int hexDigit(char16_t c)
{
    if (c >= u'0' && c <= u'9') return c - u'0';
    if (c >= u'a' && c <= u'f') return c - u'a' + 10;
    if (c >= u'A' && c <= u'F') return c - u'A' + 10;
    return -1;
}

const char16_t* kHexDigits = u"0123456789ABCDEF";
} // namespace

char16_t windows1252ToUnicode(unsigned char byte)
{
    if (byte >= 0x80 && byte <= 0x9F)
        return kHigh[byte - 0x80];
    return byte;
}

unsigned char unicodeToWindows1252(char16_t ch)
{
    if (ch < 0x80 || (ch >= 0xA0 && ch <= 0xFF))
        return static_cast<unsigned char>(ch);
    for (int i = 0; i < 32; ++i)
        if (kHigh[i] == ch)
            return static_cast<unsigned char>(0x80 + i);
    return '?';
}

std::u16string escape(const std::u16string& text)
{
    std::u16string out;
    out.reserve(text.size());
    for (char16_t c : text) {
        bool plain = (c >= u'A' && c <= u'Z') || (c >= u'a' && c <= u'z') || (c >= u'0' && c <= u'9') || c == u'@' ||
                     c == u'*' || c == u'_' || c == u'+' || c == u'-' || c == u'.' || c == u'/';
        if (plain) {
            out += c;
        } else if (c < 0x100) {
            out += u'%';
            out += kHexDigits[c >> 4];
            out += kHexDigits[c & 15];
        } else {
            out += u"%u";
            for (int shift = 12; shift >= 0; shift -= 4)
                out += kHexDigits[(c >> shift) & 15];
        }
    }
    return out;
}

std::u16string unescape(const std::u16string& text)
{
    std::u16string out;
    out.reserve(text.size());
    for (size_t i = 0; i < text.size(); ++i) {
        char16_t c = text[i];
        if (c == u'%') {
            if (i + 5 < text.size() && (text[i + 1] == u'u' || text[i + 1] == u'U')) {
                int v = 0;
                bool ok = true;
                for (size_t k = 2; k < 6; ++k) {
                    int d = hexDigit(text[i + k]);
                    if (d < 0) {
                        ok = false;
                        break;
                    }
                    v = v * 16 + d;
                }
                if (ok) {
                    out += static_cast<char16_t>(v);
                    i += 5;
                    continue;
                }
            }
            if (i + 2 < text.size()) {
                int h = hexDigit(text[i + 1]), l = hexDigit(text[i + 2]);
                if (h >= 0 && l >= 0) {
                    out += static_cast<char16_t>(h * 16 + l);
                    i += 2;
                    continue;
                }
            }
        }
        out += c;
    }
    return out;
}

} // namespace qm::vbs::rt
