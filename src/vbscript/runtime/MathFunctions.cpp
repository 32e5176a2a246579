// Math functions and the random-number generator (Rnd, Randomize).
#include <cmath>

#include "vbscript/runtime/DateTime.h"
#include "vbscript/runtime/LibrarySupport.h"
#include "vbscript/runtime/RandomGenerator.h"

namespace qm::vbs::rt {

namespace {

Value checkedDouble(double d)
{
    if (!std::isfinite(d))
        raise(err::Overflow);
    return Value(d);
}

Value fnAbs(BuiltinContext& ctx, std::span<Value> args)
{
    Value v = plainArg(ctx, args, 0);
    switch (v.type()) {
    case VarType::Null: return Value::null();
    case VarType::Empty: return Value(int16_t(0));
    case VarType::Integer:
        if (v.asInteger() == -32768)
            return Value(int32_t(32768));
        return Value(static_cast<int16_t>(std::abs(v.asInteger())));
    case VarType::Long:
        if (v.asLong() == INT32_MIN)
            return Value(2147483648.0);
        return Value(static_cast<int32_t>(std::abs(v.asLong())));
    case VarType::Boolean: return Value(static_cast<int16_t>(v.asBool() ? 1 : 0));
    case VarType::Byte: return v;
    case VarType::Single: return Value::single(std::fabs(v.asSingle()));
    case VarType::Currency: {
        int64_t c = v.asCurrencyScaled();
        if (c == INT64_MIN)
            raise(err::Overflow);
        return Value::currencyScaled(c < 0 ? -c : c);
    }
    case VarType::Date: return Value::date(std::fabs(v.asDate()));
    default: return Value(std::fabs(toNumberValue(v)));
    }
}

Value fnSgn(BuiltinContext& ctx, std::span<Value> args)
{
    double d = doubleArg(ctx, args, 0);
    return Value(static_cast<int16_t>(d > 0 ? 1 : d < 0 ? -1 : 0));
}

Value fnAtn(BuiltinContext& ctx, std::span<Value> args) { return Value(std::atan(doubleArg(ctx, args, 0))); }
Value fnCos(BuiltinContext& ctx, std::span<Value> args) { return Value(std::cos(doubleArg(ctx, args, 0))); }
Value fnSin(BuiltinContext& ctx, std::span<Value> args) { return Value(std::sin(doubleArg(ctx, args, 0))); }
Value fnTan(BuiltinContext& ctx, std::span<Value> args) { return Value(std::tan(doubleArg(ctx, args, 0))); }
Value fnExp(BuiltinContext& ctx, std::span<Value> args) { return checkedDouble(std::exp(doubleArg(ctx, args, 0))); }

Value fnLog(BuiltinContext& ctx, std::span<Value> args)
{
    double d = doubleArg(ctx, args, 0);
    if (!(d > 0))
        raise(err::InvalidCall);
    return Value(std::log(d));
}

Value fnSqr(BuiltinContext& ctx, std::span<Value> args)
{
    double d = doubleArg(ctx, args, 0);
    if (d < 0)
        raise(err::InvalidCall);
    return Value(std::sqrt(d));
}

Value fnRnd(BuiltinContext& ctx, std::span<Value> args)
{
    RandomGenerator gen(ctx.random().seed);
    float r = given(args, 0) ? gen.next(static_cast<float>(doubleArg(ctx, args, 0))) : gen.next();
    ctx.random().seed = gen.seed();
    return Value::single(r);
}

double secondsSinceMidnight()
{
    double now = nowSerial();
    return (now - std::floor(now)) * 86400.0;
}

Value fnRandomize(BuiltinContext& ctx, std::span<Value> args)
{
    RandomGenerator gen(ctx.random().seed);
    gen.randomize(given(args, 0) ? doubleArg(ctx, args, 0) : static_cast<double>(static_cast<float>(secondsSinceMidnight())));
    ctx.random().seed = gen.seed();
    return Value();
}

Value fnTimer(BuiltinContext&, std::span<Value>)
{
    double secs = secondsSinceMidnight();
    return Value::single(static_cast<float>(std::floor(secs * 100.0) / 100.0));
}

} // namespace

void registerMathFunctions(BuiltinRegistry& r)
{
    r.addFunction(u"Abs", 1, 1, fnAbs);
    r.addFunction(u"Sgn", 1, 1, fnSgn);
    r.addFunction(u"Atn", 1, 1, fnAtn);
    r.addFunction(u"Cos", 1, 1, fnCos);
    r.addFunction(u"Sin", 1, 1, fnSin);
    r.addFunction(u"Tan", 1, 1, fnTan);
    r.addFunction(u"Exp", 1, 1, fnExp);
    r.addFunction(u"Log", 1, 1, fnLog);
    r.addFunction(u"Sqr", 1, 1, fnSqr);
    r.addFunction(u"Rnd", 0, 1, fnRnd);
    r.addFunction(u"Randomize", 0, 1, fnRandomize);
    r.addFunction(u"Timer", 0, 0, fnTimer);
}

} // namespace qm::vbs::rt
