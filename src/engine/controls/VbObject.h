// The property table shared by every control of the game window. Each control
// class declares its VB-era properties (Left, Top, Width, Height in twips,
// Visible, Picture, Caption, Tag, Interval, ...) once, in a table of named
// getters and setters; C++ callers use the typed accessors the table points
// to, and the script dispatch interface looks properties up by name.
#pragma once

#include <QString>
#include <QVariant>
#include <cstdint>
#include <span>

namespace qm::engine {

class VbObject;

// The next number that stands for a window (VB's hWnd); no two in a run are alike.
int32_t nextWindowHandle();

struct PropertyDef {
  const char* name;
  QVariant (*get)(const VbObject&);
  void (*set)(VbObject&, const QVariant&);  // nullptr: read-only
};

// One class's table plus the table of the class it derives from.
struct PropertyTable {
  std::span<const PropertyDef> own;
  const PropertyTable* base = nullptr;

  // Case-insensitive, own entries first; nullptr when the name is unknown.
  const PropertyDef* find(const QString& name) const;
  // Every property name, base class first.
  QStringList names() const;
};

class VbObject {
 public:
  virtual ~VbObject() = default;
  virtual const PropertyTable& propertyTable() const = 0;
  // The control's name as the designer gave it ("Area", "Timer1", ...).
  virtual QString vbName() const = 0;
  // Index inside its control array, -1 when the control is not in an array.
  virtual int vbIndex() const = 0;

  bool hasProperty(const QString& name) const { return propertyTable().find(name) != nullptr; }
  // Unknown names or read-only writes return false / an invalid QVariant.
  QVariant vbGet(const QString& name) const;
  bool vbSet(const QString& name, const QVariant& value);
  // Copies every writable property except Visible and Index (what loading a
  // control-array element from its template does).
  void copyPropertiesFrom(const VbObject& other);

  // The number that stands for the control's window (VB's hWnd): given the
  // first time it is asked for and kept for the control's life; no two
  // controls of a run share one.
  int32_t hWnd() const;

 private:
  mutable int32_t hWnd_ = 0;
};

}  // namespace qm::engine
