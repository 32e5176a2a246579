#include "vbscript/runtime/DiskNames.h"

#include <cstdint>

#include "platform/CodePage437.h"
#include "vbscript/Value.h"
#include "vbscript/runtime/Charset.h"

namespace qm::vbs::rt {

namespace {

// The length of the well-formed UTF-8 sequence at s[i] and its code point;
// 0 when the byte there does not start one.
size_t utf8SequenceAt(std::string_view s, size_t i, char32_t& cp)
{
    auto b = static_cast<unsigned char>(s[i]);
    if (b < 0x80) {
        cp = b;
        return 1;
    }
    size_t length = 0;
    char32_t least = 0;
    if ((b & 0xE0) == 0xC0)
        length = 2, cp = b & 0x1F, least = 0x80;
    else if ((b & 0xF0) == 0xE0)
        length = 3, cp = b & 0x0F, least = 0x800;
    else if ((b & 0xF8) == 0xF0)
        length = 4, cp = b & 0x07, least = 0x10000;
    else
        return 0;
    if (i + length > s.size())
        return 0;
    for (size_t k = 1; k < length; ++k) {
        auto c = static_cast<unsigned char>(s[i + k]);
        if ((c & 0xC0) != 0x80)
            return 0;
        cp = (cp << 6) | (c & 0x3F);
    }
    if (cp < least || cp > 0x10FFFF || (cp >= 0xD800 && cp <= 0xDFFF))
        return 0;
    return length;
}

char16_t inCodePage(unsigned char b, bool dos)
{
    return dos ? platform::codePage437Char(b) : windows1252ToUnicode(b);
}

std::u16string wholeReading(std::string_view bytes, bool dos)
{
    std::u16string out;
    out.reserve(bytes.size());
    for (char c : bytes)
        out += inCodePage(static_cast<unsigned char>(c), dos);
    return out;
}

} // namespace

bool isUtf8Name(std::string_view s)
{
    char32_t cp = 0;
    for (size_t i = 0, n = 0; i < s.size(); i += n)
        if ((n = utf8SequenceAt(s, i, cp)) == 0)
            return false;
    return true;
}

std::u16string diskNameText(std::string_view bytes)
{
    // The sequences that are UTF-8 stay text; the other bytes, together,
    // decide the code page they are read in.
    std::string raw;
    char32_t cp = 0;
    for (size_t i = 0, n = 0; i < bytes.size(); i += n)
        if ((n = utf8SequenceAt(bytes, i, cp)) == 0)
            raw += bytes[i], n = 1;
    if (raw.empty())
        return fromUtf8(bytes);
    const bool dos = platform::readsAsCodePage437(raw);
    std::u16string out;
    out.reserve(bytes.size());
    for (size_t i = 0, n = 0; i < bytes.size(); i += n) {
        n = utf8SequenceAt(bytes, i, cp);
        if (n == 0) {
            out += inCodePage(static_cast<unsigned char>(bytes[i]), dos);
            n = 1;
        } else if (cp >= 0x10000) {
            out += static_cast<char16_t>(0xD800 + ((cp - 0x10000) >> 10));
            out += static_cast<char16_t>(0xDC00 + ((cp - 0x10000) & 0x3FF));
        } else {
            out += static_cast<char16_t>(cp);
        }
    }
    return out;
}

std::u16string diskPathText(std::string_view path)
{
    if (isUtf8Name(path))
        return fromUtf8(path);
    std::u16string out;
    size_t start = 0;
    while (start <= path.size()) {
        size_t end = path.find('/', start);
        if (end == std::string_view::npos)
            end = path.size();
        out += diskNameText(path.substr(start, end - start));
        if (end < path.size())
            out += u'/';
        start = end + 1;
    }
    return out;
}

bool diskNameMatches(std::string_view bytes, std::u16string_view text)
{
    if (equalsNoCase(diskNameText(bytes), text))
        return true;
    if (isUtf8Name(bytes))
        return false;
    return equalsNoCase(wholeReading(bytes, false), text) || equalsNoCase(wholeReading(bytes, true), text);
}

} // namespace qm::vbs::rt
