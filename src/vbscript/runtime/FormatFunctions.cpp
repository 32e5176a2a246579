// FormatNumber, FormatCurrency, FormatPercent (US-English conventions).
#include "vbscript/runtime/LibrarySupport.h"
#include "vbscript/runtime/Numbers.h"

namespace qm::vbs::rt {

namespace {

NumberStyle styleArgs(BuiltinContext& ctx, std::span<Value> args)
{
    NumberStyle style;
    style.digitsAfterDecimal = longArgOr(ctx, args, 1, -1);
    if (style.digitsAfterDecimal < -1 || style.digitsAfterDecimal > 99)
        raise(err::InvalidCall);
    int* tristates[] = {&style.includeLeadingDigit, &style.useParensForNegative, &style.groupDigits};
    for (size_t i = 0; i < 3; ++i) {
        int32_t t = longArgOr(ctx, args, 2 + i, -2);
        if (t < -2 || t > 0) // any non-zero value counts as True
            t = -1;
        *tristates[i] = t;
    }
    return style;
}

double valueArg(BuiltinContext& ctx, std::span<Value> args)
{
    Value v = plainArg(ctx, args, 0);
    if (v.isNull())
        raise(err::TypeMismatch);
    return toNumberValue(v);
}

Value fnFormatNumber(BuiltinContext& ctx, std::span<Value> args)
{
    double v = valueArg(ctx, args);
    return Value(formatNumber(v, styleArgs(ctx, args)));
}

Value fnFormatCurrency(BuiltinContext& ctx, std::span<Value> args)
{
    double v = valueArg(ctx, args);
    return Value(formatCurrency(v, styleArgs(ctx, args)));
}

Value fnFormatPercent(BuiltinContext& ctx, std::span<Value> args)
{
    double v = valueArg(ctx, args);
    return Value(formatPercent(v, styleArgs(ctx, args)));
}

} // namespace

void registerFormatFunctions(BuiltinRegistry& r)
{
    r.addFunction(u"FormatNumber", 1, 5, fnFormatNumber);
    r.addFunction(u"FormatCurrency", 1, 5, fnFormatCurrency);
    r.addFunction(u"FormatPercent", 1, 5, fnFormatPercent);
}

} // namespace qm::vbs::rt
