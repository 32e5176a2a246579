// Objects scripts can use: host objects, script class instances, library
// objects (Dictionary, RegExp, FileSystemObject...).
//
// Contract:
// - Reference counting is intrusive: a Value holding the object keeps one
//   reference. When the last reference goes, lastReleased() runs (script
//   classes run Class_Terminate there) and the object deletes itself. Objects
//   a host keeps alive itself can call addRef() once at creation.
// - Members are found by name, ignoring case, with findMember(); the id it
//   returns is passed to invoke(). Ids are stable for the object's lifetime;
//   when classKey() is not null, ids are the same for every object with the
//   same key (the engine caches them per call site).
// - DispIdValue (0) is the default member. An object without one throws 438
//   from invoke(DispIdValue, ...), or returns false from hasDefaultMember().
// - invoke() arguments: `args` holds the arguments in source order. Arguments
//   the script passed as plain variables or array elements are written back
//   to those variables after the call, so a method may change args[i] to
//   return a value through a ByRef parameter. Optional arguments the script
//   left out (a(1, , 3)) arrive as Value::missing().
//   For PropertyLet and PropertySet the new value is the last element of
//   `args` (after any index arguments).
// - A member read in an expression (x = obj.Prop, obj.Prop(1)) comes as
//   PropertyGet; a call statement (obj.Method a, b) comes as Method. Members
//   that are both should accept either.
// - Errors are thrown as ScriptError (438 unknown member, 450 wrong number of
//   arguments, ...).
// - newEnum() returns an enumerator for For Each, or nullptr when the object
//   is not a collection (the engine then raises 451).
#pragma once

#include <cstdint>
#include <memory>
#include <span>
#include <string>
#include <string_view>
#include <vector>

#include "vbscript/Value.h"

namespace qm::vbs {

using DispId = int32_t;
constexpr DispId DispIdValue = 0;
constexpr DispId DispIdUnknown = -1;

enum class InvokeKind : uint8_t {
  Method = 1,
  PropertyGet = 2,
  PropertyLet = 4,
  PropertySet = 8,
};

class Enumerator {
 public:
  virtual ~Enumerator() = default;
  // Stores the next element in `out`; false at the end.
  virtual bool next(Value& out) = 0;
};

// Enumerates a fixed list of values, in order (collections that hand out a
// snapshot of their elements for For Each).
class ValueListEnumerator : public Enumerator {
 public:
  explicit ValueListEnumerator(std::vector<Value> items) : items_(std::move(items)) {}
  bool next(Value& out) override;

 private:
  std::vector<Value> items_;
  size_t pos_ = 0;
};

class Dispatch {
 public:
  Dispatch() = default;
  Dispatch(const Dispatch&) = delete;
  Dispatch& operator=(const Dispatch&) = delete;

  void addRef() noexcept { ++refs_; }
  void release() noexcept {
    if (--refs_ == 0) releaseLast();
  }
  int refCount() const noexcept { return refs_; }
  // True for instances of script classes (a cheap test on every member call).
  bool isScriptObject() const noexcept { return scriptObject_; }

  // TypeName() of the object ("Dictionary", "RegExp", a script class's name).
  virtual std::u16string typeName() const = 0;
  // The member's id, or DispIdUnknown. Names are compared ignoring case.
  virtual DispId findMember(std::u16string_view name) = 0;
  // Calls a method or reads/writes a property (see the contract above).
  virtual Value invoke(DispId id, InvokeKind kind, std::span<Value> args) = 0;
  virtual bool hasDefaultMember() const { return true; }
  virtual std::unique_ptr<Enumerator> newEnum() { return nullptr; }
  // Non-null when member ids are shared by every object of the same kind.
  virtual const void* classKey() const { return nullptr; }

 protected:
  virtual ~Dispatch() = default;
  // Runs once when the last reference is released, before deletion. The
  // object may not be used from here on except by this function. Must not throw.
  virtual void lastReleased() noexcept {}
  // Set by the script classes' instances only.
  bool scriptObject_ = false;

 private:
  // The last reference went: runs lastReleased() and deletes the object.
  void releaseLast() noexcept;
  int refs_ = 0;
};

inline void Value::addRefHeap() const noexcept {
  switch (type_) {
    case VarType::String: ++u_.str->refs; break;
    case VarType::Object: if (u_.obj) u_.obj->addRef(); break;
    case VarType::Array: ++u_.arr->refs; break;
    default: break;
  }
}

// A smart pointer for holding objects in C++ code.
template <class T>
class Ref {
 public:
  Ref() = default;
  Ref(T* p) : p_(p) { if (p_) p_->addRef(); }  // NOLINT: implicit on purpose
  Ref(const Ref& o) : p_(o.p_) { if (p_) p_->addRef(); }
  Ref(Ref&& o) noexcept : p_(o.p_) { o.p_ = nullptr; }
  ~Ref() { if (p_) p_->release(); }
  Ref& operator=(Ref o) noexcept { std::swap(p_, o.p_); return *this; }
  T* get() const { return p_; }
  T* operator->() const { return p_; }
  T& operator*() const { return *p_; }
  explicit operator bool() const { return p_ != nullptr; }

 private:
  T* p_ = nullptr;
};

// Helper for host objects with a fixed member table: members are listed once
// (name, id) and matched ignoring case. Subclasses implement invoke().
struct MemberEntry {
  std::u16string_view name;
  DispId id;
};
DispId findInTable(std::span<const MemberEntry> table, std::u16string_view name) noexcept;

// The value of an object's default member (repeated while the result is an
// object); non-objects come back unchanged. Nothing raises 91. For hosts that
// receive objects as arguments and need their plain values.
Value defaultValueOf(const Value& v);

// Argument helpers for invoke() implementations: the argument count check
// throws 450 when args.size() is outside [minArgs, maxArgs].
void checkArgCount(std::span<Value> args, size_t minArgs, size_t maxArgs);
// The argument or `fallback` when it was left out (missing or past the end).
const Value& argOr(std::span<Value> args, size_t index, const Value& fallback);

}  // namespace qm::vbs
