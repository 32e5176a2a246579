// The Variant: copying, arrays with value semantics, conversions and text forms.
#include <gtest/gtest.h>

#include "vbscript/Dispatch.h"
#include "vbscript/ScriptError.h"
#include "vbscript/Value.h"

namespace qm::vbs {
namespace {

int errorNumber(auto&& fn) {
  try {
    fn();
  } catch (const ScriptError& e) {
    return e.number;
  }
  return 0;
}

TEST(ValueCopies, StringsAreSharedUntilReplaced) {
  Value a(std::u16string(u"text"));
  Value b = a;
  EXPECT_EQ(a.stringData(), b.stringData());
  EXPECT_EQ(a.stringData()->refs, 2);
  b = Value(int32_t(3));
  EXPECT_EQ(a.stringData()->refs, 1);
  EXPECT_EQ(a.asString(), u"text");
}

TEST(ValueCopies, ArraysCopyOnWrite) {
  Value a = Value::newArray({2});
  Value b = a;
  b.mutableArray().elements[0] = Value(int32_t(7));
  EXPECT_TRUE(a.asArray().elements[0].isEmpty());
  EXPECT_EQ(b.asArray().elements[0].asLong(), 7);
  EXPECT_EQ(a.varTypeNumber(), 8204);
}

TEST(ValueCopies, SelfAssignmentKeepsTheValue) {
  Value a(std::u16string(u"x"));
  Value& ref = a;
  a = ref;
  EXPECT_EQ(a.asString(), u"x");
  a = std::move(ref);
  EXPECT_EQ(a.asString(), u"x");
}

class Probe : public Dispatch {
 public:
  explicit Probe(int* released) : released_(released) {}
  std::u16string typeName() const override { return u"Probe"; }
  DispId findMember(std::u16string_view) override { return DispIdUnknown; }
  Value invoke(DispId, InvokeKind, std::span<Value>) override { return Value(int32_t(5)); }

 protected:
  void lastReleased() noexcept override { ++*released_; }

