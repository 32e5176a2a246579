// Reference counting and member-table helpers for script objects.
#include "vbscript/Dispatch.h"

#include <vector>

#include "vbscript/ScriptError.h"

namespace qm::vbs {

bool ValueListEnumerator::next(Value& out) {
  if (pos_ >= items_.size()) return false;
  out = items_[pos_++];
  return true;
}

void Dispatch::releaseLast() noexcept {
  // Objects freed while another is being freed (a long chain of objects
  // holding each other) wait in a queue, so freeing never recurses deeply.
  thread_local std::vector<Dispatch*> pending;
  thread_local bool draining = false;
  pending.push_back(this);
  if (draining) return;
  draining = true;
  while (!pending.empty()) {
    Dispatch* d = pending.back();
    pending.pop_back();
    // Keep the object alive while its termination code runs (it may take and
    // drop references to itself).
    d->refs_ = 1;
    d->lastReleased();
    if (--d->refs_ <= 0) delete d;
  }
  draining = false;
}

DispId findInTable(std::span<const MemberEntry> table, std::u16string_view name) noexcept {
  for (const auto& e : table) {
    if (equalsNoCase(e.name, name)) return e.id;
  }
  return DispIdUnknown;
}

Value defaultValueOf(const Value& v) {
  Value cur = v;
  for (int guard = 0; cur.isObject(); ++guard) {
    Dispatch* d = cur.asObject();
    if (!d) raise(err::ObjectNotSet);
    if (guard > 16) raise(err::NoSuchMember);
    Value keep = cur;
    cur = d->invoke(DispIdValue, InvokeKind::PropertyGet, {});
  }
  return cur;
}

void checkArgCount(std::span<Value> args, size_t minArgs, size_t maxArgs) {
  if (args.size() < minArgs || args.size() > maxArgs) raise(err::WrongArgCount);
}

const Value& argOr(std::span<Value> args, size_t index, const Value& fallback) {
  if (index >= args.size() || args[index].isMissing()) return fallback;
  return args[index];
}

}  // namespace qm::vbs
