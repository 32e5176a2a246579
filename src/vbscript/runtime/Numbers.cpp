#include "vbscript/runtime/Numbers.h"

#include <cmath>
#include <cstdio>
#include <string>

namespace qm::vbs::rt {

namespace {

std::u16string ascii(const std::string& s) { return std::u16string(s.begin(), s.end()); }

std::u16string formatSignificant(double value, int digits)
{
    if (value == 0)
        return u"0";
    char buf[64];
    std::snprintf(buf, sizeof buf, "%.*G", digits, value);
    return ascii(buf);
}

bool isBlank(char16_t c) { return c == u' ' || c == u'\t' || c == u'\r' || c == u'\n' || c == 0xA0 || c == u'\f' || c == u'\v'; }

int digitValue(char16_t c)
{
    if (c >= u'0' && c <= u'9') return c - u'0';
    if (c >= u'a' && c <= u'f') return c - u'a' + 10;
    if (c >= u'A' && c <= u'F') return c - u'A' + 10;
    return -1;
}

// Decimal digits of |value| rounded half away from zero at `decimals` places,
// from the 15 significant digits VB keeps. Returns integer part and fraction part.
void roundedDecimal(double value, int decimals, std::string& intPart, std::string& fracPart)
{
    value = std::fabs(value);
    char buf[64];
    std::snprintf(buf, sizeof buf, "%.14e", value);
    // buf: d.dddddddddddddde[+-]XX
    std::string mant;
    mant += buf[0];
    mant += std::string(buf + 2, buf + 16);
    int exp10 = std::atoi(buf + 17);
    // digits mant represent 0.mant * 10^(exp10+1)
    int pointPos = exp10 + 1; // number of digits before the decimal point
    std::string digits = mant;
    if (pointPos <= 0) {
        digits = std::string(static_cast<size_t>(-pointPos), '0') + digits;
        pointPos = 0;
    }
    if (static_cast<int>(digits.size()) < pointPos + decimals + 1)
        digits += std::string(static_cast<size_t>(pointPos + decimals + 1 - static_cast<int>(digits.size())), '0');
    bool roundUp = digits[static_cast<size_t>(pointPos + decimals)] >= '5';
    digits.resize(static_cast<size_t>(pointPos + decimals));
    if (roundUp) {
        int i = static_cast<int>(digits.size()) - 1;
        for (; i >= 0; --i) {
            if (digits[static_cast<size_t>(i)] == '9') {
                digits[static_cast<size_t>(i)] = '0';
            } else {
                ++digits[static_cast<size_t>(i)];
                break;
            }
        }
        if (i < 0) {
            digits.insert(digits.begin(), '1');
            ++pointPos;
        }
    }
    intPart = digits.substr(0, static_cast<size_t>(pointPos));
    fracPart = digits.substr(static_cast<size_t>(pointPos));
    size_t nz = intPart.find_first_not_of('0');
    intPart = nz == std::string::npos ? std::string() : intPart.substr(nz);
}

bool flag(int tristate, bool dflt) { return tristate == -2 ? dflt : tristate != 0; }

std::u16string formatGeneric(double value, const NumberStyle& style, const std::string& prefix,
                             const std::string& suffix, bool parensDefault)
{
    int decimals = style.digitsAfterDecimal < 0 ? 2 : style.digitsAfterDecimal;
    if (decimals > 99)
        decimals = 99;
    std::string ip, fp;
    roundedDecimal(value, decimals, ip, fp);
    bool negative = value < 0 && (ip.find_first_not_of('0') != std::string::npos || fp.find_first_not_of('0') != std::string::npos);
    std::string body;
    if (flag(style.groupDigits, true) && ip.size() > 3) {
        for (size_t i = 0; i < ip.size(); ++i) {
            if (i > 0 && (ip.size() - i) % 3 == 0)
                body += ',';
            body += ip[i];
        }
    } else {
        body = ip;
    }
    if (body.empty() && (flag(style.includeLeadingDigit, true) || fp.empty()))
        body.push_back('0');
    if (!fp.empty())
        body += "." + fp;
    body = prefix + body + suffix;
    if (negative)
        body = flag(style.useParensForNegative, parensDefault) ? "(" + body + ")" : "-" + body;
    return ascii(body);
}

} // namespace

std::u16string formatDouble(double value) { return formatSignificant(value, 15); }

std::u16string formatSingle(float value) { return formatSignificant(static_cast<double>(value), 7); }

std::u16string formatInteger(int64_t value) { return ascii(std::to_string(value)); }

std::u16string formatCurrencyValue(int64_t scaled)
{
    bool neg = scaled < 0;
    uint64_t mag = neg ? 0 - static_cast<uint64_t>(scaled) : static_cast<uint64_t>(scaled);
    std::string s = std::to_string(mag / 10000);
    uint64_t frac = mag % 10000;
    if (frac) {
        char buf[8];
        std::snprintf(buf, sizeof buf, "%04u", static_cast<unsigned>(frac));
        std::string f = buf;
        while (!f.empty() && f.back() == '0')
            f.pop_back();
        s += "." + f;
    }
    return ascii((neg ? "-" : "") + s);
}

std::optional<ParsedNumber> parseNumber(const std::u16string& text)
{
    size_t i = 0, n = text.size();
    auto skipBlanks = [&] {
        while (i < n && isBlank(text[i]))
            ++i;
    };
    skipBlanks();
    if (i + 1 < n && text[i] == u'&') {
        int base = 8;
        size_t j = i + 1;
        if (text[j] == u'h' || text[j] == u'H') {
            base = 16;
            ++j;
        } else if (text[j] == u'o' || text[j] == u'O') {
            ++j;
        }
        uint64_t v = 0;
        bool tooLarge = false;
        size_t start = j;
        while (j < n && digitValue(text[j]) >= 0 && digitValue(text[j]) < base) {
            v = v * static_cast<uint64_t>(base) + static_cast<uint64_t>(digitValue(text[j]));
            if (v > 0xFFFFFFFFull) {
                tooLarge = true;
                v = 0xFFFFFFFFull;
            }
            ++j;
        }
        if (j == start)
            return std::nullopt;
        i = j;
        skipBlanks();
        if (i != n)
            return std::nullopt;
        return ParsedNumber{static_cast<double>(v), true, tooLarge};
    }

    bool negative = false, sawSign = false, parens = false, sawCurrency = false;
    if (i < n && text[i] == u'(') {
        parens = true;
        ++i;
        skipBlanks();
    }
    auto takeSign = [&]() -> bool {
        if (i < n && (text[i] == u'+' || text[i] == u'-')) {
            if (sawSign)
                return false;
            sawSign = true;
            negative = text[i] == u'-';
            ++i;
            skipBlanks();
        }
        return true;
    };
    if (!takeSign())
        return std::nullopt;
    if (i < n && text[i] == u'$') {
        sawCurrency = true;
        ++i;
        skipBlanks();
        if (!takeSign())
            return std::nullopt;
    }
    std::string num;
    bool anyDigit = false;
    while (i < n && ((text[i] >= u'0' && text[i] <= u'9') || (text[i] == u',' && anyDigit))) {
        if (text[i] != u',') {
            num += static_cast<char>(text[i]);
            anyDigit = true;
        }
        ++i;
    }
    if (i < n && text[i] == u'.') {
        num += '.';
        ++i;
        while (i < n && text[i] >= u'0' && text[i] <= u'9') {
            num += static_cast<char>(text[i]);
            anyDigit = true;
            ++i;
        }
    }
    if (!anyDigit)
        return std::nullopt;
    if (i < n && (text[i] == u'e' || text[i] == u'E' || text[i] == u'd' || text[i] == u'D')) {
        size_t j = i + 1;
        std::string e = "e";
        if (j < n && (text[j] == u'+' || text[j] == u'-'))
            e += static_cast<char>(text[j++]);
        bool expDigits = false;
        while (j < n && text[j] >= u'0' && text[j] <= u'9') {
            e += static_cast<char>(text[j++]);
            expDigits = true;
        }
        if (!expDigits)
            return std::nullopt;
        num += e;
        i = j;
    }
    skipBlanks();
    if (i < n && !sawCurrency && text[i] == u'$') {
        ++i;
        skipBlanks();
    }
    if (i < n && (text[i] == u'+' || text[i] == u'-')) {
        if (sawSign)
            return std::nullopt;
        negative = text[i] == u'-';
        ++i;
        skipBlanks();
    }
    if (parens) {
        if (i >= n || text[i] != u')' || sawSign)
            return std::nullopt;
        negative = true;
        ++i;
        skipBlanks();
    }
    if (i != n)
        return std::nullopt;
    double v = std::strtod(num.c_str(), nullptr);
    if (!std::isfinite(v))
        return ParsedNumber{negative ? -HUGE_VAL : HUGE_VAL, false, true};
    return ParsedNumber{negative ? -v : v, false};
}

double bankersRound(double value) { return std::nearbyint(value); }

double roundDigits(double value, int digits)
{
    if (digits <= 0)
        return bankersRound(value);
    if (digits > 22 || !std::isfinite(value))
        return value;
    double scale = std::pow(10.0, digits);
    double scaled = value * scale;
    if (!std::isfinite(scaled))
        return value;
    // Work from the 15 significant digits VB keeps, so 2.675 is treated as written.
    char buf[64];
    std::snprintf(buf, sizeof buf, "%.15g", scaled);
    double decimalScaled = std::strtod(buf, nullptr);
    return bankersRound(decimalScaled) / scale;
}

std::u16string toHex(int64_t value, bool sixteenBit)
{
    uint64_t bits = sixteenBit ? static_cast<uint16_t>(value) : static_cast<uint32_t>(value);
    char buf[32];
    std::snprintf(buf, sizeof buf, "%llX", static_cast<unsigned long long>(bits));
    return ascii(buf);
}

std::u16string toOct(int64_t value, bool sixteenBit)
{
    uint64_t bits = sixteenBit ? static_cast<uint16_t>(value) : static_cast<uint32_t>(value);
    char buf[32];
    std::snprintf(buf, sizeof buf, "%llo", static_cast<unsigned long long>(bits));
    return ascii(buf);
}

std::u16string formatNumber(double value, const NumberStyle& style) { return formatGeneric(value, style, "", "", false); }

std::u16string formatCurrency(double value, const NumberStyle& style) { return formatGeneric(value, style, "$", "", true); }

std::u16string formatPercent(double value, const NumberStyle& style)
{
    return formatGeneric(value * 100.0, style, "", "%", false);
}

} // namespace qm::vbs::rt
