#include "engine/controls/VbObject.h"

namespace qm::engine {

const PropertyDef* PropertyTable::find(const QString& name) const {
  for (const PropertyTable* t = this; t; t = t->base) {
    for (const PropertyDef& p : t->own) {
      if (name.compare(QLatin1String(p.name), Qt::CaseInsensitive) == 0) return &p;
    }
  }
  return nullptr;
}

QStringList PropertyTable::names() const {
  QStringList out;
  if (base) out = base->names();
  for (const PropertyDef& p : own) out << QString::fromLatin1(p.name);
  return out;
}

QVariant VbObject::vbGet(const QString& name) const {
  const PropertyDef* p = propertyTable().find(name);
  return p ? p->get(*this) : QVariant();
}

bool VbObject::vbSet(const QString& name, const QVariant& value) {
  const PropertyDef* p = propertyTable().find(name);
  if (!p || !p->set) return false;
  p->set(*this, value);
  return true;
}

void VbObject::copyPropertiesFrom(const VbObject& other) {
  const QStringList names = other.propertyTable().names();
  for (const QString& n : names) {
    if (n.compare(QLatin1String("Visible"), Qt::CaseInsensitive) == 0) continue;
    if (n.compare(QLatin1String("Index"), Qt::CaseInsensitive) == 0) continue;
    const PropertyDef* mine = propertyTable().find(n);
    if (!mine || !mine->set) continue;
    mine->set(*this, other.vbGet(n));
  }
}

int32_t nextWindowHandle() {
  // Numbers as Windows handed out window handles: a multiple of four, well above zero.
  static int32_t next = 0x10010;
  const int32_t handle = next;
  next += 4;
  return handle;
}

int32_t VbObject::hWnd() const {
  if (hWnd_ == 0) hWnd_ = nextWindowHandle();
  return hWnd_;
}

}  // namespace qm::engine
