// Date and time functions called from scripts (US-English formats).
#include "FunctionProbe.h"

using namespace qm::vbs::fnprobe;

TEST(DateFunctionsInScripts, DateAddClampsToTheEndOfTheMonth)
{
    FunctionProbe p;
    expectAll(p, {
        {"DateAdd(\"d\", 1, #1/31/2020#)", "Date:2/1/2020"},
        {"DateAdd(\"m\", 1, #1/31/2020#)", "Date:2/29/2020"},
        {"DateAdd(\"m\", 1, #1/31/2021#)", "Date:2/28/2021"},
        {"DateAdd(\"yyyy\", 1, #2/29/2020#)", "Date:2/28/2021"},
        {"DateAdd(\"q\", 1, #11/30/2020#)", "Date:2/28/2021"},
        {"DateAdd(\"m\", -1, #3/31/2020#)", "Date:2/29/2020"},
        {"DateAdd(\"ww\", 2, #1/1/2020#)", "Date:1/15/2020"},
        {"DateAdd(\"w\", 3, #1/1/2020#)", "Date:1/4/2020"},
        {"DateAdd(\"y\", 3, #1/1/2020#)", "Date:1/4/2020"},
        {"DateAdd(\"h\", 25, #1/1/2020#)", "Date:1/2/2020 1:00:00 AM"},
        {"DateAdd(\"n\", -1, #1/1/2020#)", "Date:12/31/2019 11:59:00 PM"},
        {"DateAdd(\"s\", 90, #1/1/2020 11:59:00 PM#)", "Date:1/2/2020 12:00:30 AM"},
        {"DateAdd(\"D\", 1, #1/1/2020#)", "Date:1/2/2020"},
        {"DateAdd(\"d\", 1, \"1/1/2020\")", "Date:1/2/2020"},
        // A fractional number is rounded to a whole one first.
        {"DateAdd(\"d\", 1.7, #1/1/2020#)", "Date:1/3/2020"},
        {"DateAdd(\"d\", -1.7, #1/1/2020#)", "Date:12/30/2019"},
        {"DateAdd(\"m\", 1.5, #1/15/2020#)", "Date:3/15/2020"},
        {"DateAdd(\"d\", 1, Null)", "Null"},
        {"DateAdd(\"d\", Null, #1/1/2020#)", "error 94"},
        {"DateAdd(\"x\", 1, #1/1/2020#)", "error 5"},
        {"DateAdd(\"yyyy\", 9000, #1/1/2020#)", "error 5"},
    });
}

TEST(DateFunctionsInScripts, DateDiffCountsBoundariesCrossed)
{
    FunctionProbe p;
    expectAll(p, {
        {"DateDiff(\"d\", #1/1/2020#, #3/1/2020#)", "Long:60"},
        {"DateDiff(\"d\", #3/1/2020#, #1/1/2020#)", "Long:-60"},
        {"DateDiff(\"d\", #1/1/2020 11:00 PM#, #1/2/2020 1:00 AM#)", "Long:1"},
        {"DateDiff(\"m\", #1/31/2020#, #2/1/2020#)", "Long:1"},
        {"DateDiff(\"yyyy\", #12/31/2019#, #1/1/2020#)", "Long:1"},
        {"DateDiff(\"q\", #3/31/2020#, #4/1/2020#)", "Long:1"},
        {"DateDiff(\"h\", #1/1/2020 11:59 PM#, #1/2/2020 12:01 AM#)", "Long:1"},
        {"DateDiff(\"n\", #1/1/2020 10:00:59 AM#, #1/1/2020 10:01:00 AM#)", "Long:1"},
        {"DateDiff(\"s\", #1/1/2020#, #1/2/2020#)", "Long:86400"},
        {"DateDiff(\"y\", #1/1/2020#, #1/11/2020#)", "Long:10"},
        // "w" counts whole weeks; "ww" counts week starts (Sundays by default).
        {"DateDiff(\"w\", #1/1/2020#, #1/22/2020#)", "Long:3"},
        {"DateDiff(\"w\", #1/1/2020#, #1/21/2020#)", "Long:2"},
        {"DateDiff(\"ww\", #1/1/2020#, #1/22/2020#)", "Long:3"},
        {"DateDiff(\"ww\", #1/4/2020#, #1/5/2020#)", "Long:1"},
        {"DateDiff(\"ww\", #1/4/2020#, #1/5/2020#, vbMonday)", "Long:0"},
        {"DateDiff(\"ww\", #1/5/2020#, #1/6/2020#, vbMonday)", "Long:1"},
        {"DateDiff(\"d\", Null, #1/1/2020#)", "Null"},
        {"DateDiff(\"z\", #1/1/2020#, #1/2/2020#)", "error 5"},
    });
}

