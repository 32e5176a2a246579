#include "script/Scrambling.h"

#include <array>

#include "platform/VbError.h"

namespace qm::script {

namespace {

constexpr char kKey[] = "qmvhzratlopwexnbcskuy";
constexpr int kKeyLength = 21;

const std::array<int, kKeyLength>& keyTable() {
  static const std::array<int, kKeyLength> table = [] {
    std::array<int, kKeyLength> t{};
    for (int j = 0; j < kKeyLength; ++j) t[j] = static_cast<unsigned char>(kKey[j]) - 32;
    return t;
  }();
  return table;
}

int32_t checkedAdd(int32_t a, int32_t b) {
  int32_t r;
  if (__builtin_add_overflow(a, b, &r)) throw VbError::overflow();
  return r;
}

int32_t checkedSub(int32_t a, int32_t b) {
  int32_t r;
  if (__builtin_sub_overflow(a, b, &r)) throw VbError::overflow();
  return r;
}

int32_t checkedMul(int32_t a, int32_t b) {
  int32_t r;
  if (__builtin_mul_overflow(a, b, &r)) throw VbError::overflow();
  return r;
}

// The remainder of a truncating division, made non-negative.
int32_t positiveMod(int32_t value, int32_t modulus) {
  int32_t r = value % modulus;
  return r < 0 ? r + modulus : r;
}

// The common walk of both transforms: the first character supplies b, the rest is
// read from the last character back to the second.
template <typename Transform>
QByteArray unscramble(const QByteArray& s, int firstOffset, Transform transform) {
  QByteArray out;
  const int n = static_cast<int>(s.size());
  if (n == 0) return out;
  const int16_t b = static_cast<int16_t>(static_cast<unsigned char>(s[0]) - firstOffset);
  out.reserve(n - 1);
  for (int i = 0; i <= n - 2; ++i) {
    const int c = static_cast<unsigned char>(s[n - 1 - i]);
    const int32_t step = checkedMul(checkedAdd(i, b), keyTable()[i % kKeyLength]);
    out.append(static_cast<char>(transform(c, step)));
  }
  return out;
}

}  // namespace

int KeyTableEntry(int index) { return keyTable().at(index); }

int SwapBlankAndQuote(int code) {
  if (code == 32) return 34;
  if (code == 34) return 32;
  return code;
}

QByteArray UnscrambleProcedureLine(const QByteArray& scrambled, int32_t keyNumber) {
  return unscramble(scrambled, 32, [keyNumber](int c, int32_t step) {
    if (c < 32 || c > 126) return c;
    const int32_t t = checkedAdd(keyNumber, step);
    return static_cast<int>(positiveMod(checkedSub(c - 32, t), 94)) + 32;
  });
}

QByteArray UnscramblePluginCode(const QByteArray& scrambled, int32_t keyNumber) {
  return unscramble(scrambled, 35, [keyNumber](int c, int32_t step) {
    c = SwapBlankAndQuote(c);
    if (c > 32 && c <= 126) {
      const int32_t t = checkedAdd(keyNumber, step);
      c = static_cast<int>(positiveMod(checkedSub(c - 33, t), 93)) + 33;
    }
    return SwapBlankAndQuote(c);
  });
}

int32_t ProjectKeyNumber(const QByteArray& text) {
  int32_t sum = 0;
  for (char ch : text) {
    int32_t next;
    if (!__builtin_add_overflow(sum, static_cast<int32_t>(static_cast<unsigned char>(ch)), &next)) sum = next;
  }
  return sum;
}

}  // namespace qm::script
