#include "vbscript/runtime/DateTime.h"

#include <gtest/gtest.h>

using namespace qm::vbs::rt;

namespace {

double serialOf(int y, int m, int d, int h = 0, int mi = 0, int s = 0)
{
    return *makeSerial(daysFromCivil(y, m, d), h * 3600 + mi * 60 + s);
}

std::string narrow(const std::u16string& s) { return std::string(s.begin(), s.end()); }

std::string parsed(const char* text)
{
    std::string t(text);
    auto v = parseDate(std::u16string(t.begin(), t.end()), 2026);
    return v ? narrow(formatDate(*v)) : "<invalid>";
}

} // namespace

TEST(DateSerials, EpochAndKnownDays)
{
    EXPECT_EQ(daysFromCivil(1899, 12, 30), 0);
    EXPECT_EQ(daysFromCivil(1900, 1, 1), 2);
    EXPECT_EQ(daysFromCivil(2026, 12, 7), 46363);
    EXPECT_EQ(daysFromCivil(100, 1, 1), -657434);
    EXPECT_EQ(daysFromCivil(9999, 12, 31), 2958465);
}

TEST(DateSerials, NegativeSerialsKeepTimeAsPositiveFraction)
{
    DateParts p = splitSerial(-1.25);
    EXPECT_EQ(p.year, 1899);
    EXPECT_EQ(p.month, 12);
    EXPECT_EQ(p.day, 29);
    EXPECT_EQ(p.hour, 6);
    EXPECT_DOUBLE_EQ(serialToLinear(-1.25), -0.75);
    EXPECT_DOUBLE_EQ(linearToSerial(-0.75), -1.25);
    EXPECT_EQ(narrow(formatDate(-1.25)), "12/29/1899 6:00:00 AM");
}

TEST(DateSerials, DateSerialNormalisesOverflowingArguments)
{
    EXPECT_EQ(narrow(formatDate(*dateSerial(2026, 14, 0))), "1/31/2027");
    EXPECT_EQ(narrow(formatDate(*dateSerial(2026, 0, 1))), "12/1/2025");
    EXPECT_EQ(narrow(formatDate(*dateSerial(2026, 3, -1))), "2/27/2026");
    EXPECT_EQ(narrow(formatDate(*dateSerial(2024, 2, 30))), "3/1/2024");
    EXPECT_EQ(narrow(formatDate(*dateSerial(20, 1, 1))), "1/1/2020");
    EXPECT_EQ(narrow(formatDate(*dateSerial(99, 1, 1))), "1/1/1999");
    EXPECT_FALSE(dateSerial(10000, 1, 1).has_value());
    EXPECT_FALSE(dateSerial(-5, 1, 1).has_value());
}

TEST(DateSerials, TimeSerialWrapsAndGoesNegative)
{
    EXPECT_EQ(narrow(formatDate(*timeSerial(10, 90, 70))), "11:31:10 AM");
    EXPECT_EQ(narrow(formatDate(*timeSerial(25, 0, 0))), "12/31/1899 1:00:00 AM");
    double minusOne = *timeSerial(0, -1, 0);
    EXPECT_NEAR(minusOne, -1.99930555555556, 1e-12);
    EXPECT_EQ(narrow(formatDate(minusOne)), "12/29/1899 11:59:00 PM");
}

TEST(DateArithmetic, DateAddClampsToMonthEnd)
{
    EXPECT_EQ(narrow(formatDate(*dateAdd(Interval::Month, 1, serialOf(2020, 1, 31)))), "2/29/2020");
    EXPECT_EQ(narrow(formatDate(*dateAdd(Interval::Year, 1, serialOf(2020, 2, 29)))), "2/28/2021");
    EXPECT_EQ(narrow(formatDate(*dateAdd(Interval::Quarter, 1, serialOf(2020, 11, 30)))), "2/28/2021");
    EXPECT_EQ(narrow(formatDate(*dateAdd(Interval::Minute, -30, serialOf(2020, 1, 1)))), "12/31/2019 11:30:00 PM");
    EXPECT_EQ(narrow(formatDate(*dateAdd(Interval::Week, 2, serialOf(2026, 12, 7, 15, 4, 5)))), "12/21/2026 3:04:05 PM");
    // The number is rounded half to even.
    EXPECT_EQ(narrow(formatDate(*dateAdd(Interval::Day, 1.5, serialOf(2020, 1, 1)))), "1/3/2020");
    EXPECT_EQ(narrow(formatDate(*dateAdd(Interval::Day, 2.5, serialOf(2020, 1, 1)))), "1/3/2020");
    EXPECT_FALSE(dateAdd(Interval::Year, 9000, serialOf(2020, 1, 1)).has_value());
}

