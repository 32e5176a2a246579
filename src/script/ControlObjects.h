// The game window's controls as scripts see them: one object per control with
// the VB properties of its property table (positions in twips) and the usual
// methods (Move, ZOrder, Refresh...), control arrays with Item, Count, LBound,
// UBound and For Each, and pictures that can be passed from one control to
// another.
#pragma once

#include <QImage>
#include <QPointer>
#include <QStringList>
#include <functional>
#include <map>
#include <memory>

#include "engine/controls/ControlArray.h"
#include "engine/controls/VbObject.h"
#include "script/HostObject.h"

namespace qm::script {

class ArrayHandle;

// A picture held by a script (LoadGraphicFile, a control's Picture).
class PictureObject : public HostObject {
 public:
  PictureObject(QImage image, QString sourcePath) : image_(std::move(image)), path_(std::move(sourcePath)) {}
  std::u16string typeName() const override { return u"Picture"; }
  const QImage& image() const { return image_; }
  const QString& sourcePath() const { return path_; }

 protected:
  vbs::Value call(vbs::DispId id, vbs::InvokeKind kind, std::span<vbs::Value> args) override;
  std::span<const vbs::MemberEntry> members() const override;

 private:
  QImage image_;
  QString path_;
};

// One control. The control may be destroyed by the game (an element unloaded
// when the frame changes); using the object afterwards raises error 340.
class ControlObject : public HostObject {
 public:
  ControlObject(QObject* qobject, engine::VbObject* control, std::shared_ptr<ArrayHandle> array = {});
  std::u16string typeName() const override;
  vbs::DispId findMember(std::u16string_view name) override;

  // The control, or nullptr once it is gone.
  engine::VbObject* control() const { return qobject_ ? control_ : nullptr; }
  QObject* qobject() const { return qobject_.data(); }
  // The array the control belongs to (null for a single control).
  ArrayHandle* array() const { return array_.get(); }

 protected:
  vbs::Value call(vbs::DispId id, vbs::InvokeKind kind, std::span<vbs::Value> args) override;
  std::span<const vbs::MemberEntry> members() const override;
  // Whether this control has a method or object property of the fixed table
  // (Move, Cls, PSet, Image, Font...).
  virtual bool hasFixedMember(vbs::DispId id) const;
  // What the control itself shows, for its Image property (picture boxes).
  virtual QImage paintedImage() const;
  static vbs::DispId imageMember();
  engine::VbObject& live() const;

 private:
  vbs::Value getProperty(const QString& name);
  void setProperty(const QString& name, const vbs::Value& value);
  QString defaultPropertyName() const;

  QPointer<QObject> qobject_;
  engine::VbObject* control_;
  std::shared_ptr<ArrayHandle> array_;
  QStringList propertyNames_;
};

// What a script object needs to know of a control array, whatever its kind.
class ArrayHandle : public std::enable_shared_from_this<ArrayHandle> {
 public:
  virtual ~ArrayHandle() = default;
  virtual QString name() const = 0;
  virtual bool exists(int index) const = 0;
  // A script object for the element (nullptr when it is not loaded).
  virtual vbs::Dispatch* element(int index) = 0;
  virtual void load(int index) = 0;    // throws ControlArrayError (340, 360)
  virtual void unload(int index) = 0;  // throws ControlArrayError (340, 362)
  virtual std::vector<int> indices() const = 0;
};

// Called for every element a script reaches (the script timers wire their tick here).
using ElementHook = std::function<void(QObject* element, int index)>;

template <class T>
class GameArrayHandle : public ArrayHandle {
 public:
  GameArrayHandle(QString name, engine::ControlArray<T>& array, ElementHook hook = {})
      : name_(std::move(name)), array_(array), hook_(std::move(hook)) {}
  QString name() const override { return name_; }
  bool exists(int index) const override { return array_.exists(index); }
  vbs::Dispatch* element(int index) override {
    T* t = array_.item(index);
    if (!t) return nullptr;
    if (hook_) hook_(t, index);
    return new ControlObject(t, static_cast<engine::VbObject*>(t), shared_from_this());
  }
  void load(int index) override {
    T& t = array_.Load(index);
    if (hook_) hook_(&t, index);
  }
  void unload(int index) override { array_.Unload(index); }
  std::vector<int> indices() const override { return array_.indices(); }

 private:
  QString name_;
  engine::ControlArray<T>& array_;
  ElementHook hook_;
};

// A control array only scripts use (check boxes, list boxes, shapes...): its
// elements keep the properties scripts give them; nothing is drawn.
class PropertyBagArrayHandle : public ArrayHandle {
 public:
  PropertyBagArrayHandle(QString name, QString typeName);
  QString name() const override { return name_; }
  bool exists(int index) const override { return elements_.count(index) != 0; }
  vbs::Dispatch* element(int index) override;
  void load(int index) override;
  void unload(int index) override;
  std::vector<int> indices() const override;
  // Back to the template alone (a new game).
  void clear();

 private:
  QString name_;
  QString typeName_;
  std::map<int, vbs::Ref<vbs::Dispatch>> elements_;
};

class ControlArrayObject : public HostObject {
 public:
  explicit ControlArrayObject(std::shared_ptr<ArrayHandle> handle) : handle_(std::move(handle)) {}
  std::u16string typeName() const override { return toU16(handle_->name()); }
  std::unique_ptr<vbs::Enumerator> newEnum() override;
  ArrayHandle& handle() const { return *handle_; }

 protected:
  vbs::Value call(vbs::DispId id, vbs::InvokeKind kind, std::span<vbs::Value> args) override;
  std::span<const vbs::MemberEntry> members() const override;

 private:
  std::shared_ptr<ArrayHandle> handle_;
};

// An element of a control array that is not loaded yet: what `Arr(5)` gives
// for a free index, so that `LoadControl Arr(5)` can load it. Any other use
// raises error 340 as a missing element does.
class ArrayElementSlot : public HostObject {
 public:
  ArrayElementSlot(std::shared_ptr<ArrayHandle> handle, int index) : handle_(std::move(handle)), index_(index) {}
  std::u16string typeName() const override { return u"Object"; }
  vbs::DispId findMember(std::u16string_view) override { return 1; }
  ArrayHandle& handle() const { return *handle_; }
  int index() const { return index_; }

 protected:
  vbs::Value call(vbs::DispId id, vbs::InvokeKind kind, std::span<vbs::Value> args) override;
  std::span<const vbs::MemberEntry> members() const override { return {}; }

 private:
  std::shared_ptr<ArrayHandle> handle_;
  int index_;
};

// Loads or unloads the element a script names (a loaded element or a slot).
// False when it cannot be done.
bool LoadControlElement(const vbs::Value& ref);
bool UnloadControlElement(const vbs::Value& ref);

// Puts a picture (a PictureObject, or Nothing/Empty to clear) into a control
// that has a Picture property.
void AssignPicture(engine::VbObject& control, const vbs::Value& picture);

// The game's error for a missing element.
[[noreturn]] void raiseMissingElement(int index);

}  // namespace qm::script
