#include "vbscript/runtime/DiskNames.h"

#include <cstdint>

#include "vbscript/Value.h"
#include "vbscript/runtime/Charset.h"

namespace qm::vbs::rt {

bool isUtf8Name(std::string_view s)
{
    size_t i = 0;
    while (i < s.size()) {
        auto b = static_cast<unsigned char>(s[i]);
        if (b < 0x80) {
            ++i;
            continue;
        }
        int length = 0;
        uint32_t cp = 0, least = 0;
        if ((b & 0xE0) == 0xC0)
            length = 2, cp = b & 0x1F, least = 0x80;
        else if ((b & 0xF0) == 0xE0)
            length = 3, cp = b & 0x0F, least = 0x800;
        else if ((b & 0xF8) == 0xF0)
            length = 4, cp = b & 0x07, least = 0x10000;
        else
            return false;
        if (i + length > s.size())
            return false;
        for (int k = 1; k < length; ++k) {
            auto c = static_cast<unsigned char>(s[i + k]);
            if ((c & 0xC0) != 0x80)
                return false;
            cp = (cp << 6) | (c & 0x3F);
        }
        if (cp < least || cp > 0x10FFFF || (cp >= 0xD800 && cp <= 0xDFFF))
            return false;
        i += length;
    }
    return true;
}

std::u16string diskNameText(std::string_view bytes)
{
    if (isUtf8Name(bytes))
        return fromUtf8(bytes);
    std::u16string out;
    out.reserve(bytes.size());
    for (char c : bytes)
        out += windows1252ToUnicode(static_cast<unsigned char>(c));
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
    return equalsNoCase(diskNameText(bytes), text);
}

} // namespace qm::vbs::rt