TEST(DateArithmetic, DateAddAcrossTheEpochOnTimeIntervals)
{
    double r = *dateAdd(Interval::Hour, 1, -1.25);
    EXPECT_NEAR(r, -1.29166666666667, 1e-12);
}

TEST(DateArithmetic, DateDiffCountsBoundaries)
{
    EXPECT_EQ(dateDiff(Interval::Hour, serialOf(2020, 1, 1, 23, 59), serialOf(2020, 1, 2, 0, 1), 1, 1), 1);
    EXPECT_EQ(dateDiff(Interval::Month, serialOf(2020, 1, 31), serialOf(2020, 2, 1), 1, 1), 1);
    EXPECT_EQ(dateDiff(Interval::Year, serialOf(2020, 12, 31), serialOf(2021, 1, 1), 1, 1), 1);
    EXPECT_EQ(dateDiff(Interval::Day, serialOf(2020, 1, 2), serialOf(2020, 1, 1), 1, 1), -1);
    EXPECT_EQ(dateDiff(Interval::Day, serialOf(2020, 1, 1, 23), serialOf(2020, 1, 2, 1), 1, 1), 1);
    EXPECT_EQ(dateDiff(Interval::Quarter, serialOf(2020, 3, 31), serialOf(2020, 4, 1), 1, 1), 1);
    EXPECT_EQ(dateDiff(Interval::Second, serialOf(2020, 1, 1), serialOf(2020, 1, 1, 0, 1, 1), 1, 1), 61);
    // Sat 5 Dec 2026 -> Sun 13 Dec 2026: two Sundays crossed, one whole week.
    EXPECT_EQ(dateDiff(Interval::Week, serialOf(2026, 12, 5), serialOf(2026, 12, 13), 1, 1), 2);
    EXPECT_EQ(dateDiff(Interval::Weekday, serialOf(2026, 12, 5), serialOf(2026, 12, 13), 1, 1), 1);
    EXPECT_EQ(dateDiff(Interval::Week, serialOf(2026, 12, 5), serialOf(2026, 12, 13), 2, 1), 1);
}

TEST(DateArithmetic, DatePartAndWeeks)
{
    EXPECT_EQ(datePart(Interval::DayOfYear, serialOf(2024, 3, 1), 1, 1), 61);
    EXPECT_EQ(datePart(Interval::Quarter, serialOf(2024, 7, 1), 1, 1), 3);
    EXPECT_EQ(datePart(Interval::Weekday, serialOf(2026, 12, 7), 2, 1), 1); // a Monday
    EXPECT_EQ(weekday(serialOf(2026, 12, 7), 1), 2);
    EXPECT_EQ(weekday(0, 1), 7); // 30 Dec 1899 was a Saturday
    EXPECT_EQ(weekOfYear(serialOf(2021, 12, 31), 1, 1), 53);
    EXPECT_EQ(weekOfYear(serialOf(2022, 1, 1), 1, 1), 1);
    // First full week: 1 Jan 2022 (Saturday) still belongs to the last week of 2021.
    EXPECT_EQ(weekOfYear(serialOf(2022, 1, 1), 1, 3), 52);
    // First four-day week, Monday start: 1 Jan 2021 (Friday) is in 2020's week 53.
    EXPECT_EQ(weekOfYear(serialOf(2021, 1, 1), 2, 2), 53);
    EXPECT_EQ(weekOfYear(serialOf(2021, 1, 4), 2, 2), 1);
}

