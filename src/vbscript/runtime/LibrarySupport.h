#pragma once
// Helpers shared by the built-in function files: argument access with VBScript's
// checks, and the per-area registration functions RuntimeLibrary.cpp calls.
#include <cstdint>
#include <span>
#include <string>

#include "vbscript/Builtins.h"
#include "vbscript/ScriptError.h"
#include "vbscript/Value.h"

namespace qm::vbs::rt {

// True when argument i was given (not left out and not past the end).
inline bool given(std::span<Value> args, size_t i) { return i < args.size() && !args[i].isMissing(); }

// The argument with object default members read (Empty when not given).
Value plainArg(BuiltinContext& ctx, std::span<Value> args, size_t i);

// Conversions of an argument; Null raises 94 ("Invalid use of Null").
std::u16string stringArg(BuiltinContext& ctx, std::span<Value> args, size_t i);
double doubleArg(BuiltinContext& ctx, std::span<Value> args, size_t i);
int32_t longArg(BuiltinContext& ctx, std::span<Value> args, size_t i);
int32_t longArgOr(BuiltinContext& ctx, std::span<Value> args, size_t i, int32_t fallback);
bool boolArgOr(BuiltinContext& ctx, std::span<Value> args, size_t i, bool fallback);
// Compare argument: 0 binary, 1 text (others raise 5).
int compareArg(BuiltinContext& ctx, std::span<Value> args, size_t i);
// Raises 94 when an argument from `from` on is Null (checked before any other argument rule).
void rejectNullArgs(BuiltinContext& ctx, std::span<Value> args, size_t from = 0);

// Number from a string the way the C* conversions read it; raises 13 when it is not a number.
double numberFromString(const std::u16string& text);
// Plain value to a Double for the numeric functions (Empty = 0, Boolean -1/0, strings parsed).
double toNumberValue(const Value& v);
// Plain value to a date serial (dates, numbers in range, date or number text); raises 13.
double toDateSerial(const Value& v);

std::u16string u16(const char* ascii);

// Reads an object's default member until a plain value results (for library
// objects, which keep no engine context). Nothing raises 91.
Value resolveObjectDefault(const Value& v);

// The local date and time as a serial (fraction includes milliseconds).
double nowSerial();

// A one-dimensional Variant array, lower bound 0.
Value makeArray(std::vector<Value> elements);

void registerStringFunctions(BuiltinRegistry& r);
void registerConversionFunctions(BuiltinRegistry& r);
void registerMathFunctions(BuiltinRegistry& r);
void registerDateFunctions(BuiltinRegistry& r);
void registerFormatFunctions(BuiltinRegistry& r);
void registerArrayFunctions(BuiltinRegistry& r);
void registerHostFunctions(BuiltinRegistry& r);
void registerConstants(BuiltinRegistry& r);
void registerLibraryObjects(BuiltinRegistry& r);

} // namespace qm::vbs::rt
