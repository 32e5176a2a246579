// Value mechanics: copying, releasing, arrays.
#include "vbscript/Value.h"

#include "vbscript/Dispatch.h"
#include "vbscript/ScriptError.h"

namespace qm::vbs {

namespace {
thread_local MemoryAccount* tAccount = nullptr;
}  // namespace

MemoryAccount* chargedAccount() noexcept { return tAccount; }
void setChargedAccount(MemoryAccount* account) noexcept { tAccount = account; }

void MemoryCharge::set(int64_t newBytes) {
  if (!account) {
    if (!tAccount) return;
    account = tAccount;
    ++account->refs;
  }
  int64_t more = newBytes - bytes;
  if (more > 0 && account->live + more > account->limit) raise(err::OutOfMemory);
  account->live += more;
  bytes = newBytes;
}

void MemoryCharge::release() noexcept {
  account->live -= bytes;
  if (--account->refs == 0) delete account;
  account = nullptr;
}

Value::Value(std::u16string s) : type_(VarType::String) {
  auto* d = new StringData{1, std::move(s), {}};
  if (tAccount) {
    try {
      d->charge.set(static_cast<int64_t>(d->text.capacity()) * 2);
    } catch (...) {
      delete d;
      throw;
    }
  }
  u_.str = d;
}

Value::Value(Dispatch* object) noexcept : type_(VarType::Object) {
  u_.obj = object;
  if (object) object->addRef();
}

Value Value::array(ArrayData* data) {
  Value v;
  v.type_ = VarType::Array;
  v.u_.arr = data;
  if (tAccount) data->charge.set(static_cast<int64_t>(data->elements.capacity() * sizeof(Value)));
  return v;
}

Value Value::newArray(const std::vector<int32_t>& upperBounds) {
  // Sizes in 64 bits: ReDim a(2147483647) is out of memory, not an overflow.
  int64_t total = 1;
  std::vector<ArrayBound> bounds;
  for (int32_t ub : upperBounds) {
    if (ub < -1) raise(err::SubscriptOutOfRange);
    int64_t count = int64_t(ub) + 1;
    if (count > INT32_MAX) raise(err::OutOfMemory);
    bounds.push_back(ArrayBound{0, static_cast<int32_t>(count)});
    total *= count;
    if (total > (int64_t(1) << 24)) raise(err::OutOfMemory);
  }
  // Asked before the elements exist, so a huge array never reaches the allocator.
  if (MemoryAccount* account = tAccount;
      account && account->live + total * int64_t(sizeof(Value)) > account->limit)
    raise(err::OutOfMemory);
  auto* a = new ArrayData;
  a->bounds = std::move(bounds);
  a->elements.resize(upperBounds.empty() ? 0 : static_cast<size_t>(total));
  return array(a);
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
    try {
      if (tAccount) copy->charge.set(static_cast<int64_t>(copy->elements.capacity() * sizeof(Value)));
    } catch (...) {
      delete copy;
      throw;
    }
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
