#pragma once
// Date serials as VBScript keeps them: a double counting days since 30 December 1899,
// the fraction being the time of day. For negative serials the integer part is the
// day and the absolute value of the fraction is the time (-1.25 = 29 Dec 1899 06:00).
#include <cstdint>
#include <optional>
#include <string>

namespace qm::vbs::rt {

inline constexpr double kMinDateSerial = -657434.0;  // 1 January 100
inline constexpr double kMaxDateSerial = 2958465.99999999; // 31 December 9999 23:59:59

struct DateParts {
    int year = 1899, month = 12, day = 30;
    int hour = 0, minute = 0, second = 0;
};

// Day number (days since 30 Dec 1899) of a proleptic Gregorian calendar day.
int64_t daysFromCivil(int64_t year, int month, int day);
void civilFromDays(int64_t days, int& year, int& month, int& day);
bool isLeapYear(int64_t year);
int daysInMonth(int64_t year, int month);

bool isValidDateSerial(double serial);

// Continuous time line (days + fraction, growing monotonically) and back.
double serialToLinear(double serial);
double linearToSerial(double linear);

// Splits a serial, rounding the time to the nearest second.
DateParts splitSerial(double serial);
// Day part (as VB counts it: the truncated serial) and seconds of the day.
int64_t serialDay(double serial);
int serialSecondsOfDay(double serial);

// Two-digit years map to 1930..2029.
int64_t expandTwoDigitYear(int64_t year);

// Results are empty when the date falls out of VBScript's range (caller raises).
std::optional<double> dateSerial(double year, double month, double day);
std::optional<double> timeSerial(double hour, double minute, double second);
std::optional<double> makeSerial(int64_t days, int seconds);

// Intervals: "yyyy","q","m","y","d","w","ww","h","n","s" (any case).
enum class Interval { Year, Quarter, Month, DayOfYear, Day, Weekday, Week, Hour, Minute, Second };
std::optional<Interval> parseInterval(const std::u16string& text);

// firstDayOfWeek: 1 = Sunday .. 7 = Saturday (0 = system = Sunday).
// firstWeekOfYear: 1 = week of Jan 1, 2 = first four-day week, 3 = first full week (0 = 1).
std::optional<double> dateAdd(Interval interval, double number, double serial);
int64_t dateDiff(Interval interval, double serial1, double serial2, int firstDayOfWeek, int firstWeekOfYear);
int datePart(Interval interval, double serial, int firstDayOfWeek, int firstWeekOfYear);
int weekday(double serial, int firstDayOfWeek);
int weekOfYear(double serial, int firstDayOfWeek, int firstWeekOfYear);

std::u16string monthName(int month, bool abbreviate);            // month 1..12
std::u16string weekdayName(int weekday, bool abbreviate, int firstDayOfWeek); // weekday 1..7

// US-English formats.
std::u16string formatDate(double serial);           // as CStr: "12/7/2026 3:04:05 PM"
std::u16string formatShortDate(double serial);      // "12/7/2026"
std::u16string formatLongDate(double serial);       // "Monday, December 7, 2026"
std::u16string formatLongTime(double serial);       // "3:04:05 PM"
std::u16string formatShortTime(double serial);      // "15:04"
// FormatDateTime's named formats 0..4; empty when the format number is invalid.
std::optional<std::u16string> formatDateTime(double serial, int namedFormat);

// Parses a date/time text as CDate does in the US-English locale. `currentYear`
// completes dates given without a year.
std::optional<double> parseDate(const std::u16string& text, int currentYear);

} // namespace qm::vbs::rt
