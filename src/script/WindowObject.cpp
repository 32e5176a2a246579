#include "script/WindowObject.h"

#include "engine/Game.h"

namespace qm::script {

namespace vb = qm::vbs;

namespace {
enum : vb::DispId { kWinControls = 500, kWinCount, kWinFirstControl = 100000 };
constexpr vb::MemberEntry kWindowMembers[] = {{u"Controls", kWinControls}, {u"Count", kWinCount}};
}  // namespace

WindowObject::WindowObject(engine::Game& game, NamedObjects controls)
    : ControlObject(&game, &game.windowProperties()),
      game_(game),
      controls_(std::make_shared<NamedObjects>(std::move(controls))) {}

bool WindowObject::hasControlNamed(const QString& name) const {
  for (const auto& control : *controls_)
    if (control.first.compare(name, Qt::CaseInsensitive) == 0) return true;
  return false;
}

vb::DispId WindowObject::findMember(std::u16string_view name) {
  const vb::DispId own = vb::findInTable(kWindowMembers, name);
  if (own != vb::DispIdUnknown) return own;
  const vb::DispId inherited = ControlObject::findMember(name);
  if (inherited != vb::DispIdUnknown) return inherited;
  const QString q = toQ(name);
  for (size_t i = 0; i < controls_->size(); ++i)
    if ((*controls_)[i].first.compare(q, Qt::CaseInsensitive) == 0) return kWinFirstControl + static_cast<vb::DispId>(i);
  return vb::DispIdUnknown;
}

bool WindowObject::hasFixedMember(vb::DispId id) const {
  return id == imageMember() || ControlObject::hasFixedMember(id);
}

// The window as it shows now, menu bar, picture and surround included.
QImage WindowObject::paintedImage() const { return game_.grab().toImage(); }

vb::Value WindowObject::call(vb::DispId id, vb::InvokeKind kind, std::span<vb::Value> args) {
  const bool write = kind == vb::InvokeKind::PropertyLet || kind == vb::InvokeKind::PropertySet;
  if (id >= kWinFirstControl && id < kWinFirstControl + static_cast<vb::DispId>(controls_->size())) {
    vb::Value object = (*controls_)[static_cast<size_t>(id - kWinFirstControl)].second();
    if (args.empty() && !write) return object;
    // Area(3) and Area(3) = x go to the control array's default member.
    vb::Dispatch* d = object.asObject();
    if (!d) vb::raise(vb::err::ObjectNotSet);
    return d->invoke(vb::DispIdValue, write ? kind : vb::InvokeKind::PropertyGet, args);
  }
  switch (id) {
    case kWinControls:
    case kWinCount: {
      if (write) raiseText(383, QStringLiteral("Property is read-only"));
      vb::Ref<ControlsCollection> all(new ControlsCollection(controls_));
      if (id == kWinCount) {
        vb::checkArgCount(args, 0, 0);
        return vb::Value(static_cast<int32_t>(all->all().size()));
      }
      // Controls(3) is Controls.Item(3).
      if (!args.empty()) return all->invoke(vb::DispIdValue, vb::InvokeKind::PropertyGet, args);
      return vb::Value(all.get());
    }
    default: return ControlObject::call(id, kind, args);
  }
}

// ---- Controls ---------------------------------------------------------------------

namespace {
enum : vb::DispId { kColItem = vb::DispIdValue, kColCount = 1 };
constexpr vb::MemberEntry kCollectionMembers[] = {{u"Item", kColItem}, {u"Count", kColCount}};
}  // namespace

std::span<const vb::MemberEntry> ControlsCollection::members() const { return kCollectionMembers; }

std::vector<vb::Value> ControlsCollection::all() const {
  std::vector<vb::Value> out;
  for (const auto& [name, make] : *controls_) {
    vb::Value v = make();
    auto* array = v.isObject() ? dynamic_cast<ControlArrayObject*>(v.asObject()) : nullptr;
    if (!array) {
      out.push_back(std::move(v));
      continue;
    }
    for (int index : array->handle().indices())
      if (vb::Dispatch* element = array->handle().element(index)) out.emplace_back(element);
  }
  return out;
}

std::unique_ptr<vb::Enumerator> ControlsCollection::newEnum() { return std::make_unique<vb::ValueListEnumerator>(all()); }

vb::Value ControlsCollection::call(vb::DispId id, vb::InvokeKind kind, std::span<vb::Value> args) {
  if (kind == vb::InvokeKind::PropertyLet || kind == vb::InvokeKind::PropertySet)
    raiseText(383, QStringLiteral("Property is read-only"));
  switch (id) {
    case kColCount: vb::checkArgCount(args, 0, 0); return vb::Value(static_cast<int32_t>(all().size()));
    case kColItem: {
      vb::checkArgCount(args, 1, 1);
      const vb::Value& key = args[0].deref();
      if (key.isString()) {
        const QString name = argText(key);
        for (const auto& [n, make] : *controls_)
          if (n.compare(name, Qt::CaseInsensitive) == 0) return make();
        raiseText(730, QStringLiteral("Control '%1' not found").arg(name));
      }
      const std::vector<vb::Value> list = all();
      const int32_t i = vb::toInt32(key);
      if (i < 0 || static_cast<size_t>(i) >= list.size()) vb::raise(vb::err::SubscriptOutOfRange);
      return list[static_cast<size_t>(i)];
    }
    default: vb::raise(vb::err::NoSuchMember);
  }
}

}  // namespace qm::script