TEST(DateFunctionsInScripts, DatePartWithWeekSettings)
{
    FunctionProbe p;
    expectAll(p, {
        {"DatePart(\"yyyy\", #7/4/2020#)", "Integer:2020"},
        {"DatePart(\"q\", #7/4/2020#)", "Integer:3"},
        {"DatePart(\"m\", #7/4/2020#)", "Integer:7"},
        {"DatePart(\"y\", #7/4/2020#)", "Integer:186"},
        {"DatePart(\"d\", #7/4/2020#)", "Integer:4"},
        {"DatePart(\"w\", #7/4/2020#)", "Integer:7"},
        {"DatePart(\"w\", #7/4/2020#, vbMonday)", "Integer:6"},
        {"DatePart(\"ww\", #7/4/2020#)", "Integer:27"},
        {"DatePart(\"ww\", #1/1/2021#)", "Integer:1"},
        {"DatePart(\"ww\", #1/1/2021#, vbMonday, vbFirstFourDays)", "Integer:53"},
        {"DatePart(\"ww\", #1/4/2021#, vbMonday, vbFirstFourDays)", "Integer:1"},
        {"DatePart(\"ww\", #1/1/2021#, vbSunday, vbFirstFullWeek)", "Integer:52"},
        {"DatePart(\"h\", #7/4/2020 3:04:05 PM#)", "Integer:15"},
        {"DatePart(\"n\", #7/4/2020 3:04:05 PM#)", "Integer:4"},
        {"DatePart(\"s\", #7/4/2020 3:04:05 PM#)", "Integer:5"},
        {"DatePart(\"d\", Null)", "Null"},
        {"DatePart(\"w\", #7/4/2020#, 8)", "error 5"},
    });
}

TEST(DateFunctionsInScripts, DateSerialAndTimeSerialCarryOver)
{
    FunctionProbe p;
    expectAll(p, {
        {"DateSerial(2020, 2, 30)", "Date:3/1/2020"},
        {"DateSerial(2020, 13, 1)", "Date:1/1/2021"},
        {"DateSerial(2020, 0, 0)", "Date:11/30/2019"},
        {"DateSerial(2020, -1, 1)", "Date:11/1/2019"},
        {"DateSerial(2020, 1.5, 1)", "Date:2/1/2020"},
        // Two-digit years: 0-29 are 2000s, 30-99 are 1900s.
        {"DateSerial(20, 1, 1)", "Date:1/1/2020"},
        {"DateSerial(29, 1, 1)", "Date:1/1/2029"},
        {"DateSerial(30, 1, 1)", "Date:1/1/1930"},
        {"DateSerial(99, 1, 1)", "Date:1/1/1999"},
        {"DateSerial(100, 1, 1)", "Date:1/1/100"},
        {"DateSerial(10000, 1, 1)", "error 5"},
        {"DateSerial(2020, 1, 40000)", "error 6"},
        {"DateSerial(Null, 1, 1)", "error 94"},
        {"TimeSerial(12, 30, 0)", "Date:12:30:00 PM"},
        {"TimeSerial(0, 0, 3661)", "Date:1:01:01 AM"},
        {"TimeSerial(25, 0, 0)", "Date:12/31/1899 1:00:00 AM"},
        {"TimeSerial(0, -1, 0)", "Date:12/29/1899 11:59:00 PM"},
        {"TimeSerial(-25, 0, 0)", "Date:12/28/1899 11:00:00 PM"},
        {"CDbl(TimeSerial(-1, 0, 0))", "Double:-1.95833333333333"},
        {"TimeSerial(Null, 0, 0)", "error 94"},
    });
}

