// Conversion and inspection functions: CBool..CStr, Hex, Oct, Fix, Int, Round,
// IsNumeric, IsDate, IsEmpty, IsNull, IsArray, IsObject, VarType, TypeName.
#include <cmath>

#include "vbscript/runtime/DateTime.h"
#include "vbscript/runtime/LibrarySupport.h"
#include "vbscript/runtime/Numbers.h"

namespace qm::vbs::rt {

namespace {

// The argument for a C* conversion: objects read through their default member,
// Null raises 94, arrays and objects without a value raise 13.
Value convertible(BuiltinContext& ctx, std::span<Value> args)
{
    Value v = plainArg(ctx, args, 0);
    if (v.isNull())
        raise(err::InvalidUseOfNull);
    if (v.isArray() || v.isObject() || v.type() == VarType::Error)
        raise(err::TypeMismatch);
    return v;
}

// Double for a conversion; hex/octal text keeps its bit pattern as `bits` wide.
double convertedNumber(const Value& v, int bits)
{
    if (!v.isString())
        return toDouble(v);
    auto parsed = parseNumber(v.asString());
    if (!parsed)
        raise(err::TypeMismatch);
    if (parsed->overflow)
        raise(err::Overflow);
    if (!parsed->hexOrOctal)
        return parsed->value;
    auto pattern = static_cast<uint32_t>(parsed->value);
    if (bits == 16) {
        if (pattern > 0xFFFF)
            raise(err::Overflow);
        return static_cast<int16_t>(static_cast<uint16_t>(pattern));
    }
    if (bits == 8)
        return pattern;
    return static_cast<int32_t>(pattern);
}

double roundedInRange(double d, double lo, double hi)
{
    d = bankersRound(d);
    if (!(d >= lo && d <= hi))
        raise(err::Overflow);
    return d;
}

Value fnCBool(BuiltinContext& ctx, std::span<Value> args)
{
    Value v = convertible(ctx, args);
    if (v.isString()) {
        auto parsed = parseNumber(v.asString());
        if (parsed && parsed->overflow)
            raise(err::Overflow);
        if (parsed)
            return Value(parsed->value != 0);
    }
    return Value(toBool(v));
}

Value fnCByte(BuiltinContext& ctx, std::span<Value> args)
{
    Value v = convertible(ctx, args);
    if (v.type() == VarType::Boolean)
        return Value::byte(toByte(v));  // True's bits: 255
    return Value::byte(static_cast<uint8_t>(roundedInRange(convertedNumber(v, 8), 0, 255)));
}

Value fnCInt(BuiltinContext& ctx, std::span<Value> args)
{
    return Value(static_cast<int16_t>(roundedInRange(convertedNumber(convertible(ctx, args), 16), -32768, 32767)));
}

Value fnCLng(BuiltinContext& ctx, std::span<Value> args)
{
    return Value(static_cast<int32_t>(
        roundedInRange(convertedNumber(convertible(ctx, args), 32), -2147483648.0, 2147483647.0)));
}

Value fnCCur(BuiltinContext& ctx, std::span<Value> args)
{
    Value v = convertible(ctx, args);
    if (v.type() == VarType::Currency)
        return v;
    // Scaled in extended precision: 922337203685477 * 10000 must stay exact,
    // and 1.23465 (stored a hair above) must round up, not to even.
    long double scaled = std::nearbyint(static_cast<long double>(convertedNumber(v, 32)) * 10000.0L);
    if (!(scaled >= -9223372036854775808.0L && scaled <= 9223372036854775807.0L))
        raise(err::Overflow);
    return Value::currencyScaled(static_cast<int64_t>(scaled));
}

Value fnCSng(BuiltinContext& ctx, std::span<Value> args)
{
    double d = convertedNumber(convertible(ctx, args), 32);
    if (std::fabs(d) > 3.402823466e38)
        raise(err::Overflow);
    return Value::single(static_cast<float>(d));
}

Value fnCDbl(BuiltinContext& ctx, std::span<Value> args)
{
    return Value(convertedNumber(convertible(ctx, args), 32));
}

Value fnCDate(BuiltinContext& ctx, std::span<Value> args)
{
    Value v = convertible(ctx, args);
    if (v.isString()) {
        if (auto number = parseNumber(v.asString()); number && !number->overflow)
            return Value::date(toDateSerial(Value(number->value)));  // "1" is the serial 1: 12/31/1899
    }
    if (v.isString()) {
        auto parsed = parseDate(v.asString(), splitSerial(nowSerial()).year);
        if (!parsed)
            raise(err::TypeMismatch);
        return Value::date(*parsed);
    }
    return Value::date(toDateSerial(v));
}

Value fnCStr(BuiltinContext& ctx, std::span<Value> args)
{
    Value v = convertible(ctx, args);
    return Value(toString(v));
}

// Hex/Oct: Integer-sized values print 16-bit patterns, everything else 32-bit.
Value hexOct(BuiltinContext& ctx, std::span<Value> args, bool hex)
{
    Value v = plainArg(ctx, args, 0);
    if (v.isNull())
        return Value::null();
    if (v.isArray() || v.isObject())
        raise(err::TypeMismatch);
    bool sixteen = v.type() == VarType::Integer || v.type() == VarType::Byte || v.type() == VarType::Boolean ||
                   v.type() == VarType::Empty;
    double d = v.isString() ? convertedNumber(v, 32) : toDouble(v);
    d = roundedInRange(d, -2147483648.0, 2147483647.0); // a Long, as the conversion to hex sees it
    auto n = static_cast<int64_t>(d);
    return Value(hex ? toHex(n, sixteen) : toOct(n, sixteen));
}

Value fnHex(BuiltinContext& ctx, std::span<Value> args) { return hexOct(ctx, args, true); }
Value fnOct(BuiltinContext& ctx, std::span<Value> args) { return hexOct(ctx, args, false); }

// Applies a whole-number operation keeping the subtype where VBScript does.
template <class F>
Value wholeNumber(BuiltinContext& ctx, std::span<Value> args, F op)
{
    Value v = plainArg(ctx, args, 0);
    switch (v.type()) {
    case VarType::Null: return Value::null();
    case VarType::Empty: return Value(int16_t(0));
    case VarType::Integer:
    case VarType::Long:
    case VarType::Byte: return v;
    case VarType::Boolean: return Value(static_cast<int16_t>(v.asBool() ? -1 : 0));
    case VarType::Single: return Value::single(static_cast<float>(op(static_cast<double>(v.asSingle()))));
    case VarType::Double: return Value(op(v.asDouble()));
    case VarType::Currency:
        return Value::currencyScaled(static_cast<int64_t>(op(static_cast<double>(v.asCurrencyScaled()) / 10000.0)) * 10000);
    case VarType::Date: return Value::date(op(v.asDate()));
    case VarType::String: return Value(op(numberFromString(v.asString())));
    default: raise(err::TypeMismatch);
    }
}

Value fnInt(BuiltinContext& ctx, std::span<Value> args)
{
    return wholeNumber(ctx, args, [](double d) { return std::floor(d); });
}

Value fnFix(BuiltinContext& ctx, std::span<Value> args)
{
    return wholeNumber(ctx, args, [](double d) { return std::trunc(d); });
}

Value fnRound(BuiltinContext& ctx, std::span<Value> args)
{
    Value v = plainArg(ctx, args, 0);
    int32_t digits = longArgOr(ctx, args, 1, 0);
    if (digits < 0)
        raise(err::InvalidCall);
    switch (v.type()) {
    case VarType::Null: return Value::null();
    case VarType::Empty: return Value(int16_t(0));
    case VarType::Integer:
    case VarType::Long:
    case VarType::Byte:
    case VarType::Boolean: return v;
    case VarType::Single:
        return Value::single(static_cast<float>(roundDigits(static_cast<double>(v.asSingle()), digits)));
    case VarType::Double: return Value(roundDigits(v.asDouble(), digits));
    case VarType::Currency: {
        if (digits >= 4)
            return v;
        double r = roundDigits(static_cast<double>(v.asCurrencyScaled()) / 10000.0, digits);
        return Value::currencyScaled(static_cast<int64_t>(bankersRound(r * 10000.0)));
    }
    case VarType::Date: return Value::date(roundDigits(v.asDate(), digits));
    case VarType::String: return Value(roundDigits(numberFromString(v.asString()), digits));
    default: raise(err::TypeMismatch);
    }
}

Value fnIsNumeric(BuiltinContext& ctx, std::span<Value> args)
{
    Value v = args.empty() ? Value() : args[0];
    if (v.isObject()) {
        if (v.isNothing() || !v.asObject()->hasDefaultMember())
            return Value(false);
        try {
            v = ctx.resolveDefault(v);
        } catch (const ScriptError&) {
            return Value(false);
        }
    }
    switch (v.type()) {
    case VarType::Empty:
    case VarType::Integer:
    case VarType::Long:
    case VarType::Single:
    case VarType::Double:
    case VarType::Currency:
    case VarType::Byte:
    case VarType::Boolean:
    case VarType::Decimal: return Value(true);
    case VarType::String: {
        auto parsed = parseNumber(v.asString());
        return Value(parsed.has_value() && !parsed->overflow);
    }
    default: return Value(false);
    }
}

Value fnIsDate(BuiltinContext& ctx, std::span<Value> args)
{
    Value v = args.empty() ? Value() : args[0];
    if (v.isObject()) {
        if (v.isNothing() || !v.asObject()->hasDefaultMember())
            return Value(false);
        try {
            v = ctx.resolveDefault(v);
        } catch (const ScriptError&) {
            return Value(false);
        }
    }
    if (v.type() == VarType::Date)
        return Value(true);
    if (v.isString())
        return Value(parseDate(v.asString(), splitSerial(nowSerial()).year).has_value());
    return Value(false);
}

Value fnIsEmpty(BuiltinContext&, std::span<Value> args) { return Value(args[0].isEmpty()); }
Value fnIsNull(BuiltinContext&, std::span<Value> args) { return Value(args[0].isNull()); }
Value fnIsArray(BuiltinContext&, std::span<Value> args) { return Value(args[0].isArray()); }
Value fnIsObject(BuiltinContext&, std::span<Value> args) { return Value(args[0].isObject()); }

Value fnVarType(BuiltinContext& ctx, std::span<Value> args)
{
    const Value& v = args[0];
    if (v.isObject() && !v.isNothing() && v.asObject()->hasDefaultMember()) {
        // An object with a default property answers with the type of that value.
        try {
            return Value(static_cast<int16_t>(ctx.resolveDefault(v).varTypeNumber()));
        } catch (const ScriptError&) {
            return Value(int16_t(9));
        }
    }
    return Value(static_cast<int16_t>(v.varTypeNumber()));
}

Value fnTypeName(BuiltinContext&, std::span<Value> args)
{
    const Value& v = args[0];
    if (v.isObject() && !v.isNothing())
        return Value(v.asObject()->typeName());
    if (v.isMissing())
        return Value(u"Error");
    return Value(typeName(v));
}

} // namespace

void registerConversionFunctions(BuiltinRegistry& r)
{
    r.addFunction(u"CBool", 1, 1, fnCBool);
    r.addFunction(u"CByte", 1, 1, fnCByte);
    r.addFunction(u"CCur", 1, 1, fnCCur);
    r.addFunction(u"CDate", 1, 1, fnCDate);
    r.addFunction(u"CDbl", 1, 1, fnCDbl);
    r.addFunction(u"CInt", 1, 1, fnCInt);
    r.addFunction(u"CLng", 1, 1, fnCLng);
    r.addFunction(u"CSng", 1, 1, fnCSng);
    r.addFunction(u"CStr", 1, 1, fnCStr);
    r.addFunction(u"Hex", 1, 1, fnHex);
    r.addFunction(u"Oct", 1, 1, fnOct);
    r.addFunction(u"Fix", 1, 1, fnFix);
    r.addFunction(u"Int", 1, 1, fnInt);
    r.addFunction(u"Round", 1, 2, fnRound);
    r.addFunction(u"IsNumeric", 1, 1, fnIsNumeric);
    r.addFunction(u"IsDate", 1, 1, fnIsDate);
    r.addFunction(u"IsEmpty", 1, 1, fnIsEmpty);
    r.addFunction(u"IsNull", 1, 1, fnIsNull);
    r.addFunction(u"IsArray", 1, 1, fnIsArray);
    r.addFunction(u"IsObject", 1, 1, fnIsObject);
    r.addFunction(u"VarType", 1, 1, fnVarType);
    r.addFunction(u"TypeName", 1, 1, fnTypeName);
}

} // namespace qm::vbs::rt
