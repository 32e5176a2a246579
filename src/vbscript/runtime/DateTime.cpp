#include "vbscript/runtime/DateTime.h"

#include <array>
#include <cmath>
#include <vector>

namespace qm::vbs::rt {

namespace {

int64_t floorDiv(int64_t a, int64_t b)
{
    int64_t q = a / b;
    if ((a % b != 0) && ((a < 0) != (b < 0)))
        --q;
    return q;
}

int64_t floorMod(int64_t a, int64_t b) { return a - floorDiv(a, b) * b; }

const std::array<const char*, 12> kMonths = {"January", "February", "March",     "April",   "May",      "June",
                                             "July",    "August",   "September", "October", "November", "December"};
const std::array<const char*, 7> kDays = {"Sunday", "Monday", "Tuesday", "Wednesday", "Thursday", "Friday", "Saturday"};

std::u16string ascii(const std::string& s) { return std::u16string(s.begin(), s.end()); }

std::u16string number(int64_t n, int width = 0)
{
    std::string s = std::to_string(n < 0 ? -n : n);
    while (static_cast<int>(s.size()) < width)
        s.insert(s.begin(), '0');
    if (n < 0)
        s.insert(s.begin(), '-');
    return ascii(s);
}

constexpr int64_t kSecondsPerDay = 86400;

// Linear whole seconds since 30 Dec 1899 00:00, time rounded to the second.
int64_t linearSeconds(double serial)
{
    double linear = serialToLinear(serial);
    double day = std::floor(linear);
    int64_t secs = static_cast<int64_t>(std::llround((linear - day) * kSecondsPerDay));
    return static_cast<int64_t>(day) * kSecondsPerDay + secs;
}

std::optional<double> serialFromLinearSeconds(int64_t total)
{
    return makeSerial(floorDiv(total, kSecondsPerDay), static_cast<int>(floorMod(total, kSecondsPerDay)));
}

int normaliseFirstDay(int firstDayOfWeek) { return (firstDayOfWeek < 1 || firstDayOfWeek > 7) ? 1 : firstDayOfWeek; }

// 1 = Sunday .. 7 = Saturday for a linear day number.
int sundayBasedWeekday(int64_t day) { return static_cast<int>(floorMod(day + 6, 7)) + 1; }

int64_t weekStart(int64_t day, int firstDayOfWeek)
{
    return day - floorMod(sundayBasedWeekday(day) - firstDayOfWeek, 7);
}

int64_t firstWeekStart(int64_t year, int firstDayOfWeek, int firstWeekOfYear)
{
    int64_t jan1 = daysFromCivil(year, 1, 1);
    int64_t start = weekStart(jan1, firstDayOfWeek);
    int64_t daysInFirst = 7 - (jan1 - start);
    switch (firstWeekOfYear) {
    case 2: return daysInFirst >= 4 ? start : start + 7;
    case 3: return daysInFirst == 7 ? start : start + 7;
    default: return start;
    }
}

} // namespace

bool isLeapYear(int64_t y) { return (y % 4 == 0 && y % 100 != 0) || y % 400 == 0; }

int daysInMonth(int64_t year, int month)
{
    static const int kLen[12] = {31, 28, 31, 30, 31, 30, 31, 31, 30, 31, 30, 31};
    if (month == 2 && isLeapYear(year))
        return 29;
    return kLen[(month - 1) % 12];
}

int64_t daysFromCivil(int64_t y, int m, int d)
{
    y -= m <= 2;
    const int64_t era = floorDiv(y, 400);
    const int64_t yoe = y - era * 400;
    const int64_t doy = (153 * (m + (m > 2 ? -3 : 9)) + 2) / 5 + d - 1;
    const int64_t doe = yoe * 365 + yoe / 4 - yoe / 100 + doy;
    return era * 146097 + doe - 719468 + 25569;
}

void civilFromDays(int64_t days, int& year, int& month, int& day)
{
    int64_t z = days - 25569 + 719468;
    const int64_t era = floorDiv(z, 146097);
    const int64_t doe = z - era * 146097;
    const int64_t yoe = (doe - doe / 1460 + doe / 36524 - doe / 146096) / 365;
    int64_t y = yoe + era * 400;
    const int64_t doy = doe - (365 * yoe + yoe / 4 - yoe / 100);
    const int64_t mp = (5 * doy + 2) / 153;
    day = static_cast<int>(doy - (153 * mp + 2) / 5 + 1);
    month = static_cast<int>(mp < 10 ? mp + 3 : mp - 9);
    year = static_cast<int>(y + (month <= 2));
}

bool isValidDateSerial(double serial)
{
    return std::isfinite(serial) && serial > kMinDateSerial - 1.0 && serial < kMaxDateSerial + 1e-9;
}

double serialToLinear(double serial)
{
    double day = std::trunc(serial);
    return day + std::fabs(serial - day);
}

double linearToSerial(double linear)
{
    double day = std::floor(linear);
    double frac = linear - day;
    return day >= 0 ? day + frac : day - frac;
}

int64_t serialDay(double serial) { return floorDiv(linearSeconds(serial), kSecondsPerDay); }

int serialSecondsOfDay(double serial) { return static_cast<int>(floorMod(linearSeconds(serial), kSecondsPerDay)); }

DateParts splitSerial(double serial)
{
    DateParts p;
    int64_t total = linearSeconds(serial);
    civilFromDays(floorDiv(total, kSecondsPerDay), p.year, p.month, p.day);
    int secs = static_cast<int>(floorMod(total, kSecondsPerDay));
    p.hour = secs / 3600;
    p.minute = secs / 60 % 60;
    p.second = secs % 60;
    return p;
}

int64_t expandTwoDigitYear(int64_t year)
{
    if (year >= 0 && year < 30)
        return year + 2000;
    if (year >= 30 && year < 100)
        return year + 1900;
    return year;
}

std::optional<double> makeSerial(int64_t days, int seconds)
{
    if (days < static_cast<int64_t>(kMinDateSerial) || days > static_cast<int64_t>(kMaxDateSerial))
        return std::nullopt;
    double frac = seconds / double(kSecondsPerDay);
    return days >= 0 ? double(days) + frac : double(days) - frac;
}

std::optional<double> dateSerial(double yearArg, double monthArg, double dayArg)
{
    if (std::fabs(yearArg) > 1e6 || std::fabs(monthArg) > 1e8 || std::fabs(dayArg) > 1e9)
        return std::nullopt;
    int64_t year = expandTwoDigitYear(static_cast<int64_t>(yearArg));
    int64_t m0 = static_cast<int64_t>(monthArg) - 1;
    year += floorDiv(m0, 12);
    int month = static_cast<int>(floorMod(m0, 12)) + 1;
    if (year < 0 || year > 20000)
        return std::nullopt;
    int64_t days = daysFromCivil(year, month, 1) + static_cast<int64_t>(dayArg) - 1;
    return makeSerial(days, 0);
}

std::optional<double> timeSerial(double hour, double minute, double second)
{
    double total = hour * 3600 + minute * 60 + second;
    if (std::fabs(total) > 1e12)
        return std::nullopt;
    return serialFromLinearSeconds(static_cast<int64_t>(total));
}

std::optional<Interval> parseInterval(const std::u16string& text)
{
    std::string s;
    for (char16_t c : text) {
        if (c > 127)
            return std::nullopt;
        s += static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
    }
    if (s == "yyyy") return Interval::Year;
    if (s == "q") return Interval::Quarter;
    if (s == "m") return Interval::Month;
    if (s == "y") return Interval::DayOfYear;
    if (s == "d") return Interval::Day;
    if (s == "w") return Interval::Weekday;
    if (s == "ww") return Interval::Week;
    if (s == "h") return Interval::Hour;
    if (s == "n") return Interval::Minute;
    if (s == "s") return Interval::Second;
    return std::nullopt;
}

std::optional<double> dateAdd(Interval interval, double number, double serial)
{
    if (!std::isfinite(number) || std::fabs(number) > 1e12 || !isValidDateSerial(serial))
        return std::nullopt;
    int64_t n = static_cast<int64_t>(std::nearbyint(number)); // half to even
    int64_t total = linearSeconds(serial);
    int64_t day = floorDiv(total, kSecondsPerDay);
    int secs = static_cast<int>(floorMod(total, kSecondsPerDay));
    switch (interval) {
    case Interval::Year:
    case Interval::Quarter:
    case Interval::Month: {
        int64_t months = interval == Interval::Year ? n * 12 : interval == Interval::Quarter ? n * 3 : n;
        if (std::llabs(months) > 200000)
            return std::nullopt;
        int y, m, d;
        civilFromDays(day, y, m, d);
        int64_t m0 = int64_t(y) * 12 + (m - 1) + months;
        int64_t ny = floorDiv(m0, 12);
        int nm = static_cast<int>(floorMod(m0, 12)) + 1;
        if (ny < 100 || ny > 9999)
            return std::nullopt;
        int nd = std::min(d, daysInMonth(ny, nm));
        return makeSerial(daysFromCivil(ny, nm, nd), secs);
    }
    case Interval::DayOfYear:
    case Interval::Day:
    case Interval::Weekday: return makeSerial(day + n, secs);
    case Interval::Week: return makeSerial(day + 7 * n, secs);
    case Interval::Hour: return serialFromLinearSeconds(total + n * 3600);
    case Interval::Minute: return serialFromLinearSeconds(total + n * 60);
    case Interval::Second: return serialFromLinearSeconds(total + n);
    }
    return std::nullopt;
}

int weekday(double serial, int firstDayOfWeek)
{
    firstDayOfWeek = normaliseFirstDay(firstDayOfWeek);
    return static_cast<int>(floorMod(sundayBasedWeekday(serialDay(serial)) - firstDayOfWeek, 7)) + 1;
}

int weekOfYear(double serial, int firstDayOfWeek, int firstWeekOfYear)
{
    firstDayOfWeek = normaliseFirstDay(firstDayOfWeek);
    int64_t day = serialDay(serial);
    int y, m, d;
    civilFromDays(day, y, m, d);
    int64_t start = firstWeekStart(y, firstDayOfWeek, firstWeekOfYear);
    if (day < start)
        start = firstWeekStart(y - 1, firstDayOfWeek, firstWeekOfYear);
    return static_cast<int>(floorDiv(day - start, 7)) + 1;
}

int64_t dateDiff(Interval interval, double serial1, double serial2, int firstDayOfWeek, int /*firstWeekOfYear*/)
{
    firstDayOfWeek = normaliseFirstDay(firstDayOfWeek);
    int64_t t1 = linearSeconds(serial1), t2 = linearSeconds(serial2);
    int64_t d1 = floorDiv(t1, kSecondsPerDay), d2 = floorDiv(t2, kSecondsPerDay);
    int y1, m1, dd1, y2, m2, dd2;
    civilFromDays(d1, y1, m1, dd1);
    civilFromDays(d2, y2, m2, dd2);
    switch (interval) {
    case Interval::Year: return int64_t(y2) - y1;
    case Interval::Quarter: return (int64_t(y2) * 4 + (m2 - 1) / 3) - (int64_t(y1) * 4 + (m1 - 1) / 3);
    case Interval::Month: return (int64_t(y2) * 12 + m2) - (int64_t(y1) * 12 + m1);
    case Interval::DayOfYear:
    case Interval::Day: return d2 - d1;
    case Interval::Weekday: return (d2 - d1) / 7;
    case Interval::Week: return (weekStart(d2, firstDayOfWeek) - weekStart(d1, firstDayOfWeek)) / 7;
    case Interval::Hour: return floorDiv(t2, 3600) - floorDiv(t1, 3600);
    case Interval::Minute: return floorDiv(t2, 60) - floorDiv(t1, 60);
    case Interval::Second: return t2 - t1;
    }
    return 0;
}

int datePart(Interval interval, double serial, int firstDayOfWeek, int firstWeekOfYear)
{
    DateParts p = splitSerial(serial);
    switch (interval) {
    case Interval::Year: return p.year;
    case Interval::Quarter: return (p.month - 1) / 3 + 1;
    case Interval::Month: return p.month;
    case Interval::DayOfYear:
        return static_cast<int>(daysFromCivil(p.year, p.month, p.day) - daysFromCivil(p.year, 1, 1)) + 1;
    case Interval::Day: return p.day;
    case Interval::Weekday: return weekday(serial, firstDayOfWeek);
    case Interval::Week: return weekOfYear(serial, firstDayOfWeek, firstWeekOfYear);
    case Interval::Hour: return p.hour;
    case Interval::Minute: return p.minute;
    case Interval::Second: return p.second;
    }
    return 0;
}

std::u16string monthName(int month, bool abbreviate)
{
    if (month < 1 || month > 12)
        return {};
    std::string name = kMonths[month - 1];
    return ascii(abbreviate ? name.substr(0, 3) : name);
}

std::u16string weekdayName(int wd, bool abbreviate, int firstDayOfWeek)
{
    if (wd < 1 || wd > 7)
        return {};
    firstDayOfWeek = normaliseFirstDay(firstDayOfWeek);
    std::string name = kDays[(wd - 1 + firstDayOfWeek - 1) % 7];
    return ascii(abbreviate ? name.substr(0, 3) : name);
}

std::u16string formatShortDate(double serial)
{
    DateParts p = splitSerial(serial);
    return number(p.month) + u"/" + number(p.day) + u"/" + number(p.year);
}

std::u16string formatLongDate(double serial)
{
    DateParts p = splitSerial(serial);
    return weekdayName(weekday(serial, 1), false, 1) + u", " + monthName(p.month, false) + u" " + number(p.day) +
           u", " + number(p.year);
}

std::u16string formatLongTime(double serial)
{
    DateParts p = splitSerial(serial);
    int h12 = p.hour % 12 == 0 ? 12 : p.hour % 12;
    return number(h12) + u":" + number(p.minute, 2) + u":" + number(p.second, 2) + (p.hour < 12 ? u" AM" : u" PM");
}

std::u16string formatShortTime(double serial)
{
    DateParts p = splitSerial(serial);
    return number(p.hour, 2) + u":" + number(p.minute, 2);
}

std::u16string formatDate(double serial)
{
    int64_t total = linearSeconds(serial);
    int64_t day = floorDiv(total, kSecondsPerDay);
    int64_t secs = floorMod(total, kSecondsPerDay);
    if (day == 0)
        return formatLongTime(serial);
    if (secs == 0)
        return formatShortDate(serial);
    return formatShortDate(serial) + u" " + formatLongTime(serial);
}

std::optional<std::u16string> formatDateTime(double serial, int namedFormat)
{
    switch (namedFormat) {
    case 0: return formatDate(serial);
    case 1: return formatLongDate(serial);
    case 2: return formatShortDate(serial);
    case 3: return formatLongTime(serial);
    case 4: return formatShortTime(serial);
    default: return std::nullopt;
    }
}

// ---- parsing ---------------------------------------------------------------

namespace {

struct Token {
    enum Kind { Number, Month, Weekday, AmPm, Colon, DateSep } kind;
    int64_t value = 0; // number value, month 1..12, 0 = AM / 1 = PM, 1 = a dot as date separator
    int digits = 0;
};

bool isSpace(char16_t c) { return c == u' ' || c == u'\t' || c == u'\r' || c == u'\n' || c == 0xA0; }

std::optional<std::vector<Token>> tokenize(const std::u16string& text)
{
    std::vector<Token> out;
    size_t i = 0, n = text.size();
    while (i < n) {
        char16_t c = text[i];
        if (isSpace(c) || c == u',') {
            ++i;
        } else if (c >= u'0' && c <= u'9') {
            Token t{Token::Number};
            while (i < n && text[i] >= u'0' && text[i] <= u'9') {
                if (t.digits < 9)
                    t.value = t.value * 10 + (text[i] - u'0');
                ++t.digits;
                ++i;
            }
            if (t.digits > 9)
                return std::nullopt;
            out.push_back(t);
        } else if (c == u':') {
            out.push_back({Token::Colon});
            ++i;
        } else if (c == u'/' || c == u'-' || c == u'.') {
            out.push_back({Token::DateSep, c == u'.' ? 1 : 0});
            ++i;
        } else if ((c >= u'a' && c <= u'z') || (c >= u'A' && c <= u'Z')) {
            std::string w;
            while (i < n && ((text[i] >= u'a' && text[i] <= u'z') || (text[i] >= u'A' && text[i] <= u'Z'))) {
                w += static_cast<char>(std::tolower(static_cast<unsigned char>(text[i])));
                ++i;
            }
            if (w == "am" || w == "a") {
                out.push_back({Token::AmPm, 0});
                continue;
            }
            if (w == "pm" || w == "p") {
                out.push_back({Token::AmPm, 1});
                continue;
            }
            bool found = false;
            for (int m = 0; m < 12 && !found; ++m) {
                std::string full = kMonths[m];
                for (auto& ch : full)
                    ch = static_cast<char>(std::tolower(static_cast<unsigned char>(ch)));
                if (w == full || w == full.substr(0, 3) || (m == 8 && w == "sept")) {
                    out.push_back({Token::Month, m + 1});
                    found = true;
                }
            }
            for (int d = 0; d < 7 && !found; ++d) {
                std::string full = kDays[d];
                for (auto& ch : full)
                    ch = static_cast<char>(std::tolower(static_cast<unsigned char>(ch)));
                if (w == full || w == full.substr(0, 3)) {
                    out.push_back({Token::Weekday, d + 1});
                    found = true;
                }
            }
            if (!found)
                return std::nullopt;
        } else {
            return std::nullopt;
        }
    }
    return out;
}

bool validDay(int64_t y, int64_t m, int64_t d)
{
    return m >= 1 && m <= 12 && d >= 1 && d <= daysInMonth(y, static_cast<int>(m));
}

int64_t yearOf(const Token& t) { return t.digits <= 2 ? expandTwoDigitYear(t.value) : t.value; }

bool looksLikeYear(const Token& t) { return t.digits >= 3 || t.value > 31; }

} // namespace

std::optional<double> parseDate(const std::u16string& text, int currentYear)
{
    auto tokens = tokenize(text);
    if (!tokens || tokens->empty())
        return std::nullopt;
    std::vector<Token>& tk = *tokens;

    // Time part: numbers joined by colons, or a number directly followed by AM/PM.
    std::vector<int64_t> timeNums;
    int ampm = -1;
    std::vector<Token> dateNums;
    int month = 0;
    bool sawTime = false;
    bool dotted = false;
    for (size_t i = 0; i < tk.size(); ++i) {
        const Token& t = tk[i];
        if (t.kind == Token::Number) {
            bool colonNext = i + 1 < tk.size() && tk[i + 1].kind == Token::Colon;
            bool ampmNext = i + 1 < tk.size() && tk[i + 1].kind == Token::AmPm;
            if (colonNext || (ampmNext && !sawTime)) {
                if (sawTime)
                    return std::nullopt;
                sawTime = true;
                timeNums.push_back(t.value);
                size_t j = i + 1;
                while (j + 1 < tk.size() && tk[j].kind == Token::Colon && tk[j + 1].kind == Token::Number) {
                    timeNums.push_back(tk[j + 1].value);
                    j += 2;
                }
                if (j < tk.size() && tk[j].kind == Token::Colon)
                    return std::nullopt;
                // Fractional seconds are accepted and dropped.
                if (timeNums.size() == 3 && j + 1 < tk.size() && tk[j].kind == Token::DateSep &&
                    tk[j + 1].kind == Token::Number)
                    j += 2;
                if (j < tk.size() && tk[j].kind == Token::AmPm) {
                    ampm = static_cast<int>(tk[j].value);
                    ++j;
                }
                i = j - 1;
                continue;
            }
            dateNums.push_back(t);
        } else if (t.kind == Token::Month) {
            if (month)
                return std::nullopt;
            month = static_cast<int>(t.value);
        } else if (t.kind == Token::AmPm) {
            return std::nullopt;
        } else if (t.kind == Token::Colon) {
            return std::nullopt;
        } else if (t.kind == Token::DateSep && t.value == 1) {
            dotted = true;
        }
    }
    if (timeNums.size() > 3)
        return std::nullopt;

    int seconds = 0;
    if (sawTime) {
        int64_t h = timeNums[0], mi = timeNums.size() > 1 ? timeNums[1] : 0, s = timeNums.size() > 2 ? timeNums[2] : 0;
        if (ampm >= 0) {
            if (h > 12)
                return std::nullopt;
            if (h == 12)
                h = 0;
            if (ampm == 1)
                h += 12;
        }
        if (h > 23 || mi > 59 || s > 59)
            return std::nullopt;
        seconds = static_cast<int>(h * 3600 + mi * 60 + s);
    }

    int64_t y = 0, m = 0, d = 0;
    if (dateNums.empty() && !month) {
        if (!sawTime)
            return std::nullopt;
        return seconds / 86400.0;
    }
    if (month) {
        m = month;
        if (dateNums.size() == 1) {
            if (looksLikeYear(dateNums[0])) {
                y = yearOf(dateNums[0]);
                d = 1;
            } else {
                y = currentYear;
                d = dateNums[0].value;
            }
        } else if (dateNums.size() == 2) {
            if (looksLikeYear(dateNums[0]) && !looksLikeYear(dateNums[1])) {
                y = yearOf(dateNums[0]);
                d = dateNums[1].value;
            } else {
                d = dateNums[0].value;
                y = yearOf(dateNums[1]);
            }
        } else {
            return std::nullopt;
        }
    } else if (dateNums.size() == 3) {
        const Token &a = dateNums[0], &b = dateNums[1], &c = dateNums[2];
        if (a.digits >= 3 || a.value > 31) {
            y = yearOf(a);
            m = b.value;
            d = c.value;
        } else {
            y = yearOf(c);
            m = a.value;
            d = b.value;
            // Day first is read only with slashes or dashes: "15/3/2026" is
            // 15 March, "15.03.2026" no date in this locale.
            if (!validDay(y, m, d) && !dotted && validDay(y, d, m))
                std::swap(m, d);
        }
    } else if (dateNums.size() == 2) {
        const Token &a = dateNums[0], &b = dateNums[1];
        if (validDay(currentYear, a.value, b.value) && !looksLikeYear(b)) {
            y = currentYear;
            m = a.value;
            d = b.value;
        } else if (validDay(currentYear, b.value, a.value) && !looksLikeYear(b)) {
            y = currentYear;
            m = b.value;
            d = a.value;
        } else if (a.value >= 1 && a.value <= 12) {
            y = yearOf(b);
            m = a.value;
            d = 1;
        } else {
            return std::nullopt;
        }
    } else {
        return std::nullopt;
    }
    if (y < 100 || y > 9999 || !validDay(y, m, d))
        return std::nullopt;
    return makeSerial(daysFromCivil(y, static_cast<int>(m), static_cast<int>(d)), seconds);
}

} // namespace qm::vbs::rt