TEST(DateFunctionsInScripts, DateValueTimeValueAndParts)
{
    FunctionProbe p;
    expectAll(p, {
        {"DateValue(\"1/2/2020 3:00 PM\")", "Date:1/2/2020"},
        {"DateValue(\"March 5, 2021\")", "Date:3/5/2021"},
        {"DateValue(#1/2/2020 3:00 PM#)", "Date:1/2/2020"},
        {"DateValue(Null)", "Null"},
        {"DateValue(\"x\")", "error 13"},
        {"TimeValue(\"1/2/2020 3:00 PM\")", "Date:3:00:00 PM"},
        {"TimeValue(\"15:45:10\")", "Date:3:45:10 PM"},
        {"TimeValue(\"3 PM\")", "Date:3:00:00 PM"},
        {"TimeValue(Null)", "Null"},
        {"TimeValue(\"x\")", "error 13"},
        {"Year(#7/4/2020#)", "Integer:2020"},
        {"Day(\"7/4/2020\")", "Integer:4"},
        {"Hour(0.75)", "Integer:18"},
        {"Minute(#3:04:59 PM#)", "Integer:4"},
        {"Second(#3:04:59 PM#)", "Integer:59"},
        {"Year(-1)", "Integer:1899"},
        {"Hour(-1.25)", "Integer:6"},   // the time of a negative serial is its absolute fraction
        {"Month(Null)", "Null"},
        {"Year(\"x\")", "error 13"},
        // Dots separate month, day and year in that order only: no day-first reading.
        {"Day(\"15.03.2026\")", "error 13"},
        {"Day(\"3.15.2026\")", "Integer:15"},
        {"Day(\"15/3/2026\")", "Integer:15"},
    });
}

TEST(DateFunctionsInScripts, WeekdayAndNames)
{
    FunctionProbe p;
    expectAll(p, {
        {"Weekday(#7/4/2020#)", "Integer:7"},
        {"Weekday(#7/4/2020#, vbMonday)", "Integer:6"},
        {"Weekday(#7/4/2020#, 0)", "Integer:7"},
        {"Weekday(Null)", "Null"},
        {"Weekday(#7/4/2020#, 8)", "error 5"},
        {"WeekdayName(1)", "String:Sunday"},
        {"WeekdayName(1, True)", "String:Sun"},
        {"WeekdayName(1, False, vbMonday)", "String:Monday"},
        {"WeekdayName(7, True, vbMonday)", "String:Sun"},
        {"WeekdayName(Weekday(#7/4/2020#))", "String:Saturday"},
        {"WeekdayName(0)", "error 5"},
        {"WeekdayName(8)", "error 5"},
        {"MonthName(1)", "String:January"},
        {"MonthName(12, True)", "String:Dec"},
        {"MonthName(0)", "error 5"},
        {"MonthName(13)", "error 5"},
        {"MonthName(Null)", "error 94"},
    });
}

TEST(DateFunctionsInScripts, FormatDateTimeNamedFormats)
{
    FunctionProbe p;
    expectAll(p, {
        {"FormatDateTime(#7/4/2020 3:04:05 PM#)", "String:7/4/2020 3:04:05 PM"},
        {"FormatDateTime(#7/4/2020 3:04:05 PM#, vbGeneralDate)", "String:7/4/2020 3:04:05 PM"},
        {"FormatDateTime(#7/4/2020 3:04:05 PM#, vbLongDate)", "String:Saturday, July 4, 2020"},
        {"FormatDateTime(#7/4/2020 3:04:05 PM#, vbShortDate)", "String:7/4/2020"},
        {"FormatDateTime(#7/4/2020 3:04:05 PM#, vbLongTime)", "String:3:04:05 PM"},
        {"FormatDateTime(#7/4/2020 3:04:05 PM#, vbShortTime)", "String:15:04"},
        {"FormatDateTime(#7/4/2020#, 0)", "String:7/4/2020"},
        {"FormatDateTime(#3:04:05 AM#, 0)", "String:3:04:05 AM"},
        {"FormatDateTime(#3:04:05 AM#, 1)", "String:Saturday, December 30, 1899"},
        {"FormatDateTime(#7/4/2020#, 4)", "String:00:00"},
        {"FormatDateTime(\"7/4/2020\")", "String:7/4/2020"},
        {"FormatDateTime(#7/4/2020#, 5)", "error 5"},
        {"FormatDateTime(Null)", "error 13"},
        {"FormatDateTime(\"x\")", "error 13"},
    });
}

TEST(DateFunctionsInScripts, ClockFunctionsAgree)
{
    FunctionProbe p;
    expectAll(p, {
        {"TypeName(Now)", "String:Date"},
        {"TypeName(Date)", "String:Date"},
        {"TypeName(Time)", "String:Date"},
        {"TypeName(Timer)", "String:Single"},
        {"Int(CDbl(Date)) = CDbl(Date)", "Boolean:True"},
        {"CDbl(Time) < 1", "Boolean:True"},
        {"Abs(DateDiff(\"s\", Now, Date + Time)) <= 1", "Boolean:True"},
        {"Timer >= 0 And Timer < 86400", "Boolean:True"},
    });
}
