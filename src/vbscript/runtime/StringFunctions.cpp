// String functions: Len, Left, Mid, InStr, Replace, Split, Join, Asc, Chr, ...
#include <algorithm>

#include "vbscript/Operators.h"
#include "vbscript/runtime/Charset.h"
#include "vbscript/runtime/LibrarySupport.h"

namespace qm::vbs::rt {

namespace {

// The same ceiling as string concatenation, so no built-in builds a string
// the rest of the engine would refuse.
constexpr size_t kMaxString = kMaxStringLength;

// Text of a string argument, or nullopt for Null (the function then returns Null).
std::optional<std::u16string> nullableString(BuiltinContext& ctx, std::span<Value> args, size_t i)
{
    Value v = plainArg(ctx, args, i);
    if (v.isNull())
        return std::nullopt;
    if (v.isArray())
        raise(err::TypeMismatch);
    return toString(v);
}

int32_t lengthArg(BuiltinContext& ctx, std::span<Value> args, size_t i)
{
    Value v = plainArg(ctx, args, i);
    if (v.isNull())
        raise(err::InvalidUseOfNull);
    int32_t n = longArg(ctx, args, i);
    if (n < 0)
        raise(err::InvalidCall);
    return n;
}

size_t find(const std::u16string& hay, const std::u16string& needle, size_t from, int compare)
{
    if (compare == 0)
        return hay.find(needle, from);
    if (needle.size() > hay.size())
        return std::u16string::npos;
    for (size_t i = from; i + needle.size() <= hay.size(); ++i)
        if (compareText(std::u16string_view(hay).substr(i, needle.size()), needle) == 0)
            return i;
    return std::u16string::npos;
}

size_t rfind(const std::u16string& hay, const std::u16string& needle, size_t lastStart, int compare)
{
    if (needle.size() > hay.size())
        return std::u16string::npos;
    size_t i = std::min(lastStart, hay.size() - needle.size());
    while (true) {
        std::u16string_view part = std::u16string_view(hay).substr(i, needle.size());
        if (compare == 0 ? part == needle : compareText(part, needle) == 0)
            return i;
        if (i == 0)
            return std::u16string::npos;
        --i;
    }
}

Value fnLen(BuiltinContext& ctx, std::span<Value> args)
{
    auto s = nullableString(ctx, args, 0);
    if (!s)
        return Value::null();
    return Value(static_cast<int32_t>(s->size()));
}

Value fnLenB(BuiltinContext& ctx, std::span<Value> args)
{
    auto s = nullableString(ctx, args, 0);
    if (!s)
        return Value::null();
    return Value(static_cast<int32_t>(s->size() * 2));
}

Value fnLeft(BuiltinContext& ctx, std::span<Value> args)
{
    auto s = nullableString(ctx, args, 0);
    int32_t n = lengthArg(ctx, args, 1);
    if (!s)
        return Value::null();
    return Value(s->substr(0, static_cast<size_t>(n)));
}

Value fnRight(BuiltinContext& ctx, std::span<Value> args)
{
    auto s = nullableString(ctx, args, 0);
    int32_t n = lengthArg(ctx, args, 1);
    if (!s)
        return Value::null();
    size_t len = std::min(s->size(), static_cast<size_t>(n));
    return Value(s->substr(s->size() - len));
}

Value fnMid(BuiltinContext& ctx, std::span<Value> args)
{
    rejectNullArgs(ctx, args, 1);
    auto s = nullableString(ctx, args, 0);
    int32_t start = longArg(ctx, args, 1);
    if (start <= 0)
        raise(err::InvalidCall);
    int32_t len = given(args, 2) ? lengthArg(ctx, args, 2) : -1;
    if (!s)
        return Value::null();
    size_t from = static_cast<size_t>(start - 1);
    if (from >= s->size())
        return Value(std::u16string());
    return Value(len < 0 ? s->substr(from) : s->substr(from, static_cast<size_t>(len)));
}

// Byte-oriented variants work on the UTF-16LE bytes of the string; an odd byte
// count is rounded up to whole characters.
Value fnLeftB(BuiltinContext& ctx, std::span<Value> args)
{
    auto s = nullableString(ctx, args, 0);
    int32_t n = lengthArg(ctx, args, 1);
    if (!s)
        return Value::null();
    return Value(s->substr(0, (static_cast<size_t>(n) + 1) / 2));
}

Value fnRightB(BuiltinContext& ctx, std::span<Value> args)
{
    auto s = nullableString(ctx, args, 0);
    int32_t n = lengthArg(ctx, args, 1);
    if (!s)
        return Value::null();
    size_t len = std::min(s->size(), (static_cast<size_t>(n) + 1) / 2);
    return Value(s->substr(s->size() - len));
}

Value fnMidB(BuiltinContext& ctx, std::span<Value> args)
{
    auto s = nullableString(ctx, args, 0);
    int32_t start = longArg(ctx, args, 1);
    if (start <= 0)
        raise(err::InvalidCall);
    int32_t len = given(args, 2) ? lengthArg(ctx, args, 2) : -1;
    if (!s)
        return Value::null();
    size_t from = static_cast<size_t>(start - 1) / 2;
    if (from >= s->size())
        return Value(std::u16string());
    return Value(len < 0 ? s->substr(from) : s->substr(from, (static_cast<size_t>(len) + 1) / 2));
}

Value instr(BuiltinContext& ctx, std::span<Value> args, bool bytes)
{
    size_t first = 0;
    int32_t start = 1;
    // The start and compare arguments may not be Null; the strings may (the answer is then Null).
    if (args.size() >= 3)
        rejectNullArgs(ctx, args.subspan(0, 1));
    if (args.size() == 4)
        rejectNullArgs(ctx, args, 3);
    if (args.size() >= 3) {
        Value sv = plainArg(ctx, args, 0);
        if (sv.isNull())
            raise(err::InvalidUseOfNull);
        start = given(args, 0) ? longArg(ctx, args, 0) : 1;
        if (start <= 0)
            raise(err::InvalidCall);
        first = 1;
    }
    int compare = compareArg(ctx, args, first + 2);
    auto hay = nullableString(ctx, args, first);
    auto needle = nullableString(ctx, args, first + 1);
    if (!hay || !needle)
        return Value::null();
    size_t from = static_cast<size_t>(start - 1);
    if (bytes)
        from /= 2;
    // An empty text, or a start past its end, finds nothing (not even "").
    if (hay->empty() || from >= hay->size())
        return Value(int32_t(0));
    if (needle->empty())
        return Value(start);
    size_t at = find(*hay, *needle, from, compare);
    if (at == std::u16string::npos)
        return Value(int32_t(0));
    return Value(static_cast<int32_t>(bytes ? at * 2 + 1 : at + 1));
}

Value fnInStr(BuiltinContext& ctx, std::span<Value> args) { return instr(ctx, args, false); }
Value fnInStrB(BuiltinContext& ctx, std::span<Value> args) { return instr(ctx, args, true); }

Value fnInStrRev(BuiltinContext& ctx, std::span<Value> args)
{
    rejectNullArgs(ctx, args);
    auto hay = nullableString(ctx, args, 0);
    auto needle = nullableString(ctx, args, 1);
    int32_t start = longArgOr(ctx, args, 2, -1);
    if (start == 0 || start < -1)
        raise(err::InvalidCall);
    int compare = compareArg(ctx, args, 3);
    if (!hay || !needle)
        return Value::null();
    if (start == -1)
        start = static_cast<int32_t>(hay->size());
    if (needle->empty())
        return Value(start > static_cast<int32_t>(hay->size()) ? int32_t(0) : start);
    if (static_cast<size_t>(start) > hay->size() || needle->size() > static_cast<size_t>(start))
        return Value(int32_t(0));
    size_t at = rfind(*hay, *needle, static_cast<size_t>(start) - needle->size(), compare);
    return Value(at == std::u16string::npos ? int32_t(0) : static_cast<int32_t>(at + 1));
}

Value fnReplace(BuiltinContext& ctx, std::span<Value> args)
{
    std::u16string text = stringArg(ctx, args, 0);
    std::u16string findText = stringArg(ctx, args, 1);
    std::u16string with = stringArg(ctx, args, 2);
    int32_t start = longArgOr(ctx, args, 3, 1);
    int32_t count = longArgOr(ctx, args, 4, -1);
    int compare = compareArg(ctx, args, 5);
    if (start <= 0 || count < -1)
        raise(err::InvalidCall);
    if (static_cast<size_t>(start) > text.size())
        return Value(std::u16string());
    std::u16string rest = text.substr(static_cast<size_t>(start - 1));
    if (findText.empty() || count == 0)
        return Value(rest);
    std::u16string out;
    size_t pos = 0;
    int32_t done = 0;
    while (count < 0 || done < count) {
        size_t at = find(rest, findText, pos, compare);
        if (at == std::u16string::npos)
            break;
        out.append(rest, pos, at - pos);
        out += with;
        if (out.size() > kMaxString)
            raise(err::OutOfStringSpace);
        pos = at + findText.size();
        ++done;
    }
    out.append(rest, pos, std::u16string::npos);
    return Value(std::move(out));
}

Value fnSplit(BuiltinContext& ctx, std::span<Value> args)
{
    rejectNullArgs(ctx, args);
    std::u16string text = stringArg(ctx, args, 0);
    std::u16string delim = given(args, 1) ? stringArg(ctx, args, 1) : std::u16string(u" ");
    int32_t limit = longArgOr(ctx, args, 2, -1);
    if (longArgOr(ctx, args, 3, 0) == 2)
        raise(err::InvalidCall);  // Split knows only binary and text comparison
    int compare = compareArg(ctx, args, 3);
    if (limit < -1)
        raise(err::InvalidCall);
    std::vector<Value> parts;
    if (text.empty() || limit == 0)
        return makeArray({});
    if (delim.empty()) {
        parts.emplace_back(text);
        return makeArray(std::move(parts));
    }
    size_t pos = 0;
    while (true) {
        if (limit > 0 && static_cast<int32_t>(parts.size()) == limit - 1) {
            parts.emplace_back(text.substr(pos));
            break;
        }
        size_t at = find(text, delim, pos, compare);
        if (at == std::u16string::npos) {
            parts.emplace_back(text.substr(pos));
            break;
        }
        parts.emplace_back(text.substr(pos, at - pos));
        pos = at + delim.size();
    }
    return makeArray(std::move(parts));
}

Value fnJoin(BuiltinContext& ctx, std::span<Value> args)
{
    Value list = plainArg(ctx, args, 0);
    if (!list.isArray() || list.asArray().dimensions() != 1)
        raise(err::TypeMismatch);
    std::u16string delim = given(args, 1) ? stringArg(ctx, args, 1) : std::u16string(u" ");
    std::u16string out;
    const ArrayData& a = list.asArray();
    for (size_t i = 0; i < a.elements.size(); ++i) {
        if (i)
            out += delim;
        Value e = a.elements[i].isObject() ? ctx.resolveDefault(a.elements[i]) : a.elements[i];
        if (e.isArray())
            raise(err::TypeMismatch);
        if (!e.isNull())
            out += toString(e);
        if (out.size() > kMaxString)
            raise(err::OutOfStringSpace);
    }
    return Value(std::move(out));
}

bool isTrimSpace(char16_t c) { return c == u' '; }

Value trimImpl(BuiltinContext& ctx, std::span<Value> args, bool left, bool right)
{
    auto s = nullableString(ctx, args, 0);
    if (!s)
        return Value::null();
    size_t b = 0, e = s->size();
    if (left)
        while (b < e && isTrimSpace((*s)[b]))
            ++b;
    if (right)
        while (e > b && isTrimSpace((*s)[e - 1]))
            --e;
    return Value(s->substr(b, e - b));
}

Value fnTrim(BuiltinContext& ctx, std::span<Value> args) { return trimImpl(ctx, args, true, true); }
Value fnLTrim(BuiltinContext& ctx, std::span<Value> args) { return trimImpl(ctx, args, true, false); }
Value fnRTrim(BuiltinContext& ctx, std::span<Value> args) { return trimImpl(ctx, args, false, true); }

Value fnUCase(BuiltinContext& ctx, std::span<Value> args)
{
    auto s = nullableString(ctx, args, 0);
    if (!s)
        return Value::null();
    for (auto& c : *s)
        c = upperCase(c);
    return Value(std::move(*s));
}

Value fnLCase(BuiltinContext& ctx, std::span<Value> args)
{
    auto s = nullableString(ctx, args, 0);
    if (!s)
        return Value::null();
    for (auto& c : *s)
        c = lowerCase(c);
    return Value(std::move(*s));
}

Value fnSpace(BuiltinContext& ctx, std::span<Value> args)
{
    int32_t n = lengthArg(ctx, args, 0);
    if (static_cast<size_t>(n) > kMaxString)
        raise(err::OutOfStringSpace);
    return Value(std::u16string(static_cast<size_t>(n), u' '));
}

Value fnString(BuiltinContext& ctx, std::span<Value> args)
{
    Value countV = plainArg(ctx, args, 0);
    Value charV = plainArg(ctx, args, 1);
    if (countV.isNull() || charV.isNull())
        return Value::null();
    int32_t n = lengthArg(ctx, args, 0);
    char16_t ch;
    if (charV.isString()) {
        if (charV.asString().empty())
            raise(err::InvalidCall);
        ch = charV.asString()[0];
    } else {
        int32_t code = longArg(ctx, args, 1);
        ch = windows1252ToUnicode(static_cast<unsigned char>(code & 0xFF));
    }
    if (static_cast<size_t>(n) > kMaxString)
        raise(err::OutOfStringSpace);
    return Value(std::u16string(static_cast<size_t>(n), ch));
}

Value fnStrReverse(BuiltinContext& ctx, std::span<Value> args)
{
    std::u16string s = stringArg(ctx, args, 0);
    std::reverse(s.begin(), s.end());
    return Value(std::move(s));
}

Value fnStrComp(BuiltinContext& ctx, std::span<Value> args)
{
    auto a = nullableString(ctx, args, 0);
    auto b = nullableString(ctx, args, 1);
    int compare = compareArg(ctx, args, 2);
    if (!a || !b)
        return Value::null();
    int r = compare == 0 ? compareBinary(*a, *b) : compareText(*a, *b);
    return Value(static_cast<int16_t>(r));
}

std::u16string nonEmptyString(BuiltinContext& ctx, std::span<Value> args)
{
    std::u16string s = stringArg(ctx, args, 0);
    if (s.empty())
        raise(err::InvalidCall);
    return s;
}

Value fnAsc(BuiltinContext& ctx, std::span<Value> args)
{
    return Value(static_cast<int16_t>(unicodeToWindows1252(nonEmptyString(ctx, args)[0])));
}

Value fnAscW(BuiltinContext& ctx, std::span<Value> args)
{
    return Value(static_cast<int16_t>(nonEmptyString(ctx, args)[0]));
}

Value fnAscB(BuiltinContext& ctx, std::span<Value> args)
{
    return Value(static_cast<int16_t>(nonEmptyString(ctx, args)[0] & 0xFF));
}

Value fnChr(BuiltinContext& ctx, std::span<Value> args)
{
    int32_t code = longArg(ctx, args, 0);
    if (code < 0 || code > 255)
        raise(err::InvalidCall);
    return Value(std::u16string(1, windows1252ToUnicode(static_cast<unsigned char>(code))));
}

Value fnChrW(BuiltinContext& ctx, std::span<Value> args)
{
    int32_t code = longArg(ctx, args, 0);
    if (code < -32768 || code > 65535)
        raise(err::InvalidCall);
    return Value(std::u16string(1, static_cast<char16_t>(code & 0xFFFF)));
}

Value fnChrB(BuiltinContext& ctx, std::span<Value> args)
{
    int32_t code = longArg(ctx, args, 0);
    if (code < 0 || code > 255)
        raise(err::InvalidCall);
    return Value(std::u16string(1, static_cast<char16_t>(code)));
}

Value fnFilter(BuiltinContext& ctx, std::span<Value> args)
{
    Value list = plainArg(ctx, args, 0);
    if (!list.isArray() || list.asArray().dimensions() != 1)
        raise(err::TypeMismatch);
    std::u16string match = stringArg(ctx, args, 1);
    bool include = boolArgOr(ctx, args, 2, true);
    int compare = compareArg(ctx, args, 3);
    std::vector<Value> out;
    for (const Value& e : list.asArray().elements) {
        Value plain = e.isObject() ? ctx.resolveDefault(e) : e;
        if (plain.isNull())
            raise(err::InvalidUseOfNull);
        std::u16string text = toString(plain);
        bool found = find(text, match, 0, compare) != std::u16string::npos;
        if (found == include)
            out.emplace_back(std::move(text));
    }
    return makeArray(std::move(out));
}

Value fnEscape(BuiltinContext& ctx, std::span<Value> args)
{
    auto s = nullableString(ctx, args, 0);
    if (!s)
        return Value::null();
    if (s->size() > kMaxString / 6) // each character can grow to "%uXXXX"
        raise(err::OutOfStringSpace);
    return Value(escape(*s));
}

Value fnUnescape(BuiltinContext& ctx, std::span<Value> args)
{
    auto s = nullableString(ctx, args, 0);
    if (!s)
        return Value::null();
    return Value(unescape(*s));
}

} // namespace

void registerStringFunctions(BuiltinRegistry& r)
{
    r.addFunction(u"Len", 1, 1, fnLen);
    r.addFunction(u"LenB", 1, 1, fnLenB);
    r.addFunction(u"Left", 2, 2, fnLeft);
    r.addFunction(u"LeftB", 2, 2, fnLeftB);
    r.addFunction(u"Right", 2, 2, fnRight);
    r.addFunction(u"RightB", 2, 2, fnRightB);
    r.addFunction(u"Mid", 2, 3, fnMid);
    r.addFunction(u"MidB", 2, 3, fnMidB);
    r.addFunction(u"InStr", 2, 4, fnInStr);
    r.addFunction(u"InStrB", 2, 4, fnInStrB);
    r.addFunction(u"InStrRev", 2, 4, fnInStrRev);
    r.addFunction(u"Replace", 3, 6, fnReplace);
    r.addFunction(u"Split", 1, 4, fnSplit);
    r.addFunction(u"Join", 1, 2, fnJoin);
    r.addFunction(u"Trim", 1, 1, fnTrim);
    r.addFunction(u"LTrim", 1, 1, fnLTrim);
    r.addFunction(u"RTrim", 1, 1, fnRTrim);
    r.addFunction(u"UCase", 1, 1, fnUCase);
    r.addFunction(u"LCase", 1, 1, fnLCase);
    r.addFunction(u"Space", 1, 1, fnSpace);
    r.addFunction(u"String", 2, 2, fnString);
    r.addFunction(u"StrReverse", 1, 1, fnStrReverse);
    r.addFunction(u"StrComp", 2, 3, fnStrComp);
    r.addFunction(u"Asc", 1, 1, fnAsc);
    r.addFunction(u"AscW", 1, 1, fnAscW);
    r.addFunction(u"AscB", 1, 1, fnAscB);
    r.addFunction(u"Chr", 1, 1, fnChr);
    r.addFunction(u"ChrW", 1, 1, fnChrW);
    r.addFunction(u"ChrB", 1, 1, fnChrB);
    r.addFunction(u"Filter", 2, 4, fnFilter);
    r.addFunction(u"Escape", 1, 1, fnEscape);
    r.addFunction(u"Unescape", 1, 1, fnUnescape);
}

} // namespace qm::vbs::rt
