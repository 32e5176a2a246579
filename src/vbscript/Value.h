// The Variant: the one value type of the script engine.
//
// Contract (shared by the engine core and the runtime library):
// - A Value is 16 bytes: a VarType tag and a payload. Strings, arrays and
//   objects live on the heap and are reference counted (single-threaded).
// - Strings are immutable once shared: copying a Value that holds a string is
//   cheap; changing a string means building a new one (Value(std::u16string)).
// - Arrays have value semantics as in the language: assigning an array copies
//   it. The copy is deferred (copy on write): call mutableArray() before
//   changing elements, never change the ArrayData of a shared array.
// - Objects are Dispatch pointers (Dispatch.h). An Object value with a null
//   pointer is Nothing. Holding an object in a Value keeps a reference.
// - The conversion helpers below implement the language's coercions and throw
//   ScriptError (13 type mismatch, 6 overflow, 94 invalid use of Null...) on
//   failure. They never consult a default member: the engine resolves
//   default members of objects before calling them (see Value::isObject()).
#pragma once

#include <cstdint>
#include <cstring>
#include <string>
#include <string_view>
#include <vector>

namespace qm::vbs {

class Dispatch;
struct ArrayData;

// VarType() numbers.
enum class VarType : uint16_t {
  Empty = 0,
  Null = 1,
  Integer = 2,
  Long = 3,
  Single = 4,
  Double = 5,
  Currency = 6,
  Date = 7,
  String = 8,
  Object = 9,
  Error = 10,
  Boolean = 11,
  Variant = 12,
  DataObject = 13,
  Decimal = 14,
  Byte = 17,
  Array = 0x2000,  // VarType() of an array is Array + Variant (8204)
  // Engine-internal: a reference to a variable (ByRef passing). Never reaches
  // builtins or host objects.
  Reference = 0x4000,
};

// What the strings and arrays of one engine's scripts may use: the running
// engine's account is charged for every string and array made while it runs,
// and making one beyond the limit raises "Out of memory" (7).
struct MemoryAccount {
  int refs = 1;      // the engine, and every string and array charged to it
  int64_t live = 0;  // bytes of text and array elements
  int64_t limit = int64_t(512) << 20;
};
// The account charged on this thread (the running engine's); null outside runs.
MemoryAccount* chargedAccount() noexcept;
void setChargedAccount(MemoryAccount* account) noexcept;

// The part of an account one string or array holds.
struct MemoryCharge {
  MemoryAccount* account = nullptr;
  int64_t bytes = 0;
  MemoryCharge() = default;
  MemoryCharge(const MemoryCharge&) = delete;
  MemoryCharge& operator=(const MemoryCharge&) = delete;
  ~MemoryCharge() { if (account) release(); }
  // Charges `newBytes` in all (growth or first charge) to the account of the
  // running engine; throws ScriptError 7 beyond its limit. Nothing outside runs.
  void set(int64_t newBytes);

 private:
  void release() noexcept;
};

// Heap string shared between values.
struct StringData {
  int refs = 1;
  std::u16string text;
  MemoryCharge charge;
};

class Value {
 public:
  Value() noexcept : type_(VarType::Empty) { u_.i64 = 0; }
  Value(const Value& other) noexcept : type_(other.type_), u_(other.u_) {
    if (isHeap()) addRefHeap();
  }
  Value(Value&& other) noexcept : type_(other.type_), u_(other.u_) { other.type_ = VarType::Empty; }
  // The old content is released after the new one is in place, so code that
  // runs on release (Class_Terminate) sees the variable already changed.
  Value& operator=(const Value& other) noexcept {
    if (other.isHeap()) other.addRefHeap();
    VarType oldType = type_;
    Payload old = u_;
    type_ = other.type_;
    u_ = other.u_;
    if (isHeapType(oldType)) releasePayload(oldType, old);
    return *this;
  }
  Value& operator=(Value&& other) noexcept {
    if (this != &other) {
      VarType oldType = type_;
      Payload old = u_;
      type_ = other.type_;
      u_ = other.u_;
      other.type_ = VarType::Empty;
      if (isHeapType(oldType)) releasePayload(oldType, old);
    }
    return *this;
  }
  ~Value() {
    if (isHeap()) releasePayload(type_, u_);
  }

  // Constructors by subtype. Plain C++ types map as: bool -> Boolean,
  // int16_t -> Integer, int32_t -> Long, double -> Double, strings -> String.
  // The payload is written in one piece (the unused bytes zero): a narrow
  // store after a wide one would stall the wide read that copies the value.
  explicit Value(bool b) noexcept : type_(VarType::Boolean) { u_.i64 = b ? 1 : 0; }
  explicit Value(int16_t i) noexcept : type_(VarType::Integer) { u_.i64 = static_cast<uint16_t>(i); }
  explicit Value(int32_t i) noexcept : type_(VarType::Long) { u_.i64 = static_cast<uint32_t>(i); }
  explicit Value(double d) noexcept : type_(VarType::Double) { u_.d = d; }
  explicit Value(std::u16string s);
  explicit Value(std::u16string_view s) : Value(std::u16string(s)) {}
  explicit Value(const char16_t* s) : Value(std::u16string(s)) {}
  // The object (adds a reference); nullptr makes Nothing.
  explicit Value(Dispatch* object) noexcept;

