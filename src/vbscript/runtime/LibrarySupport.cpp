#include "vbscript/runtime/LibrarySupport.h"

#include <chrono>
#include <cmath>
#include <ctime>

#include "vbscript/Dispatch.h"
#include "vbscript/ScriptClock.h"
#include "vbscript/runtime/DateTime.h"
#include "vbscript/runtime/Numbers.h"

namespace qm::vbs::rt {

Value plainArg(BuiltinContext& ctx, std::span<Value> args, size_t i)
{
    if (!given(args, i))
        return Value();
    const Value& v = args[i];
    if (v.isObject())
        return ctx.resolveDefault(v);
    return v;
}

std::u16string stringArg(BuiltinContext& ctx, std::span<Value> args, size_t i)
{
    Value v = plainArg(ctx, args, i);
    if (v.isArray())
        raise(err::TypeMismatch);
    return toString(v);
}

double toNumberValue(const Value& v)
{
    switch (v.type()) {
    case VarType::Null: raise(err::InvalidUseOfNull);
    case VarType::String: return numberFromString(v.asString());
    case VarType::Array:
    case VarType::Object:
    case VarType::Error: raise(err::TypeMismatch);
    default: return toDouble(v);
    }
}

double doubleArg(BuiltinContext& ctx, std::span<Value> args, size_t i) { return toNumberValue(plainArg(ctx, args, i)); }

int32_t longArg(BuiltinContext& ctx, std::span<Value> args, size_t i)
{
    double d = bankersRound(doubleArg(ctx, args, i));
    if (!(d >= -2147483648.0 && d <= 2147483647.0))
        raise(err::Overflow);
    return static_cast<int32_t>(d);
}

int32_t longArgOr(BuiltinContext& ctx, std::span<Value> args, size_t i, int32_t fallback)
{
    return given(args, i) ? longArg(ctx, args, i) : fallback;
}

bool boolArgOr(BuiltinContext& ctx, std::span<Value> args, size_t i, bool fallback)
{
    if (!given(args, i))
        return fallback;
    Value v = plainArg(ctx, args, i);
    if (v.isNull())
        raise(err::InvalidUseOfNull);
    return toBool(v);
}

void rejectNullArgs(BuiltinContext& ctx, std::span<Value> args, size_t from)
{
    for (size_t i = from; i < args.size(); ++i) {
        if (given(args, i) && plainArg(ctx, args, i).isNull())
            raise(err::InvalidUseOfNull);
    }
}

int compareArg(BuiltinContext& ctx, std::span<Value> args, size_t i)
{
    int32_t mode = longArgOr(ctx, args, i, 0);
    if (mode < 0 || mode > 2)
        raise(err::InvalidCall);
    return mode == 0 ? 0 : 1;
}

double numberFromString(const std::u16string& text)
{
    auto parsed = parseNumber(text);
    if (!parsed)
        raise(err::TypeMismatch);
    if (parsed->overflow)
        raise(err::Overflow);
    if (parsed->hexOrOctal)
        return static_cast<double>(static_cast<int32_t>(static_cast<uint32_t>(parsed->value)));
    return parsed->value;
}

double toDateSerial(const Value& v)
{
    double serial;
    switch (v.type()) {
    case VarType::Null: raise(err::InvalidUseOfNull);
    case VarType::Date: serial = v.asDate(); break;
    case VarType::String: {
        auto parsed = parseDate(v.asString(), splitSerial(nowSerial()).year);
        if (parsed) {
            serial = *parsed;
            break;
        }
        auto number = parseNumber(v.asString());
        if (!number)
            raise(err::TypeMismatch);
        if (number->overflow)
            raise(err::Overflow);
        serial = number->value;
        break;
    }
    case VarType::Array:
    case VarType::Object:
    case VarType::Error: raise(err::TypeMismatch);
    default: serial = toDouble(v); break;
    }
    if (!isValidDateSerial(serial))
        raise(err::Overflow);
    return serial;
}

namespace {
NowSource& nowSource()
{
    static NowSource source;
    return source;
}
}  // namespace

double nowSerial()
{
    if (const NowSource& source = nowSource())
        return source();
    auto now = std::chrono::system_clock::now();
    std::time_t t = std::chrono::system_clock::to_time_t(now);
    std::tm local{};
    localtime_r(&t, &local);
    auto millis = std::chrono::duration_cast<std::chrono::milliseconds>(now.time_since_epoch()).count() % 1000;
    double days = static_cast<double>(daysFromCivil(local.tm_year + 1900, local.tm_mon + 1, local.tm_mday));
    double secs = local.tm_hour * 3600.0 + local.tm_min * 60.0 + local.tm_sec + millis / 1000.0;
    return days + secs / 86400.0;
}

Value resolveObjectDefault(const Value& v)
{
    Value cur = v;
    for (int depth = 0; cur.isObject(); ++depth) {
        if (cur.isNothing())
            raise(err::ObjectNotSet);
        if (depth > 16 || !cur.asObject()->hasDefaultMember())
            raise(err::NoSuchMember);
        cur = cur.asObject()->invoke(DispIdValue, InvokeKind::PropertyGet, {});
    }
    return cur;
}

std::u16string u16(const char* ascii)
{
    std::u16string out;
    while (*ascii)
        out += static_cast<char16_t>(static_cast<unsigned char>(*ascii++));
    return out;
}

Value makeArray(std::vector<Value> elements)
{
    Value arr = Value::newArray({static_cast<int32_t>(elements.size()) - 1});
    ArrayData& data = arr.mutableArray();
    for (size_t i = 0; i < elements.size(); ++i)
        data.elements[i] = std::move(elements[i]);
    return arr;
}

} // namespace qm::vbs::rt

namespace qm::vbs {

void setNowSource(NowSource source) { rt::nowSource() = std::move(source); }

}  // namespace qm::vbs
