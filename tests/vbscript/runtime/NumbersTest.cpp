#include "vbscript/runtime/Numbers.h"

#include <gtest/gtest.h>

using namespace qm::vbs::rt;

namespace {
std::string narrow(const std::u16string& s) { return std::string(s.begin(), s.end()); }
std::u16string wide(const char* s)
{
    std::string t(s);
    return std::u16string(t.begin(), t.end());
}
std::string parsed(const char* s)
{
    auto v = parseNumber(wide(s));
    if (!v)
        return "<invalid>";
    return narrow(formatDouble(v->value)) + (v->hexOrOctal ? "h" : "");
}
std::string fmt(double v, int digits = -1, int lead = -2, int parens = -2, int group = -2)
{
    return narrow(formatNumber(v, NumberStyle{digits, lead, parens, group}));
}
} // namespace

TEST(NumberText, DoublesPrintWithFifteenSignificantDigits)
{
    EXPECT_EQ(narrow(formatDouble(1e16)), "1E+16");
    EXPECT_EQ(narrow(formatDouble(1.5e-7)), "1.5E-07");
    EXPECT_EQ(narrow(formatDouble(0.00001)), "1E-05");
    EXPECT_EQ(narrow(formatDouble(0.0001)), "0.0001");
    EXPECT_EQ(narrow(formatDouble(123456789012345.0)), "123456789012345");
    EXPECT_EQ(narrow(formatDouble(1234567890123456.0)), "1.23456789012346E+15");
    EXPECT_EQ(narrow(formatDouble(0.1 + 0.2)), "0.3");
    EXPECT_EQ(narrow(formatDouble(-2.5)), "-2.5");
    EXPECT_EQ(narrow(formatDouble(-0.0)), "0");
    EXPECT_EQ(narrow(formatDouble(1e300)), "1E+300");
    EXPECT_EQ(narrow(formatSingle(0.2240070104599f)), "0.224007");
    EXPECT_EQ(narrow(formatCurrencyValue(-12345678)), "-1234.5678");
    EXPECT_EQ(narrow(formatCurrencyValue(15000)), "1.5");
}

TEST(NumberText, ParsingFollowsTheConversionRules)
{
    EXPECT_EQ(parsed("  42  "), "42");
    EXPECT_EQ(parsed("5-"), "-5");
    EXPECT_EQ(parsed("(5)"), "-5");
    EXPECT_EQ(parsed("$1,000.5"), "1000.5");
    EXPECT_EQ(parsed("-$3"), "-3");
    EXPECT_EQ(parsed("1,2,3"), "123");
    EXPECT_EQ(parsed(".5"), "0.5");
    EXPECT_EQ(parsed("1."), "1");
    EXPECT_EQ(parsed("1e3"), "1000");
    EXPECT_EQ(parsed("1.5E-2"), "0.015");
    EXPECT_EQ(parsed("&HFF"), "255h");
    EXPECT_EQ(parsed("&hFFFF"), "65535h");
    EXPECT_EQ(parsed("&O17"), "15h");
    EXPECT_EQ(parsed("&17"), "15h");
}

TEST(NumberText, ParsingRejectsNonNumbers)
{
    for (const char* bad : {"", " ", ".", "$", "&H", "1e", "--1", "1 2", ",5", "(5", "-(5)", "abc", "1.2.3", "&HG", "+"})
        EXPECT_EQ(parsed(bad), "<invalid>") << bad;
}

TEST(Rounding, BankersRounding)
{
    EXPECT_EQ(bankersRound(2.5), 2);
    EXPECT_EQ(bankersRound(3.5), 4);
    EXPECT_EQ(bankersRound(-2.5), -2);
    EXPECT_EQ(bankersRound(2.51), 3);
    EXPECT_DOUBLE_EQ(roundDigits(1.25, 1), 1.2);
    EXPECT_DOUBLE_EQ(roundDigits(1.35, 1), 1.4);
    EXPECT_DOUBLE_EQ(roundDigits(3.14159, 3), 3.142);
    EXPECT_DOUBLE_EQ(roundDigits(-0.125, 2), -0.12);
}

TEST(Rounding, HexAndOctOfNegativeNumbers)
{
    EXPECT_EQ(narrow(toHex(-1, true)), "FFFF");
    EXPECT_EQ(narrow(toHex(-1, false)), "FFFFFFFF");
    EXPECT_EQ(narrow(toHex(-32769, false)), "FFFF7FFF");
    EXPECT_EQ(narrow(toHex(255, true)), "FF");
    EXPECT_EQ(narrow(toOct(-1, true)), "177777");
    EXPECT_EQ(narrow(toOct(8, false)), "10");
}

TEST(NumberFormatting, FormatNumberOptions)
{
    EXPECT_EQ(fmt(1234.5), "1,234.50");
    EXPECT_EQ(fmt(-1234.5), "-1,234.50");
    EXPECT_EQ(fmt(2.5, 0), "3");      // formatting rounds half away from zero
    EXPECT_EQ(fmt(2.675, 2), "2.68");
    EXPECT_EQ(fmt(0.5, 2, 0), ".50");
    EXPECT_EQ(fmt(-0.5, 1, -1, -1), "(0.5)");
    EXPECT_EQ(fmt(1234567.891, 1, -2, -2, 0), "1234567.9");
    EXPECT_EQ(fmt(999.999, 2), "1,000.00");
    EXPECT_EQ(fmt(0.0001, 2), "0.00");
    EXPECT_EQ(fmt(-0.0001, 2), "0.00");
    EXPECT_EQ(fmt(1e20, 0), "100,000,000,000,000,000,000");
}

TEST(NumberFormatting, CurrencyAndPercent)
{
    EXPECT_EQ(narrow(formatCurrency(-1234.5, {})), "($1,234.50)");
    EXPECT_EQ(narrow(formatCurrency(-1234.5, {-1, -2, 0, -2})), "-$1,234.50");
    EXPECT_EQ(narrow(formatCurrency(1234.5, {0})), "$1,235");
    EXPECT_EQ(narrow(formatPercent(0.125, {})), "12.50%");
    EXPECT_EQ(narrow(formatPercent(-0.5, {0})), "-50%");
}
