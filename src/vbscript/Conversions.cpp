// The language's coercions between subtypes and the text forms of numbers and dates.
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <limits>

#include "vbscript/Dispatch.h"
#include "vbscript/ScriptError.h"
#include "vbscript/Value.h"
#include "vbscript/runtime/Numbers.h"

namespace qm::vbs {

namespace {

bool isSpace(char16_t c) { return c == ' ' || c == '\t' || c == '\r' || c == '\n' || c == 0xA0; }

// Formats with `digits` significant digits the way CStr shows them.
std::u16string formatSignificant(double d, int digits) {
  if (d == 0) return u"0";
  if (std::isnan(d)) return u"NaN";
  if (std::isinf(d)) return d > 0 ? u"1.#INF" : u"-1.#INF";
  char buf[64];
  std::snprintf(buf, sizeof buf, "%.*E", digits - 1, d);
  // buf: [-]D.DDDDE[+-]XX
  std::string s(buf);
  size_t epos = s.find('E');
  std::string mant = s.substr(0, epos);
  int exp = std::atoi(s.c_str() + epos + 1);
  bool neg = mant[0] == '-';
  if (neg) mant.erase(0, 1);
  std::string digitsOnly;
  for (char c : mant) if (c != '.') digitsOnly += c;
  while (digitsOnly.size() > 1 && digitsOnly.back() == '0') digitsOnly.pop_back();
  std::string out;
  if (exp < -4 || exp >= digits) {
    out = digitsOnly.substr(0, 1);
    if (digitsOnly.size() > 1) out += "." + digitsOnly.substr(1);
    char eb[16];
    std::snprintf(eb, sizeof eb, "E%c%02d", exp < 0 ? '-' : '+', exp < 0 ? -exp : exp);
    out += eb;
  } else if (exp < 0) {
    out = "0." + std::string(static_cast<size_t>(-exp - 1), '0') + digitsOnly;
  } else {
    size_t intLen = static_cast<size_t>(exp) + 1;
    if (digitsOnly.size() <= intLen) {
      out = digitsOnly + std::string(intLen - digitsOnly.size(), '0');
    } else {
      out = digitsOnly.substr(0, intLen) + "." + digitsOnly.substr(intLen);
    }
  }
  if (neg) out.insert(out.begin(), '-');
  return fromAscii(out);
}

[[noreturn]] void mismatch() { raise(err::TypeMismatch); }

double stringToDouble(const std::u16string& s) {
  auto parsed = rt::parseNumber(s);
  if (parsed) {
    if (parsed->overflow) raise(err::Overflow);
    return parsed->value;
  }
  double serial;
  if (parseDateText(s, serial)) return serial;
  mismatch();
}

}  // namespace

double roundHalfEven(double d) {
  double r = std::nearbyint(d);  // default rounding mode: to nearest, ties to even
  return r;
}

bool parseNumber(std::u16string_view text, double& out) {
  // One reading of number text for arithmetic and the conversion functions.
  auto parsed = rt::parseNumber(std::u16string(text));
  if (!parsed || parsed->overflow) return false;
  out = parsed->value;
  return true;
}

std::u16string formatDouble(double d) { return formatSignificant(d, 15); }
std::u16string formatSingle(float f) { return formatSignificant(static_cast<double>(f), 7); }

std::u16string formatCurrency(int64_t scaled) {
  bool neg = scaled < 0;
  uint64_t v = neg ? uint64_t(0) - uint64_t(scaled) : uint64_t(scaled);
  std::string s = std::to_string(v / 10000);
  uint64_t frac = v % 10000;
  if (frac) {
    char b[8];
    std::snprintf(b, sizeof b, "%04u", static_cast<unsigned>(frac));
    std::string f(b);
    while (!f.empty() && f.back() == '0') f.pop_back();
    s += "." + f;
  }
  if (neg) s.insert(s.begin(), '-');
  return fromAscii(s);
}

namespace {
// Days since 30 Dec 1899 -> civil date.
void civilFromSerialDays(int64_t days, int& y, int& m, int& d) {
  int64_t z = days - 25569 + 719468;  // to days since 0000-03-01
  int64_t era = (z >= 0 ? z : z - 146096) / 146097;
  int64_t doe = z - era * 146097;
  int64_t yoe = (doe - doe / 1460 + doe / 36524 - doe / 146096) / 365;
  int64_t yy = yoe + era * 400;
  int64_t doy = doe - (365 * yoe + yoe / 4 - yoe / 100);
  int64_t mp = (5 * doy + 2) / 153;
  d = static_cast<int>(doy - (153 * mp + 2) / 5 + 1);
  m = static_cast<int>(mp < 10 ? mp + 3 : mp - 9);
  y = static_cast<int>(yy + (m <= 2 ? 1 : 0));
}
}  // namespace

std::u16string formatDate(double serial) {
  if (!std::isfinite(serial)) return u"";
  double whole = std::trunc(serial);
  double frac = std::fabs(serial - whole);
  int64_t secs = static_cast<int64_t>(std::llround(frac * 86400.0));
  int64_t days = static_cast<int64_t>(whole);
  if (secs >= 86400) {
    secs -= 86400;
    days += serial < 0 ? -1 : 1;
  }
  char buf[64];
  std::string out;
  bool hasDate = days != 0;
  bool hasTime = secs != 0 || !hasDate;
  if (hasDate) {
    int y, m, d;
    civilFromSerialDays(days, y, m, d);
    std::snprintf(buf, sizeof buf, "%d/%d/%d", m, d, y);
    out = buf;
  }
  if (hasTime && (secs != 0 || !hasDate)) {
    int h = static_cast<int>(secs / 3600), mi = static_cast<int>(secs / 60 % 60), s = static_cast<int>(secs % 60);
    int h12 = h % 12 == 0 ? 12 : h % 12;
    std::snprintf(buf, sizeof buf, "%d:%02d:%02d %s", h12, mi, s, h < 12 ? "AM" : "PM");
    if (!out.empty()) out += ' ';
    out += buf;
  }
  return fromAscii(out);
}

double toDouble(const Value& v) {
  switch (v.type()) {
    case VarType::Empty: return 0;
    case VarType::Null: raise(err::InvalidUseOfNull);
    case VarType::Integer: return v.asInteger();
    case VarType::Long: return v.asLong();
    case VarType::Single: return v.asSingle();
    case VarType::Double: return v.asDouble();
    case VarType::Currency: return static_cast<double>(v.asCurrencyScaled()) / 10000.0;
    case VarType::Date: return v.asDate();
    case VarType::Boolean: return v.asBool() ? -1 : 0;
    case VarType::Byte: return v.asByte();
    case VarType::String: return stringToDouble(v.asString());
    default: mismatch();
  }
}

int32_t toInt32(const Value& v) {
  switch (v.type()) {
    case VarType::Integer: return v.asInteger();
    case VarType::Long: return v.asLong();
    case VarType::Boolean: return v.asBool() ? -1 : 0;
    case VarType::Byte: return v.asByte();
    case VarType::Empty: return 0;
    default: break;
  }
  double d = roundHalfEven(toDouble(v));
  if (!(d >= -2147483648.0 && d <= 2147483647.0)) raise(err::Overflow);
  return static_cast<int32_t>(d);
}

int16_t toInt16(const Value& v) {
  if (v.type() == VarType::Integer) return v.asInteger();
  double d = roundHalfEven(toDouble(v));
  if (!(d >= -32768.0 && d <= 32767.0)) raise(err::Overflow);
  return static_cast<int16_t>(d);
}

uint8_t toByte(const Value& v) {
  if (v.type() == VarType::Byte) return v.asByte();
  if (v.type() == VarType::Boolean) return v.asBool() ? 255 : 0;  // True's bits, as a Byte
  double d = roundHalfEven(toDouble(v));
  if (!(d >= 0 && d <= 255.0)) raise(err::Overflow);
  return static_cast<uint8_t>(d);
}

int64_t toCurrencyScaled(const Value& v) {
  if (v.type() == VarType::Currency) return v.asCurrencyScaled();
  double d = roundHalfEven(toDouble(v) * 10000.0);
  if (!(d >= -9.2233720368547758e18 && d < 9.2233720368547758e18)) raise(err::Overflow);
  return static_cast<int64_t>(d);
}

float toSingle(const Value& v) {
  double d = toDouble(v);
  if (std::isfinite(d) && std::fabs(d) > 3.402823466e38) raise(err::Overflow);
  return static_cast<float>(d);
}

double toDate(const Value& v) {
  if (v.type() == VarType::String) {
    // A number in a string is a date serial ("1" is 12/31/1899), other text a date.
    double d;
    if (parseNumber(v.asString(), d)) {
      if (!(d >= -657434.0 && d < 2958466.0)) raise(err::Overflow);
      return d;
    }
    if (parseDateText(v.asString(), d)) return d;
    mismatch();
  }
  double d = toDouble(v);
  if (!(d >= -657434.0 && d < 2958466.0)) raise(err::Overflow);
  return d;
}

bool toBool(const Value& v) {
  switch (v.type()) {
    case VarType::Boolean: return v.asBool();
    case VarType::Empty: return false;
    case VarType::Null: raise(err::InvalidUseOfNull);
    case VarType::Integer: return v.asInteger() != 0;
    case VarType::Long: return v.asLong() != 0;
    case VarType::Byte: return v.asByte() != 0;
    case VarType::Currency: return v.asCurrencyScaled() != 0;
    case VarType::String: {
      const auto& s = v.asString();
      std::u16string_view t(s);
      while (!t.empty() && isSpace(t.front())) t.remove_prefix(1);
      while (!t.empty() && isSpace(t.back())) t.remove_suffix(1);
      if (equalsNoCase(t, u"true") || equalsNoCase(t, u"#true#")) return true;
      if (equalsNoCase(t, u"false") || equalsNoCase(t, u"#false#")) return false;
      double d;
      if (parseNumber(s, d)) return d != 0;
      mismatch();
    }
    case VarType::Single: case VarType::Double: case VarType::Date:
      return toDouble(v) != 0;
    default: mismatch();
  }
}

std::u16string toString(const Value& v) {
  switch (v.type()) {
    case VarType::Empty: return {};
    case VarType::Null: raise(err::InvalidUseOfNull);
    case VarType::Integer: return fromAscii(std::to_string(v.asInteger()));
    case VarType::Long: return fromAscii(std::to_string(v.asLong()));
    case VarType::Byte: return fromAscii(std::to_string(v.asByte()));
    case VarType::Single: return formatSingle(v.asSingle());
    case VarType::Double: return formatDouble(v.asDouble());
    case VarType::Currency: return formatCurrency(v.asCurrencyScaled());
    case VarType::Date: return formatDate(v.asDate());
    case VarType::Boolean: return v.asBool() ? u"True" : u"False";
    case VarType::String: return v.asString();
    default: mismatch();
  }
}

Value toNumber(const Value& v) {
  switch (v.type()) {
    case VarType::Empty: return Value(int16_t(0));
    case VarType::Integer: case VarType::Long: case VarType::Single: case VarType::Double:
    case VarType::Currency: case VarType::Byte: case VarType::Boolean: case VarType::Date:
    case VarType::Null:
      return v;
    case VarType::String: return Value(stringToDouble(v.asString()));
    default: mismatch();
  }
}

std::u16string typeName(const Value& v) {
  switch (v.type()) {
    case VarType::Empty: return u"Empty";
    case VarType::Null: return u"Null";
    case VarType::Integer: return u"Integer";
    case VarType::Long: return u"Long";
    case VarType::Single: return u"Single";
    case VarType::Double: return u"Double";
    case VarType::Currency: return u"Currency";
    case VarType::Date: return u"Date";
    case VarType::String: return u"String";
    case VarType::Object: return v.asObject() ? v.asObject()->typeName() : u"Nothing";
    case VarType::Error: return u"Error";
    case VarType::Boolean: return u"Boolean";
    case VarType::Byte: return u"Byte";
    case VarType::Decimal: return u"Decimal";
    case VarType::Array: return u"Variant()";
    default: return u"Unknown";
  }
}

}  // namespace qm::vbs