  static Value null() noexcept { Value v; v.type_ = VarType::Null; return v; }
  static Value nothing() noexcept { return Value(static_cast<Dispatch*>(nullptr)); }
  static Value integer(int16_t i) noexcept { return Value(i); }
  static Value longValue(int32_t i) noexcept { return Value(i); }
  static Value single(float f) noexcept {
    Value v;
    v.type_ = VarType::Single;
    uint32_t bits;
    std::memcpy(&bits, &f, sizeof bits);
    v.u_.i64 = bits;
    return v;
  }
  static Value dbl(double d) noexcept { return Value(d); }
  // Currency from its scaled form (value * 10000).
  static Value currencyScaled(int64_t scaled) noexcept { Value v; v.type_ = VarType::Currency; v.u_.i64 = scaled; return v; }
  static Value date(double serial) noexcept { Value v; v.type_ = VarType::Date; v.u_.d = serial; return v; }
  static Value boolean(bool b) noexcept { return Value(b); }
  static Value byte(uint8_t b) noexcept { Value v; v.type_ = VarType::Byte; v.u_.i64 = b; return v; }
  static Value error(int32_t code) noexcept {
    Value v;
    v.type_ = VarType::Error;
    v.u_.i64 = static_cast<uint32_t>(code);
    return v;
  }
  // The "missing optional argument" marker (an Error value with the code COM uses).
  static Value missing() noexcept { return error(static_cast<int32_t>(0x80020004u)); }
  // Takes one reference; charges the running engine for the elements (on
  // error 7 the array is freed).
  static Value array(ArrayData* data);
  // Engine-internal reference to a variable (see VarType::Reference).
  static Value reference(Value* target) noexcept { Value v; v.type_ = VarType::Reference; v.u_.ref = target; return v; }
  bool isReference() const noexcept { return type_ == VarType::Reference; }
  Value* referenceTarget() const noexcept { return u_.ref; }
  // The value itself, or the variable a reference points to.
  const Value& deref() const noexcept { return type_ == VarType::Reference ? *u_.ref : *this; }
  Value& derefMut() noexcept { return type_ == VarType::Reference ? *u_.ref : *this; }
  // A new dynamic array of Variants: one dimension per upper bound, lower bounds 0.
  static Value newArray(const std::vector<int32_t>& upperBounds);

  VarType type() const noexcept { return type_; }
  // VarType() answer (arrays: 8204).
  int varTypeNumber() const noexcept;

  bool isEmpty() const noexcept { return type_ == VarType::Empty; }
  bool isNull() const noexcept { return type_ == VarType::Null; }
  bool isString() const noexcept { return type_ == VarType::String; }
  bool isObject() const noexcept { return type_ == VarType::Object; }  // includes Nothing
  bool isNothing() const noexcept { return type_ == VarType::Object && u_.obj == nullptr; }
  bool isArray() const noexcept { return type_ == VarType::Array; }
  bool isMissing() const noexcept { return type_ == VarType::Error && u_.i32 == static_cast<int32_t>(0x80020004u); }
  // Integer, Long, Single, Double, Currency, Byte (not Boolean, Date or String).
  bool isNumeric() const noexcept;
  bool isHeap() const noexcept {
    return type_ == VarType::String || type_ == VarType::Object || type_ == VarType::Array;
  }

  // Raw accessors: valid only for the matching subtype.
  int16_t asInteger() const noexcept { return u_.i16; }
  int32_t asLong() const noexcept { return u_.i32; }
  float asSingle() const noexcept { return u_.f; }
  double asDouble() const noexcept { return u_.d; }
  int64_t asCurrencyScaled() const noexcept { return u_.i64; }
  double asDate() const noexcept { return u_.d; }
  bool asBool() const noexcept { return u_.b; }
  uint8_t asByte() const noexcept { return u_.u8; }
  int32_t asError() const noexcept { return u_.i32; }
  const std::u16string& asString() const noexcept { return u_.str->text; }
  StringData* stringData() const noexcept { return u_.str; }
  Dispatch* asObject() const noexcept { return u_.obj; }  // nullptr for Nothing
  const ArrayData& asArray() const noexcept { return *u_.arr; }
  ArrayData* arrayData() const noexcept { return u_.arr; }
  // The array for changing: unshares it first (copy on write).
  ArrayData& mutableArray();

  void clear() noexcept {
    VarType oldType = type_;
    Payload old = u_;
    type_ = VarType::Empty;
    u_.i64 = 0;
    if (isHeapType(oldType)) releasePayload(oldType, old);
  }
  void swap(Value& other) noexcept { std::swap(type_, other.type_); std::swap(u_, other.u_); }

