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

// Comparison: -1, 0, 1, or 2 when either side is Null.
// `textCompare` compares strings ignoring case.
int compareValues(const Value& a, const Value& b, bool textCompare = false);
enum class CompareOp { Eq, Ne, Lt, Le, Gt, Ge };
// Boolean result, or Null.
Value opCompare(CompareOp op, const Value& a, const Value& b);
// Truth of a condition (If/While): Null counts as False.
bool conditionTrue(const Value& v);

}  // namespace qm::vbs
