#include "startup/VbNumbers.h"

#include <charconv>
#include <cstring>
#include <cmath>
#include <limits>

#include "platform/VbError.h"

namespace qm::startup {
namespace {

std::optional<double> parsePrefixed(const char* p, const char* end, int base) {
  if (p == end) return std::nullopt;
  uint64_t value = 0;
  for (; p < end; ++p) {
    int digit;
    const char c = *p;
    if (c >= '0' && c <= '9') digit = c - '0';
    else if (c >= 'a' && c <= 'f') digit = c - 'a' + 10;
    else if (c >= 'A' && c <= 'F') digit = c - 'A' + 10;
    else if (c == '&' && p + 1 == end) break;  // type suffix "&" (Long)
    else return std::nullopt;
    if (digit >= base) return std::nullopt;
    value = value * base + digit;
    if (value > 0xFFFFFFFFull) return std::nullopt;
  }
  // Up to four hex digits is an Integer, so &HFFFF is -1; more is a Long.
  if (value <= 0xFFFF && base == 16 && value >= 0x8000) return static_cast<double>(static_cast<int16_t>(value));
  if (value >= 0x80000000ull) return static_cast<double>(static_cast<int32_t>(static_cast<uint32_t>(value)));
  return static_cast<double>(value);
}

}  // namespace

std::optional<double> parseVbNumber(const char* text, long length) {
  const char* p = text;
  const char* end = text + length;
  if (p == end) return std::nullopt;
  if (*p == '&' && end - p > 2) {
    const char k = p[1];
    if (k == 'H' || k == 'h') return parsePrefixed(p + 2, end, 16);
    if (k == 'O' || k == 'o') return parsePrefixed(p + 2, end, 8);
    return std::nullopt;
  }
  // Copy into a small buffer in the form from_chars wants: no '+' sign, 'E'
  // for the exponent. Also checks the shape: [sign] digits [. digits] [E [sign] digits].
  char buf[64];
  int n = 0;
  bool negative = false;
  if (*p == '+' || *p == '-') {
    negative = *p == '-';
    ++p;
  }
  bool digits = false;
  auto put = [&](char c) {
    if (n >= static_cast<int>(sizeof buf) - 1) return false;
    buf[n++] = c;
    return true;
  };
  while (p < end && *p >= '0' && *p <= '9') {
    if (!(n == 0 && *p == '0' && p + 1 < end && p[1] >= '0' && p[1] <= '9')) {  // drop leading zeros
      if (!put(*p)) return std::nullopt;
    }
    digits = true;
    ++p;
  }
  if (p < end && *p == '.') {
    if (!put('.')) return std::nullopt;
    ++p;
    while (p < end && *p >= '0' && *p <= '9') {
      if (!put(*p)) return std::nullopt;
      digits = true;
      ++p;
    }
  }
  if (!digits) return std::nullopt;
  if (p < end && (*p == 'E' || *p == 'e' || *p == 'D' || *p == 'd')) {
    ++p;
    if (!put('e')) return std::nullopt;
    if (p < end && (*p == '+' || *p == '-')) {
      if (*p == '-' && !put('-')) return std::nullopt;
      ++p;
    }
    bool expDigits = false;
    while (p < end && *p >= '0' && *p <= '9') {
      if (!put(*p)) return std::nullopt;
      expDigits = true;
      ++p;
    }
    if (!expDigits) return std::nullopt;
  }
  // Type suffixes VB may leave on a number: % & ! # @
  if (p < end && (*p == '%' || *p == '&' || *p == '!' || *p == '#' || *p == '@') && p + 1 == end) ++p;
  if (p != end) return std::nullopt;
  double value = 0;
  const auto result = std::from_chars(buf, buf + n, value);
  if (result.ec == std::errc::result_out_of_range) {
    // Tiny values become 0; huge ones overflow.
    bool big = false;
    for (int i = 0; i < n && buf[i] != 'e'; ++i) {
      if (buf[i] >= '1' && buf[i] <= '9') big = true;
    }
    const char* e = static_cast<const char*>(memchr(buf, 'e', n));
    if (e && e[1] == '-') big = false;
    if (big) throw VbError::overflow();
    return negative ? -0.0 : 0.0;
  }
  if (result.ec != std::errc() || result.ptr != buf + n) return std::nullopt;
  return negative ? -value : value;
}

int16_t roundToInt16(double value) {
  const double r = std::nearbyint(value);
  if (!(r >= -32768.0 && r <= 32767.0)) throw VbError::overflow();
  return static_cast<int16_t>(r);
}

int32_t roundToInt32(double value) {
  const double r = std::nearbyint(value);
  if (!(r >= -2147483648.0 && r <= 2147483647.0)) throw VbError::overflow();
  return static_cast<int32_t>(r);
}

}  // namespace qm::startup
