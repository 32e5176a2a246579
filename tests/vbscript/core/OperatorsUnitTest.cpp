// Operator functions on plain values.
#include <gtest/gtest.h>

#include "vbscript/Operators.h"
#include "vbscript/ScriptError.h"

namespace qm::vbs {
namespace {

Value i16(int v) { return Value(static_cast<int16_t>(v)); }
Value i32(int v) { return Value(static_cast<int32_t>(v)); }
Value str(const char16_t* s) { return Value(std::u16string(s)); }

TEST(OperatorFunctions, ResultSubtypes) {
  EXPECT_EQ(opAdd(i16(32767), i16(1)).type(), VarType::Long);
  EXPECT_EQ(opAdd(i32(2147483647), i32(1)).type(), VarType::Double);
  EXPECT_EQ(opMul(Value::byte(16), Value::byte(16)).type(), VarType::Integer);
  EXPECT_EQ(opMul(Value::byte(15), Value::byte(17)).type(), VarType::Byte);
  EXPECT_EQ(opSub(Value::date(10), Value::date(4)).type(), VarType::Double);
  EXPECT_EQ(opAdd(Value::date(10), i16(1)).type(), VarType::Date);
  EXPECT_EQ(opMul(Value::currencyScaled(15000), Value::currencyScaled(20000)).asCurrencyScaled(), 30000);
  EXPECT_EQ(opDiv(Value::single(1), Value::single(4)).type(), VarType::Single);
  EXPECT_EQ(opIntDiv(i32(7), i16(2)).type(), VarType::Long);
  EXPECT_EQ(opNeg(i16(-32768)).type(), VarType::Long);
  EXPECT_EQ(opAdd(str(u"1"), str(u"2")).asString(), u"12");
  EXPECT_EQ(opAdd(Value(), str(u"x")).asString(), u"x");
}

TEST(OperatorFunctions, CurrencyMultiplicationRoundsHalfToEven) {
  // 0.0001 * 0.5 = 0.00005 -> rounds to even 0.0000; 0.0003 * 0.5 -> 0.0002.
  EXPECT_EQ(opMul(Value::currencyScaled(1), Value::currencyScaled(5000)).asCurrencyScaled(), 0);
  EXPECT_EQ(opMul(Value::currencyScaled(3), Value::currencyScaled(5000)).asCurrencyScaled(), 2);
}

TEST(OperatorFunctions, ComparisonRules) {
  EXPECT_EQ(compareValues(i16(1), Value(1.0)), 0);
  // A string against a number literal is read as a number.
  EXPECT_EQ(compareValues(str(u"7"), i16(5), false, kRightNumberLiteral), 1);
  EXPECT_EQ(compareValues(i16(5), str(u" 7 "), false, kLeftNumberLiteral), -1);
  EXPECT_THROW(compareValues(str(u"a"), i16(5), false, kRightNumberLiteral), ScriptError);
  // A string literal against another number compares with the number's text.
  EXPECT_EQ(compareValues(str(u"10"), i16(5), false, kLeftStringLiteral), -1);
  EXPECT_EQ(compareValues(i16(5), str(u"5"), false, kRightStringLiteral), 0);
  // Neither a literal: the string is the greater.
  EXPECT_EQ(compareValues(str(u"3"), i16(5)), 1);
  EXPECT_EQ(compareValues(i16(5), str(u"a")), -1);
  EXPECT_EQ(compareValues(Value(), str(u"")), 0);
  EXPECT_EQ(compareValues(Value::null(), i16(1)), 2);
  EXPECT_EQ(compareValues(str(u"ABC"), str(u"abc"), true), 0);
  EXPECT_EQ(compareValues(str(u"ABC"), str(u"abc"), false), -1);
  EXPECT_TRUE(opCompare(CompareOp::Le, i16(1), i16(1)).asBool());
  EXPECT_TRUE(opCompare(CompareOp::Eq, Value::null(), i16(1)).isNull());
}

TEST(OperatorFunctions, ConcatenationLimit) {
  Value big(std::u16string(kMaxStringLength / 2 + 1, u'x'));
  try {
    opConcat(big, big);
    FAIL();
  } catch (const ScriptError& e) {
    EXPECT_EQ(e.number, err::OutOfStringSpace);
  }
}

TEST(OperatorFunctions, PowerEdgeCases) {
  EXPECT_EQ(opPow(i16(2), i16(10)).asDouble(), 1024);
  EXPECT_EQ(opPow(i16(-2), i16(3)).asDouble(), -8);
  EXPECT_THROW(opPow(i16(-8), Value(1.0 / 3)), ScriptError);
  EXPECT_THROW(opPow(i16(0), i16(-1)), ScriptError);
  EXPECT_TRUE(opPow(Value::null(), i16(2)).isNull());
  EXPECT_FALSE(conditionTrue(Value::null()));
  EXPECT_TRUE(conditionTrue(str(u"True")));
}

}  // namespace
}  // namespace qm::vbs
