// Value mechanics: copying, releasing, arrays.
#include "vbscript/Value.h"

#include "vbscript/Dispatch.h"
#include "vbscript/ScriptError.h"

namespace qm::vbs {

Value::Value(std::u16string s) : type_(VarType::String) {
  u_.str = new StringData{1, std::move(s)};
}

Value::Value(Dispatch* object) noexcept : type_(VarType::Object) {
  u_.obj = object;
  if (object) object->addRef();
}

Value Value::array(ArrayData* data) noexcept {
  Value v;
  v.type_ = VarType::Array;
  v.u_.arr = data;
  return v;
}

Value Value::newArray(const std::vector<int32_t>& upperBounds) {
  auto* a = new ArrayData;
  size_t total = 1;
  for (int32_t ub : upperBounds) {
    if (ub < -1) {
      delete a;
      raise(err::SubscriptOutOfRange);
    }
    a->bounds.push_back(ArrayBound{0, ub + 1});
    total *= static_cast<size_t>(ub + 1);
    if (total > (size_t(1) << 24)) {
      delete a;
      raise(err::OutOfMemory);
    }
  }
  a->elements.resize(upperBounds.empty() ? 0 : total);
  return array(a);
}

void Value::addRefHeap() const noexcept {
  switch (type_) {
    case VarType::String: ++u_.str->refs; break;
    case VarType::Object: if (u_.obj) u_.obj->addRef(); break;
    case VarType::Array: ++u_.arr->refs; break;
    default: break;
  }
}

void Value::releasePayload(VarType t, Payload p) noexcept {
  switch (t) {
    case VarType::String:
      if (--p.str->refs == 0) delete p.str;
      break;
    case VarType::Object:
      if (p.obj) p.obj->release();
      break;
    case VarType::Array:
      if (--p.arr->refs == 0) deleteArray(p.arr);
      break;
    default: break;
  }
}

// Arrays nested in arrays are freed one after another, never recursively.
void Value::deleteArray(ArrayData* a) noexcept {
  thread_local std::vector<ArrayData*> pending;
  thread_local bool draining = false;
  pending.push_back(a);
  if (draining) return;
  draining = true;
  while (!pending.empty()) {
    ArrayData* next = pending.back();
    pending.pop_back();
    delete next;
  }
  draining = false;
}

ArrayData& Value::mutableArray() {
  if (u_.arr->refs > 1) {
    auto* copy = new ArrayData;
    copy->bounds = u_.arr->bounds;
    copy->elements = u_.arr->elements;
    copy->fixedSize = u_.arr->fixedSize;
    --u_.arr->refs;
    u_.arr = copy;
  }
  return *u_.arr;
}

int Value::varTypeNumber() const noexcept {
  if (type_ == VarType::Array) return 0x2000 + 12;
  return static_cast<int>(type_);
}

bool Value::isNumeric() const noexcept {
  switch (type_) {
    case VarType::Integer: case VarType::Long: case VarType::Single: case VarType::Double:
    case VarType::Currency: case VarType::Byte: case VarType::Decimal:
      return true;
    default:
      return false;
  }
}

size_t ArrayData::offsetOf(const int32_t* subscripts, int count) const {
  if (count != dimensions()) raise(err::SubscriptOutOfRange);
  size_t offset = 0;
  size_t stride = 1;
  for (int d = 0; d < count; ++d) {
    int64_t i = int64_t(subscripts[d]) - bounds[d].lower;
    if (i < 0 || i >= bounds[d].count) raise(err::SubscriptOutOfRange);
    offset += static_cast<size_t>(i) * stride;
    stride *= static_cast<size_t>(bounds[d].count);
  }
  return offset;
}

}  // namespace qm::vbs
