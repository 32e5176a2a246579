#pragma once
// Number <-> text as VBScript converts them in the US-English locale, and VB's roundings.
#include <cstdint>
#include <optional>
#include <string>

namespace qm::vbs::rt {

// CStr of a Double (15 significant digits: "1E+16", "1.5E-07", "0.0001").
std::u16string formatDouble(double value);
// CStr of a Single (7 significant digits).
std::u16string formatSingle(float value);
// CStr of a Currency given in ten-thousandths.
std::u16string formatCurrencyValue(int64_t scaled);
std::u16string formatInteger(int64_t value);

struct ParsedNumber {
    double value = 0;
    bool hexOrOctal = false; // "&H..." / "&O...": value is the unsigned bit pattern
    bool overflow = false;   // well-formed but too large for a Double (or hex beyond 32 bits)
};

// Parses text the way the numeric conversions (CDbl, CLng, IsNumeric...) accept it:
// surrounding blanks, leading or trailing sign, parentheses for negative, "$",
// thousands commas, decimal point, exponent, "&H" hex and "&O" octal.
// A number too large to hold comes back with `overflow` set (conversions raise 6).
std::optional<ParsedNumber> parseNumber(const std::u16string& text);

// Round half to even (CInt, CLng, CByte, Round).
double bankersRound(double value);
// Round(value, digits): half to even at the given number of decimals.
double roundDigits(double value, int digits);

// Hex/Oct of a whole number as a 16-bit (Integer) or 32-bit (Long) pattern.
std::u16string toHex(int64_t value, bool sixteenBit);
std::u16string toOct(int64_t value, bool sixteenBit);

// -2 = use default (US: leading digit yes, parentheses no, grouping yes), -1 = true, 0 = false.
struct NumberStyle {
    int digitsAfterDecimal = -1; // -1 = locale default (2)
    int includeLeadingDigit = -2;
    int useParensForNegative = -2;
    int groupDigits = -2;
};

std::u16string formatNumber(double value, const NumberStyle& style);
std::u16string formatCurrency(double value, const NumberStyle& style);
std::u16string formatPercent(double value, const NumberStyle& style);

} // namespace qm::vbs::rt