 private:
  union Payload;
  static bool isHeapType(VarType t) noexcept {
    return t == VarType::String || t == VarType::Object || t == VarType::Array;
  }
  static void releasePayload(VarType t, Payload p) noexcept;
  static void deleteArray(ArrayData* a) noexcept;
  // Inline, defined after Dispatch (Dispatch.h): copies are the engine's most frequent work.
  void addRefHeap() const noexcept;

  VarType type_;
  union Payload {
    int16_t i16;
    int32_t i32;
    int64_t i64;
    float f;
    double d;
    bool b;
    uint8_t u8;
    StringData* str;
    Dispatch* obj;
    ArrayData* arr;
    Value* ref;
  } u_;
};

// A multi-dimensional array. Elements are stored with the first index varying
// fastest, so ReDim Preserve (which may only change the last dimension) keeps
// the element order.
struct ArrayBound {
  int32_t lower = 0;
  int32_t count = 0;  // upper = lower + count - 1; an empty array has count 0
};

struct ArrayData {
  int refs = 1;
  MemoryCharge charge;
  // Dim a(3) makes a fixed array: ReDim and Erase-to-empty raise error 10.
  bool fixedSize = false;
  // While For Each walks the array or it is passed by reference, resizing raises error 10.
  int locks = 0;
  std::vector<ArrayBound> bounds;
  std::vector<Value> elements;

  int dimensions() const { return static_cast<int>(bounds.size()); }
  int32_t upper(int dim) const { return bounds[dim].lower + bounds[dim].count - 1; }
  // Element index of a subscript list; throws ScriptError 9 when out of range
  // and 9 when the number of subscripts differs from the number of dimensions.
  size_t offsetOf(const int32_t* subscripts, int count) const;
};

// ---- Conversions (the language's coercion rules, US-English locale) ----

// Numeric forms. Strings are parsed as the language does (leading/trailing
// spaces, &H/&O prefixes, exponents); Empty counts as 0; Boolean True is -1.
// Null and non-numeric strings throw 13 (Null throws 94 where the language
// requires it: see toInt32).
double toDouble(const Value& v);
// Rounds half to even, range-checked (6 overflow).
int32_t toInt32(const Value& v);
int16_t toInt16(const Value& v);
uint8_t toByte(const Value& v);
int64_t toCurrencyScaled(const Value& v);
float toSingle(const Value& v);
double toDate(const Value& v);
// Truth value: numbers are true when non-zero, strings "True"/"False" or numeric.
bool toBool(const Value& v);
// The text CStr gives: numbers in shortest round-trip form ("0.1", "1E+20"),
// Boolean "True"/"False", dates "M/D/YYYY h:mm:ss AM", Empty "". Null throws 94.
std::u16string toString(const Value& v);
// Coerces to a numeric Value (keeps Integer/Long/Double/... as they are;
// strings become Double; Empty becomes Integer 0; Boolean stays Boolean).
// Throws 13 for non-numeric strings, objects and arrays.
Value toNumber(const Value& v);

// Text parsing helpers used by the coercions and by IsNumeric/CDbl.
// Parses a whole string as a number as CDbl reads it (blanks, signs,
// parentheses, "$", thousands commas, exponents; "&H"/"&O" text as an
// unsigned bit pattern); false if it is not one or does not fit a Double.
bool parseNumber(std::u16string_view text, double& out);
// Formats doubles/singles as CStr does (15 / 7 significant digits).
std::u16string formatDouble(double d);
std::u16string formatSingle(float f);
std::u16string formatCurrency(int64_t scaled);
// Date serials (days since 30 Dec 1899, fraction = time of day).
std::u16string formatDate(double serial);
// Parses a date/time text (US order). Defined by the runtime library.
bool parseDateText(std::u16string_view text, double& serial);

// Rounds half to even.
double roundHalfEven(double d);

// The language's name for the subtype (TypeName answer for non-objects).
std::u16string typeName(const Value& v);

// UTF-8 <-> UTF-16 helpers for hosts and the runner.
std::string toUtf8(std::u16string_view s);
std::u16string fromUtf8(std::string_view s);
std::u16string fromAscii(std::string_view s);

// Case folding used for names and for text comparison (ASCII, Latin-1 and the
// common European alphabets).
char16_t foldCase(char16_t c) noexcept;
char16_t upperCase(char16_t c) noexcept;
char16_t lowerCase(char16_t c) noexcept;
bool equalsNoCase(std::u16string_view a, std::u16string_view b) noexcept;
// Three-way comparisons: binary (code units) and text (case-insensitive).
int compareBinary(std::u16string_view a, std::u16string_view b) noexcept;
int compareText(std::u16string_view a, std::u16string_view b) noexcept;
std::u16string toLowerCopy(std::u16string_view s);
size_t hashNoCase(std::u16string_view s) noexcept;

}  // namespace qm::vbs

// Value's reference counting needs the whole Dispatch class.
#include "vbscript/Dispatch.h"  // IWYU pragma: export