TEST(DateNames, WeekdayAndMonthNames)
{
    EXPECT_EQ(narrow(weekdayName(1, false, 1)), "Sunday");
    EXPECT_EQ(narrow(weekdayName(1, true, 2)), "Mon");
    EXPECT_EQ(narrow(weekdayName(7, false, 3)), "Monday");
    EXPECT_EQ(narrow(monthName(9, true)), "Sep");
    EXPECT_EQ(narrow(monthName(12, false)), "December");
}

TEST(DateFormatting, UsEnglishForms)
{
    double d = serialOf(2026, 12, 7, 15, 4, 5);
    EXPECT_EQ(narrow(formatDate(d)), "12/7/2026 3:04:05 PM");
    EXPECT_EQ(narrow(formatDate(serialOf(2026, 12, 7))), "12/7/2026");
    EXPECT_EQ(narrow(formatDate(0)), "12:00:00 AM");
    EXPECT_EQ(narrow(formatDate(0.5)), "12:00:00 PM");
    EXPECT_EQ(narrow(formatDate(1)), "12/31/1899");
    EXPECT_EQ(narrow(*formatDateTime(d, 1)), "Monday, December 7, 2026");
    EXPECT_EQ(narrow(*formatDateTime(d, 2)), "12/7/2026");
    EXPECT_EQ(narrow(*formatDateTime(d, 3)), "3:04:05 PM");
    EXPECT_EQ(narrow(*formatDateTime(serialOf(2026, 12, 7, 3, 4, 5), 4)), "03:04");
    EXPECT_FALSE(formatDateTime(d, 5).has_value());
    // Times round to the nearest second, carrying into the next day.
    EXPECT_EQ(narrow(formatDate(serialOf(2026, 12, 7) + 0.9999999)), "12/8/2026");
}

TEST(DateParsing, AcceptedForms)
{
    EXPECT_EQ(parsed("12/7/2026"), "12/7/2026");
    EXPECT_EQ(parsed(" 12-7-2026 "), "12/7/2026");
    EXPECT_EQ(parsed("2026-12-07"), "12/7/2026");
    EXPECT_EQ(parsed("12.7.2026"), "12/7/2026");
    EXPECT_EQ(parsed("15.03.2026"), "<invalid>");
    EXPECT_EQ(parsed("Dec 7, 2026 3:04pm"), "12/7/2026 3:04:00 PM");
    EXPECT_EQ(parsed("7 December 2026"), "12/7/2026");
    EXPECT_EQ(parsed("Monday, December 07, 2026"), "12/7/2026");
    EXPECT_EQ(parsed("1/2026"), "1/1/2026");
    EXPECT_EQ(parsed("12/7"), "12/7/2026");
    EXPECT_EQ(parsed("13/1/2020"), "1/13/2020");
    EXPECT_EQ(parsed("12/7/26"), "12/7/2026");
    EXPECT_EQ(parsed("1/1/30"), "1/1/1930");
    EXPECT_EQ(parsed("3 pm"), "3:00:00 PM");
    EXPECT_EQ(parsed("12:00 AM"), "12:00:00 AM");
    EXPECT_EQ(parsed("15:04:05"), "3:04:05 PM");
    EXPECT_EQ(parsed("12/7/2026 15:04:05"), "12/7/2026 3:04:05 PM");
}

TEST(DateParsing, RejectedForms)
{
    EXPECT_EQ(parsed("hello"), "<invalid>");
    EXPECT_EQ(parsed("2/30/2020"), "<invalid>");
    EXPECT_EQ(parsed("5"), "<invalid>");
    EXPECT_EQ(parsed(""), "<invalid>");
    EXPECT_EQ(parsed("25:00"), "<invalid>");
    EXPECT_EQ(parsed("13:00 PM"), "<invalid>");
    EXPECT_EQ(parsed("1/2/3/4"), "<invalid>");
    EXPECT_EQ(parsed("12/7/2026 #"), "<invalid>");
}
