// Arithmetic, comparison and logical operators with the language's subtype rules.
#include "vbscript/Operators.h"

#include <cmath>

#include "vbscript/ScriptError.h"

namespace qm::vbs {

namespace {

// Numeric kinds ordered by how results widen.
enum Kind { KEmpty = 0, KByte, KInteger, KLong, KSingle, KDouble, KCurrency, KDate };

Kind kindOf(const Value& v, Value& tmp, const Value*& use) {
  use = &v;
  switch (v.type()) {
    case VarType::Empty: return KEmpty;
    case VarType::Boolean: tmp = Value(int16_t(v.asBool() ? -1 : 0)); use = &tmp; return KInteger;
    case VarType::Byte: return KByte;
    case VarType::Integer: return KInteger;
    case VarType::Long: return KLong;
    case VarType::Single: return KSingle;
    case VarType::Double: return KDouble;
    case VarType::Currency: return KCurrency;
    case VarType::Date: return KDate;
    case VarType::String: tmp = Value(toDouble(v)); use = &tmp; return KDouble;
    default: raise(err::TypeMismatch);
  }
}

Kind resultKind(Kind a, Kind b) {
  if (a == KEmpty) return b == KEmpty ? KInteger : b;
  if (b == KEmpty) return a;
  if ((a == KSingle && b == KLong) || (a == KLong && b == KSingle)) return KDouble;
  return a > b ? a : b;
}

double asDouble(const Value& v) { return toDouble(v); }

Value fromInt64(int64_t r, Kind k) {
  if (k == KByte && r >= 0 && r <= 255) return Value::byte(static_cast<uint8_t>(r));
  if (k <= KInteger && r >= -32768 && r <= 32767) return Value(static_cast<int16_t>(r));
  if (r >= INT32_MIN && r <= INT32_MAX) return Value(static_cast<int32_t>(r));
  return Value(static_cast<double>(r));
}

Value checkedDouble(double d) {
  if (!std::isfinite(d)) raise(err::Overflow);
  return Value(d);
}

Value fromFloatKind(double d, Kind k) {
  if (k == KSingle) {
    if (std::isfinite(d) && std::fabs(d) <= 3.402823466e38) return Value::single(static_cast<float>(d));
    return checkedDouble(d);
  }
  if (k == KDate) {
    if (!(d >= -657434.0 && d < 2958466.0)) raise(err::Overflow);
    return Value::date(d);
  }
  return checkedDouble(d);
}

int64_t asInteger64(const Value& v) {
  switch (v.type()) {
    case VarType::Empty: return 0;
    case VarType::Byte: return v.asByte();
    case VarType::Integer: return v.asInteger();
    case VarType::Long: return v.asLong();
    default: return static_cast<int64_t>(toDouble(v));
  }
}

Value currencyResult(__int128 scaled) {
  if (scaled > INT64_MAX || scaled < INT64_MIN) raise(err::Overflow);
  return Value::currencyScaled(static_cast<int64_t>(scaled));
}

enum class Arith { Add, Sub, Mul };

Value arith(Arith op, const Value& a, const Value& b) {
  Value ta, tb;
  const Value *pa, *pb;
  Kind ka = kindOf(a, ta, pa);
  Kind kb = kindOf(b, tb, pb);
  Kind k = resultKind(ka, kb);
  switch (k) {
    case KByte: case KInteger: case KLong: {
      int64_t x = asInteger64(*pa), y = asInteger64(*pb);
      int64_t r = op == Arith::Add ? x + y : op == Arith::Sub ? x - y : x * y;
      return fromInt64(r, k);
    }
    case KCurrency: {
      __int128 x = toCurrencyScaled(*pa), y = toCurrencyScaled(*pb);
      if (op == Arith::Add) return currencyResult(x + y);
      if (op == Arith::Sub) return currencyResult(x - y);
      __int128 p = x * y;
      __int128 q = p / 10000;
      __int128 rem = p % 10000;
      if (rem < 0) rem = -rem;
      if (rem > 5000 || (rem == 5000 && (q & 1))) q += p < 0 ? -1 : 1;
      return currencyResult(q);
    }
    case KDate: {
      double x = asDouble(*pa), y = asDouble(*pb);
      if (op == Arith::Add) return fromFloatKind(x + y, KDate);
      if (op == Arith::Sub) {
        if (ka == KDate && kb == KDate) return checkedDouble(x - y);
        return fromFloatKind(x - y, KDate);
      }
      return checkedDouble(x * y);
    }
    default: {
      double x = asDouble(*pa), y = asDouble(*pb);
      double r = op == Arith::Add ? x + y : op == Arith::Sub ? x - y : x * y;
      return fromFloatKind(r, k);
    }
  }
}

bool isNull(const Value& v) { return v.type() == VarType::Null; }

// Integer operands of \, Mod and the logical operators.
Kind integerKind(const Value& a, const Value& b) {
  auto k = [](const Value& v) {
    switch (v.type()) {
      case VarType::Byte: return KByte;
      case VarType::Empty: return KEmpty;
      case VarType::Integer: case VarType::Boolean: return KInteger;
      default: return KLong;
    }
  };
  Kind ka = k(a), kb = k(b);
  if (ka == KEmpty && kb == KEmpty) return KInteger;
  if (ka == KEmpty) return kb;
  if (kb == KEmpty) return ka;
  return ka > kb ? ka : kb;
}

int32_t toLongForIntOp(const Value& v) {
  if (v.type() == VarType::Boolean) return v.asBool() ? -1 : 0;
  return toInt32(v);
}

}  // namespace

Value opAdd(const Value& a, const Value& b) {
  if (a.type() == VarType::Integer && b.type() == VarType::Integer) {
    int32_t r = int32_t(a.asInteger()) + b.asInteger();
    if (r >= -32768 && r <= 32767) return Value(static_cast<int16_t>(r));
    return Value(r);
  }
  if (isNull(a) || isNull(b)) return Value::null();
  if (a.isString() && (b.isString() || b.isEmpty())) return opConcat(a, b);
  if (b.isString() && a.isEmpty()) return opConcat(a, b);
  return arith(Arith::Add, a, b);
}

Value opSub(const Value& a, const Value& b) {
  if (isNull(a) || isNull(b)) return Value::null();
  return arith(Arith::Sub, a, b);
}

Value opMul(const Value& a, const Value& b) {
  if (isNull(a) || isNull(b)) return Value::null();
  return arith(Arith::Mul, a, b);
}

Value opDiv(const Value& a, const Value& b) {
  if (isNull(a) || isNull(b)) return Value::null();
  Value ta, tb;
  const Value *pa, *pb;
  Kind ka = kindOf(a, ta, pa);
  Kind kb = kindOf(b, tb, pb);
  double x = asDouble(*pa), y = asDouble(*pb);
  if (y == 0) raise(x == 0 ? err::Overflow : err::DivisionByZero);
  double r = x / y;
  bool single = (ka == KSingle || kb == KSingle) && ka != KLong && kb != KLong && ka != KDouble && kb != KDouble &&
                ka != KCurrency && kb != KCurrency && ka != KDate && kb != KDate;
  return fromFloatKind(r, single ? KSingle : KDouble);
}

Value opIntDiv(const Value& a, const Value& b) {
  if (isNull(a) || isNull(b)) return Value::null();
  Kind k = integerKind(a, b);
  int64_t x = toLongForIntOp(a), y = toLongForIntOp(b);
  if (y == 0) raise(err::DivisionByZero);
  return fromInt64(x / y, k);
}

Value opMod(const Value& a, const Value& b) {
  if (isNull(a) || isNull(b)) return Value::null();
  Kind k = integerKind(a, b);
  int64_t x = toLongForIntOp(a), y = toLongForIntOp(b);
  if (y == 0) raise(err::DivisionByZero);
  return fromInt64(x % y, k);
}

Value opPow(const Value& a, const Value& b) {
  if (isNull(a) || isNull(b)) return Value::null();
  double x = toDouble(a), y = toDouble(b);
  if (x == 0 && y < 0) raise(err::InvalidCall);
  if (x < 0 && y != std::floor(y)) raise(err::InvalidCall);
  return checkedDouble(std::pow(x, y));
}

Value opNeg(const Value& a) {
  switch (a.type()) {
    case VarType::Null: return a;
    case VarType::Empty: return Value(int16_t(0));
    case VarType::Boolean: return Value(int16_t(a.asBool() ? 1 : 0));
    case VarType::Byte: return Value(int16_t(-int(a.asByte())));
    case VarType::Integer:
      if (a.asInteger() == -32768) return Value(int32_t(32768));
      return Value(int16_t(-a.asInteger()));
    case VarType::Long:
      if (a.asLong() == INT32_MIN) return Value(2147483648.0);
      return Value(int32_t(-a.asLong()));
    case VarType::Single: return Value::single(-a.asSingle());
    case VarType::Double: return Value(-a.asDouble());
    case VarType::Currency:
      if (a.asCurrencyScaled() == INT64_MIN) raise(err::Overflow);
      return Value::currencyScaled(-a.asCurrencyScaled());
    case VarType::Date: return Value::date(-a.asDate());
    case VarType::String: return Value(-toDouble(a));
    default: raise(err::TypeMismatch);
  }
}

Value opConcat(const Value& a, const Value& b) {
  if (isNull(a) && isNull(b)) return Value::null();
  std::u16string r;
  const std::u16string* sa = a.isString() ? &a.asString() : nullptr;
  const std::u16string* sb = b.isString() ? &b.asString() : nullptr;
  std::u16string ta, tb;
  if (!sa) { if (!isNull(a)) ta = toString(a); sa = &ta; }
  if (!sb) { if (!isNull(b)) tb = toString(b); sb = &tb; }
  if (sa->size() + sb->size() > kMaxStringLength) raise(err::OutOfStringSpace);
  r.reserve(sa->size() + sb->size());
  r += *sa;
  r += *sb;
  return Value(std::move(r));
}

namespace {

// Logical operand: Boolean stays Boolean; numbers become integers.
struct LogicOperand {
  bool isBool = false;
  bool null = false;
  int32_t bits = 0;
};

LogicOperand logicOperand(const Value& v) {
  LogicOperand o;
  switch (v.type()) {
    case VarType::Null: o.null = true; return o;
    case VarType::Boolean: o.isBool = true; o.bits = v.asBool() ? -1 : 0; return o;
    case VarType::String: {
      double d;
      if (parseNumber(v.asString(), d)) { o.bits = toInt32(Value(d)); return o; }
      o.isBool = true;
      o.bits = toBool(v) ? -1 : 0;
      return o;
    }
    default: o.bits = toInt32(v); return o;
  }
}

Value logicResult(int32_t bits, const Value& a, const Value& b, bool bothBool) {
  if (bothBool) return Value(bits != 0);
  // Empty counts as a Long 0: Empty And False, CInt(5) Or Empty are Longs.
  if (a.isEmpty() || b.isEmpty()) return Value(bits);
  Kind k = integerKind(a.type() == VarType::Null ? b : a, b.type() == VarType::Null ? a : b);
  if (k == KByte) return Value::byte(static_cast<uint8_t>(bits));
  if (k <= KInteger) return Value(static_cast<int16_t>(bits));
  return Value(bits);
}

}  // namespace

Value opNot(const Value& a) {
  switch (a.type()) {
    case VarType::Null: return a;
    case VarType::Boolean: return Value(!a.asBool());
    case VarType::Empty: return Value(int32_t(-1));  // a Long, as every logical operator on Empty
    case VarType::Byte: return Value::byte(static_cast<uint8_t>(~a.asByte()));
    case VarType::Integer: return Value(static_cast<int16_t>(~a.asInteger()));
    default: {
      LogicOperand o = logicOperand(a);
      if (o.isBool) return Value(o.bits == 0);
      return Value(~o.bits);
    }
  }
}

Value opAnd(const Value& a, const Value& b) {
  if (a.type() == VarType::Boolean && b.type() == VarType::Boolean) return Value(a.asBool() && b.asBool());
  LogicOperand x = logicOperand(a), y = logicOperand(b);
  if (x.null || y.null) {
    if (x.null && y.null) return Value::null();
    const LogicOperand& other = x.null ? y : x;
    if (other.bits == 0) return other.isBool ? Value(false) : logicResult(0, a, b, false);
    return Value::null();
  }
  return logicResult(x.bits & y.bits, a, b, x.isBool && y.isBool);
}

Value opOr(const Value& a, const Value& b) {
  if (a.type() == VarType::Boolean && b.type() == VarType::Boolean) return Value(a.asBool() || b.asBool());
  LogicOperand x = logicOperand(a), y = logicOperand(b);
  if (x.null || y.null) {
    if (x.null && y.null) return Value::null();
    const LogicOperand& other = x.null ? y : x;
    if (other.bits == -1) return other.isBool ? Value(true) : logicResult(-1, a, b, false);
    return Value::null();
  }
  return logicResult(x.bits | y.bits, a, b, x.isBool && y.isBool);
}

Value opXor(const Value& a, const Value& b) {
  LogicOperand x = logicOperand(a), y = logicOperand(b);
  if (x.null || y.null) return Value::null();
  return logicResult(x.bits ^ y.bits, a, b, x.isBool && y.isBool);
}

Value opEqv(const Value& a, const Value& b) {
  LogicOperand x = logicOperand(a), y = logicOperand(b);
  if (x.null || y.null) return Value::null();
  return logicResult(~(x.bits ^ y.bits), a, b, x.isBool && y.isBool);
}

Value opImp(const Value& a, const Value& b) {
  LogicOperand x = logicOperand(a), y = logicOperand(b);
  if (x.null && y.null) return Value::null();
  if (x.null) {
    if (y.bits == -1) return y.isBool ? Value(true) : logicResult(-1, a, b, false);
    return Value::null();
  }
  if (y.null) {
    if (x.bits == 0) return x.isBool ? Value(true) : logicResult(-1, a, b, false);
    // A Byte keeps its own width: CByte(170) Imp Null is the Byte 85.
    if (a.type() == VarType::Byte) return Value::byte(static_cast<uint8_t>(~x.bits));
    return Value::null();
  }
  return logicResult(~x.bits | y.bits, a, b, x.isBool && y.isBool);
}

int compareValues(const Value& a, const Value& b, bool textCompare, uint8_t literals) {
  VarType ta = a.type(), tb = b.type();
  if (ta == VarType::Null || tb == VarType::Null) return 2;
  // The common cases first: whole numbers, then Doubles.
  bool ia = ta == VarType::Integer || ta == VarType::Long, ib = tb == VarType::Integer || tb == VarType::Long;
  if (ia && ib) {
    int32_t x = ta == VarType::Integer ? a.asInteger() : a.asLong();
    int32_t y = tb == VarType::Integer ? b.asInteger() : b.asLong();
    return x < y ? -1 : (x > y ? 1 : 0);
  }
  if (ta == VarType::Double && tb == VarType::Double)
    return a.asDouble() < b.asDouble() ? -1 : (a.asDouble() > b.asDouble() ? 1 : 0);
  bool sa = ta == VarType::String, sb = tb == VarType::String;
  if (sa || sb) {
    if (sa && sb)
      return textCompare ? compareText(a.asString(), b.asString()) : compareBinary(a.asString(), b.asString());
    if (sa && tb == VarType::Empty) return a.asString().empty() ? 0 : 1;
    if (sb && ta == VarType::Empty) return b.asString().empty() ? 0 : -1;
    if (a.isArray() || b.isArray() || a.isObject() || b.isObject() || ta == VarType::Error || tb == VarType::Error)
      raise(err::TypeMismatch);
    // Against a Boolean the string meets "True" or "False" as text, letter case counting.
    if (ta == VarType::Boolean || tb == VarType::Boolean) {
      std::u16string_view word = (sa ? b : a).asBool() ? u"True" : u"False";
      int c = compareBinary(sa ? std::u16string_view(a.asString()) : word, sa ? word : std::u16string_view(b.asString()));
      return c < 0 ? -1 : (c > 0 ? 1 : 0);
    }
    const std::u16string& text = (sa ? a : b).asString();
    if (literals & (sa ? kRightNumberLiteral : kLeftNumberLiteral)) {
      // Against a number literal the string is read as a number.
      double d;
      if (!parseNumber(text, d)) raise(err::TypeMismatch);
      return sa ? compareValues(Value(d), b) : compareValues(a, Value(d));
    }
    int c = 1;  // a string is greater than any number...
    if (literals & (sa ? kLeftStringLiteral : kRightStringLiteral)) {
      // ...unless the string is a literal: then the number's text meets it.
      int t = compareBinary(text, toString(sa ? b : a));
      c = t < 0 ? -1 : (t > 0 ? 1 : 0);
    }
    return sa ? c : -c;
  }
  if (ta == VarType::Currency && tb == VarType::Currency)
    return a.asCurrencyScaled() < b.asCurrencyScaled() ? -1 : (a.asCurrencyScaled() > b.asCurrencyScaled() ? 1 : 0);
  if ((ta == VarType::Single) != (tb == VarType::Single) && (ta == VarType::Double || tb == VarType::Double)) {
    // A Single against a Double compares at Single precision: CSng(0.1) = 0.1.
    float x = toSingle(a), y = toSingle(b);
    return x < y ? -1 : (x > y ? 1 : 0);
  }
  double x = toDouble(a), y = toDouble(b);
  return x < y ? -1 : (x > y ? 1 : 0);
}

Value opCompare(CompareOp op, const Value& a, const Value& b, uint8_t literals) {
  int c = compareValues(a, b, false, literals);
  if (c == 2) return Value::null();
  switch (op) {
    case CompareOp::Eq: return Value(c == 0);
    case CompareOp::Ne: return Value(c != 0);
    case CompareOp::Lt: return Value(c < 0);
    case CompareOp::Le: return Value(c <= 0);
    case CompareOp::Gt: return Value(c > 0);
    case CompareOp::Ge: return Value(c >= 0);
  }
  return Value(false);
}

bool conditionTrue(const Value& v) {
  if (v.type() == VarType::Boolean) return v.asBool();
  if (v.type() == VarType::Null) return false;
  return toBool(v);
}

}  // namespace qm::vbs
