// The language's operators on plain values (objects already resolved to
// their default values by the caller). Each throws ScriptError as the
// language does (6 overflow, 11 division by zero, 13 type mismatch).
#pragma once

#include "vbscript/Value.h"

namespace qm::vbs {

// Strings longer than this raise "Out of string space".
constexpr size_t kMaxStringLength = size_t(1) << 26;

Value opAdd(const Value& a, const Value& b);
Value opSub(const Value& a, const Value& b);
Value opMul(const Value& a, const Value& b);
Value opDiv(const Value& a, const Value& b);
Value opIntDiv(const Value& a, const Value& b);
Value opMod(const Value& a, const Value& b);
Value opPow(const Value& a, const Value& b);
Value opNeg(const Value& a);
Value opConcat(const Value& a, const Value& b);
Value opNot(const Value& a);
Value opAnd(const Value& a, const Value& b);
Value opOr(const Value& a, const Value& b);
Value opXor(const Value& a, const Value& b);
Value opEqv(const Value& a, const Value& b);
Value opImp(const Value& a, const Value& b);

// Which operands of a comparison are literals written in it (5, 1e2, &hff,
// #1/15/2024#, "abc"), as flags. A string meets a number by them:
// - against a number literal the string is read as a number ("1e2" = 100;
//   "abc" = 5 and "" = 5 are type mismatches);
// - else against a string literal the number is compared as its text
//   ("5" = CInt(5) is True, "010" = CInt(10) False);
// - else the string is the greater (Len(s) < Space(3)), never an error.
enum CompareLiteral : uint8_t {
  kNoLiteral = 0,
  kLeftNumberLiteral = 1,
  kRightNumberLiteral = 2,
  kLeftStringLiteral = 4,
  kRightStringLiteral = 8,
};

// Comparison: -1, 0, 1, or 2 when either side is Null.
// `textCompare` compares strings ignoring case; `literals` holds CompareLiteral flags.
int compareValues(const Value& a, const Value& b, bool textCompare = false, uint8_t literals = kNoLiteral);
enum class CompareOp { Eq, Ne, Lt, Le, Gt, Ge };
// Boolean result, or Null.
Value opCompare(CompareOp op, const Value& a, const Value& b, uint8_t literals = kNoLiteral);
// Truth of a condition (If/While): Null counts as False.
bool conditionTrue(const Value& v);

}  // namespace qm::vbs