 private:
  int* released_;
};

TEST(ValueCopies, ObjectsAreReleasedOnceWhenTheLastValueGoes) {
  int released = 0;
  {
    Value a(static_cast<Dispatch*>(new Probe(&released)));
    Value b = a;
    a.clear();
    EXPECT_EQ(released, 0);
    EXPECT_EQ(toUtf8(typeName(b)), "Probe");
    EXPECT_EQ(defaultValueOf(b).asLong(), 5);
  }
  EXPECT_EQ(released, 1);
}

TEST(Arrays, OffsetsAreColumnMajorAndChecked) {
  Value v = Value::newArray({2, 3});
  const ArrayData& a = v.asArray();
  int32_t s1[2] = {1, 0};
  int32_t s2[2] = {0, 1};
  EXPECT_EQ(a.offsetOf(s1, 2), 1u);
  EXPECT_EQ(a.offsetOf(s2, 2), 3u);
  int32_t bad[2] = {3, 0};
  EXPECT_EQ(errorNumber([&] { a.offsetOf(bad, 2); }), err::SubscriptOutOfRange);
  EXPECT_EQ(errorNumber([&] { a.offsetOf(s1, 1); }), err::SubscriptOutOfRange);
  EXPECT_EQ(errorNumber([] { Value::newArray({100000, 100000}); }), err::OutOfMemory);
  EXPECT_EQ(Value::newArray({-1}).asArray().elements.size(), 0u);
}

TEST(Conversions, NumbersToText) {
  EXPECT_EQ(toString(Value(0.1 + 0.2)), u"0.3");
  EXPECT_EQ(toString(Value(1.0 / 3)), u"0.333333333333333");
  EXPECT_EQ(toString(Value(1e15)), u"1E+15");
  EXPECT_EQ(toString(Value(123456789012345.0)), u"123456789012345");
  EXPECT_EQ(toString(Value(0.0001)), u"0.0001");
  EXPECT_EQ(toString(Value(0.00001)), u"1E-05");
  EXPECT_EQ(toString(Value(-1.5e-7)), u"-1.5E-07");
  EXPECT_EQ(toString(Value::single(1.0f / 3)), u"0.3333333");
  EXPECT_EQ(toString(Value::currencyScaled(12346)), u"1.2346");
  EXPECT_EQ(toString(Value::currencyScaled(-1000000)), u"-100");
  EXPECT_EQ(toString(Value(true)), u"True");
  EXPECT_EQ(toString(Value()), u"");
  EXPECT_EQ(errorNumber([] { toString(Value::null()); }), err::InvalidUseOfNull);
}

TEST(Conversions, DatesToText) {
  EXPECT_EQ(toString(Value::date(36526)), u"1/1/2000");
  EXPECT_EQ(toString(Value::date(1.5)), u"12/31/1899 12:00:00 PM");
  EXPECT_EQ(toString(Value::date(0.25)), u"6:00:00 AM");
  EXPECT_EQ(toString(Value::date(0)), u"12:00:00 AM");
  EXPECT_EQ(toString(Value::date(-1.5)), u"12/29/1899 12:00:00 PM");
}

TEST(Conversions, TextToNumbers) {
  double d = 0;
  EXPECT_TRUE(parseNumber(u"  12.5 ", d));
  EXPECT_EQ(d, 12.5);
  EXPECT_TRUE(parseNumber(u"-1e3", d));
  EXPECT_EQ(d, -1000);
  EXPECT_TRUE(parseNumber(u"&HFF", d));
  EXPECT_EQ(d, 255);
  EXPECT_TRUE(parseNumber(u"&HFFFF", d));
  EXPECT_EQ(d, -1);
  EXPECT_TRUE(parseNumber(u"1,000", d));
  EXPECT_EQ(d, 1000);
  EXPECT_FALSE(parseNumber(u"", d));
  EXPECT_FALSE(parseNumber(u"12abc", d));
  EXPECT_FALSE(parseNumber(u"1e", d));
  EXPECT_FALSE(parseNumber(u".", d));
}

TEST(Conversions, IntegersRoundHalfToEvenAndCheckRange) {
  EXPECT_EQ(toInt32(Value(2.5)), 2);
  EXPECT_EQ(toInt32(Value(3.5)), 4);
  EXPECT_EQ(toInt32(Value(-2.5)), -2);
  EXPECT_EQ(toInt16(Value(std::u16string(u"12"))), 12);
  EXPECT_EQ(toInt32(Value(true)), -1);
  EXPECT_EQ(errorNumber([] { toInt16(Value(32768.0)); }), err::Overflow);
  EXPECT_EQ(errorNumber([] { toInt32(Value(3e9)); }), err::Overflow);
  EXPECT_EQ(errorNumber([] { toByte(Value(-1.0)); }), err::Overflow);
  EXPECT_EQ(errorNumber([] { toInt32(Value(std::u16string(u"x"))); }), err::TypeMismatch);
  EXPECT_EQ(toCurrencyScaled(Value(1.23456)), 12346);
}

TEST(Conversions, TruthValues) {
  EXPECT_TRUE(toBool(Value(std::u16string(u" true "))));
  EXPECT_FALSE(toBool(Value(std::u16string(u"False"))));
  EXPECT_TRUE(toBool(Value(std::u16string(u"-1"))));
  EXPECT_FALSE(toBool(Value()));
  EXPECT_EQ(errorNumber([] { toBool(Value(std::u16string(u"yes"))); }), err::TypeMismatch);
  EXPECT_EQ(errorNumber([] { toBool(Value::null()); }), err::InvalidUseOfNull);
}

TEST(Text, CaseFoldingCoversEuropeanLetters) {
  EXPECT_TRUE(equalsNoCase(u"ÉCOLE", u"école"));
  EXPECT_TRUE(equalsNoCase(u"Straße", u"STRAßE"));
  EXPECT_FALSE(equalsNoCase(u"a", u"ab"));
  EXPECT_EQ(compareText(u"apple", u"BANANA"), -1);
  EXPECT_EQ(compareBinary(u"apple", u"BANANA"), 1);
  EXPECT_EQ(hashNoCase(u"MyVar"), hashNoCase(u"MYVAR"));
  EXPECT_EQ(upperCase(u'ÿ'), u'Ÿ');
}

TEST(Text, Utf8RoundTripsAndReplacesBadBytes) {
  std::u16string s = u"a\u00e9\u20ac\U0001F600";
  EXPECT_EQ(fromUtf8(toUtf8(s)), s);
  EXPECT_EQ(fromUtf8("\xff" "a"), u"\ufffda");
  EXPECT_EQ(fromUtf8("\xe2\x82"), u"\ufffd\ufffd");
}

TEST(ScriptErrors, StandardDescriptions) {
  EXPECT_EQ(standardDescription(13), u"Type mismatch");
  EXPECT_EQ(standardDescription(1025), u"Expected end of statement");
  EXPECT_TRUE(standardDescription(9999).empty());
  ScriptError e(1002, ErrorKind::Syntax);
  EXPECT_EQ(e.source, u"Microsoft VBScript compilation error");
  EXPECT_STREQ(e.what(), "Syntax error");
}

}  // namespace
}  // namespace qm::vbs
