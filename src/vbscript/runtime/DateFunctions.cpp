// Date and time functions.
#include <cmath>

#include "vbscript/runtime/DateTime.h"
#include "vbscript/runtime/LibrarySupport.h"

namespace qm::vbs::rt {

namespace {

// The date argument, or nullopt for Null.
std::optional<double> dateArg(BuiltinContext& ctx, std::span<Value> args, size_t i)
{
    Value v = plainArg(ctx, args, i);
    if (v.isNull())
        return std::nullopt;
    return toDateSerial(v);
}

Interval intervalArg(BuiltinContext& ctx, std::span<Value> args, size_t i)
{
    auto interval = parseInterval(stringArg(ctx, args, i));
    if (!interval)
        raise(err::InvalidCall);
    return *interval;
}

int firstDayArg(BuiltinContext& ctx, std::span<Value> args, size_t i)
{
    int32_t d = longArgOr(ctx, args, i, 1);
    if (d < 0 || d > 7)
        raise(err::InvalidCall);
    return d == 0 ? 1 : d;
}

int firstWeekArg(BuiltinContext& ctx, std::span<Value> args, size_t i)
{
    int32_t w = longArgOr(ctx, args, i, 1);
    if (w < 0 || w > 3)
        raise(err::InvalidCall);
    return w == 0 ? 1 : w;
}

int16_t integerArg(BuiltinContext& ctx, std::span<Value> args, size_t i)
{
    Value v = plainArg(ctx, args, i);
    if (v.isNull())
        raise(err::InvalidUseOfNull);
    int32_t n = longArg(ctx, args, i);
    if (n < -32768 || n > 32767)
        raise(err::Overflow);
    return static_cast<int16_t>(n);
}

Value fnNow(BuiltinContext&, std::span<Value>)
{
    double now = nowSerial();
    double day = std::floor(now);
    return Value::date(day + std::floor((now - day) * 86400.0) / 86400.0);
}

Value fnDate(BuiltinContext&, std::span<Value>) { return Value::date(std::floor(nowSerial())); }

Value fnTime(BuiltinContext&, std::span<Value>)
{
    double now = nowSerial();
    return Value::date(std::floor((now - std::floor(now)) * 86400.0) / 86400.0);
}

Value fnDateAdd(BuiltinContext& ctx, std::span<Value> args)
{
    Interval interval = intervalArg(ctx, args, 0);
    Value numberV = plainArg(ctx, args, 1);
    if (numberV.isNull())
        raise(err::InvalidUseOfNull);
    double number = toNumberValue(numberV);
    auto serial = dateArg(ctx, args, 2);
    if (!serial)
        return Value::null();
    auto result = dateAdd(interval, number, *serial);
    if (!result)
        raise(err::InvalidCall);
    return Value::date(*result);
}

Value fnDateDiff(BuiltinContext& ctx, std::span<Value> args)
{
    Interval interval = intervalArg(ctx, args, 0);
    auto a = dateArg(ctx, args, 1);
    auto b = dateArg(ctx, args, 2);
    int fdow = firstDayArg(ctx, args, 3);
    int fwoy = firstWeekArg(ctx, args, 4);
    if (!a || !b)
        return Value::null();
    int64_t d = dateDiff(interval, *a, *b, fdow, fwoy);
    if (d < INT32_MIN || d > INT32_MAX)
        raise(err::Overflow);
    return Value(static_cast<int32_t>(d));
}

Value fnDatePart(BuiltinContext& ctx, std::span<Value> args)
{
    Interval interval = intervalArg(ctx, args, 0);
    auto serial = dateArg(ctx, args, 1);
    int fdow = firstDayArg(ctx, args, 2);
    int fwoy = firstWeekArg(ctx, args, 3);
    if (!serial)
        return Value::null();
    return Value(static_cast<int16_t>(datePart(interval, *serial, fdow, fwoy)));
}

Value fnDateSerial(BuiltinContext& ctx, std::span<Value> args)
{
    int16_t y = integerArg(ctx, args, 0), m = integerArg(ctx, args, 1), d = integerArg(ctx, args, 2);
    auto serial = dateSerial(y, m, d);
    if (!serial)
        raise(err::InvalidCall);
    return Value::date(*serial);
}

Value fnTimeSerial(BuiltinContext& ctx, std::span<Value> args)
{
    int16_t h = integerArg(ctx, args, 0), m = integerArg(ctx, args, 1), s = integerArg(ctx, args, 2);
    auto serial = timeSerial(h, m, s);
    if (!serial)
        raise(err::InvalidCall);
    return Value::date(*serial);
}

Value fnDateValue(BuiltinContext& ctx, std::span<Value> args)
{
    auto serial = dateArg(ctx, args, 0);
    if (!serial)
        return Value::null();
    return Value::date(static_cast<double>(serialDay(*serial)));
}

Value fnTimeValue(BuiltinContext& ctx, std::span<Value> args)
{
    auto serial = dateArg(ctx, args, 0);
    if (!serial)
        return Value::null();
    return Value::date(serialSecondsOfDay(*serial) / 86400.0);
}

template <int DateParts::*Field>
Value partFn(BuiltinContext& ctx, std::span<Value> args)
{
    auto serial = dateArg(ctx, args, 0);
    if (!serial)
        return Value::null();
    return Value(static_cast<int16_t>(splitSerial(*serial).*Field));
}

Value fnWeekday(BuiltinContext& ctx, std::span<Value> args)
{
    auto serial = dateArg(ctx, args, 0);
    int fdow = firstDayArg(ctx, args, 1);
    if (!serial)
        return Value::null();
    return Value(static_cast<int16_t>(weekday(*serial, fdow)));
}

Value fnWeekdayName(BuiltinContext& ctx, std::span<Value> args)
{
    Value v = plainArg(ctx, args, 0);
    if (v.isNull())
        raise(err::InvalidUseOfNull);
    int32_t wd = longArg(ctx, args, 0);
    bool abbreviate = boolArgOr(ctx, args, 1, false);
    int fdow = firstDayArg(ctx, args, 2);
    if (wd < 1 || wd > 7)
        raise(err::InvalidCall);
    return Value(weekdayName(wd, abbreviate, fdow));
}

Value fnMonthName(BuiltinContext& ctx, std::span<Value> args)
{
    rejectNullArgs(ctx, args);
    int32_t m = longArg(ctx, args, 0);
    bool abbreviate = boolArgOr(ctx, args, 1, false);
    if (m < 1 || m > 12)
        raise(err::InvalidCall);
    return Value(monthName(m, abbreviate));
}

Value fnFormatDateTime(BuiltinContext& ctx, std::span<Value> args)
{
    Value v = plainArg(ctx, args, 0);
    if (v.isNull())
        raise(err::TypeMismatch);
    double serial = toDateSerial(v);
    auto text = formatDateTime(serial, longArgOr(ctx, args, 1, 0));
    if (!text)
        raise(err::InvalidCall);
    return Value(*text);
}

} // namespace

void registerDateFunctions(BuiltinRegistry& r)
{
    r.addFunction(u"Now", 0, 0, fnNow);
    r.addFunction(u"Date", 0, 0, fnDate);
    r.addFunction(u"Time", 0, 0, fnTime);
    r.addFunction(u"DateAdd", 3, 3, fnDateAdd);
    r.addFunction(u"DateDiff", 3, 5, fnDateDiff);
    r.addFunction(u"DatePart", 2, 4, fnDatePart);
    r.addFunction(u"DateSerial", 3, 3, fnDateSerial);
    r.addFunction(u"TimeSerial", 3, 3, fnTimeSerial);
    r.addFunction(u"DateValue", 1, 1, fnDateValue);
    r.addFunction(u"TimeValue", 1, 1, fnTimeValue);
    r.addFunction(u"Year", 1, 1, partFn<&DateParts::year>);
    r.addFunction(u"Month", 1, 1, partFn<&DateParts::month>);
    r.addFunction(u"Day", 1, 1, partFn<&DateParts::day>);
    r.addFunction(u"Hour", 1, 1, partFn<&DateParts::hour>);
    r.addFunction(u"Minute", 1, 1, partFn<&DateParts::minute>);
    r.addFunction(u"Second", 1, 1, partFn<&DateParts::second>);
    r.addFunction(u"Weekday", 1, 2, fnWeekday);
    r.addFunction(u"WeekdayName", 1, 3, fnWeekdayName);
    r.addFunction(u"MonthName", 1, 2, fnMonthName);
    r.addFunction(u"FormatDateTime", 1, 2, fnFormatDateTime);
}

} // namespace qm::vbs::rt
