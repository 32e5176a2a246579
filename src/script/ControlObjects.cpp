#include "script/ControlObjects.h"

#include <QWidget>
#include <cmath>

#include "engine/PictureCache.h"
#include "engine/controls/AnimatedPictureControl.h"
#include "engine/controls/ImageControl.h"
#include "engine/controls/MediaPlayerControl.h"
#include "engine/controls/PictureBoxControl.h"
#include "engine/controls/VbControl.h"
#include "script/components/HostedComponent.h"

namespace qm::script {

namespace vb = qm::vbs;

namespace {
bool isWrite(vb::InvokeKind kind) { return kind == vb::InvokeKind::PropertyLet || kind == vb::InvokeKind::PropertySet; }
}  // namespace

void raiseMissingElement(int index) {
  raiseText(340, QStringLiteral("Control array element '%1' doesn't exist").arg(index));
}

// ---- PictureObject -----------------------------------------------------------

namespace {
enum : vb::DispId { kPicHandle = vb::DispIdValue, kPicWidth = 1, kPicHeight = 2, kPicType = 3 };
constexpr vb::MemberEntry kPictureMembers[] = {
    {u"Handle", kPicHandle}, {u"Width", kPicWidth}, {u"Height", kPicHeight}, {u"Type", kPicType}};
}  // namespace

std::span<const vb::MemberEntry> PictureObject::members() const { return kPictureMembers; }

vb::Value PictureObject::call(vb::DispId id, vb::InvokeKind kind, std::span<vb::Value>) {
  if (isWrite(kind)) raiseText(383, QStringLiteral("Property is read-only"));
  switch (id) {
    case kPicHandle: return vb::Value(static_cast<int32_t>(image_.isNull() ? 0 : (image_.cacheKey() & 0x7fffffff)));
    // Picture sizes are in HiMetric units: 2540 per inch, 96 pixels per inch.
    case kPicWidth: return vb::Value(static_cast<int32_t>(std::lround(image_.width() * 2540.0 / 96.0)));
    case kPicHeight: return vb::Value(static_cast<int32_t>(std::lround(image_.height() * 2540.0 / 96.0)));
    case kPicType: return vb::Value(static_cast<int16_t>(image_.isNull() ? 0 : 1));
    default: vb::raise(vb::err::NoSuchMember);
  }
}

void AssignPicture(engine::VbObject& control, const vb::Value& pictureIn) {
  const vb::Value& picture = pictureIn.deref();
  QImage image;
  QString path;
  if (picture.isObject() && picture.asObject()) {
    auto* p = dynamic_cast<PictureObject*>(picture.asObject());
    if (!p) vb::raise(vb::err::TypeMismatch);
    image = p->image();
    path = p->sourcePath();
  } else if (!picture.isEmpty() && !picture.isObject()) {
    vb::raise(vb::err::TypeMismatch);
  }
  if (auto* img = dynamic_cast<engine::ImageControl*>(&control)) {
    img->setPictureImage(image, path);
  } else if (auto* box = dynamic_cast<engine::PictureBoxControl*>(&control)) {
    box->setPictureImage(image, path);
  } else if (auto* component = dynamic_cast<HostedComponent*>(&control); component && component->hasPicture()) {
    component->setPictureImage(image, path);
  } else {
    vb::raise(vb::err::NoSuchMember);
  }
}

// ---- ControlObject ---------------------------------------------------------------

namespace {
enum : vb::DispId { kMove = 1, kZOrder, kRefresh, kSetFocus, kPlay, kStop, kCls, kPictureProp, kFontProp,
                    kImageProp, kPaintPicture, kPSet, kPoint, kFirstProperty = 1000 };
constexpr vb::MemberEntry kControlMembers[] = {
    {u"Move", kMove},           {u"ZOrder", kZOrder},   {u"Refresh", kRefresh},   {u"SetFocus", kSetFocus},
    {u"Play", kPlay},           {u"Stop", kStop},       {u"Cls", kCls},           {u"Picture", kPictureProp},
    {u"Font", kFontProp},       {u"Image", kImageProp}, {u"PaintPicture", kPaintPicture}, {u"PSet", kPSet},
    {u"Point", kPoint}};

// A control's Font object: Name, Size, Bold, Italic, Underline, Strikethrough,
// read and written through the control's Font... properties.
class FontObject : public HostObject {
 public:
  explicit FontObject(vb::Dispatch* control) : control_(control) {}
  std::u16string typeName() const override { return u"Font"; }

 protected:
  std::span<const vb::MemberEntry> members() const override {
    static constexpr vb::MemberEntry kMembers[] = {{u"Name", 0},      {u"Size", 1},         {u"Bold", 2},
                                                   {u"Italic", 3},    {u"Underline", 4},    {u"Strikethrough", 5}};
    return kMembers;
  }
  vb::Value call(vb::DispId id, vb::InvokeKind kind, std::span<vb::Value> args) override {
    static const char16_t* const kProperties[] = {u"FontName", u"FontSize", u"FontBold", u"FontItalic",
                                                  u"FontUnderline", u"FontStrikethru"};
    if (id < 0 || id > 5) vb::raise(vb::err::NoSuchMember);
    const vb::DispId target = control_->findMember(kProperties[id]);
    if (target == vb::DispIdUnknown) vb::raise(vb::err::NoSuchMember);
    return control_->invoke(target, kind, args);
  }

 private:
  vb::Ref<vb::Dispatch> control_;
};
}  // namespace

ControlObject::ControlObject(QObject* qobject, engine::VbObject* control, std::shared_ptr<ArrayHandle> array)
    : qobject_(qobject), control_(control), array_(std::move(array)) {
  if (control_) propertyNames_ = control_->propertyTable().names();
}

std::span<const vb::MemberEntry> ControlObject::members() const { return kControlMembers; }

std::u16string ControlObject::typeName() const {
  if (!qobject_) return u"Object";
  if (qobject_->inherits("qm::engine::LabelControl")) return u"Label";
  if (qobject_->inherits("qm::engine::PictureBoxControl")) return u"PictureBox";
  if (qobject_->inherits("qm::engine::ImageControl")) return u"Image";
  if (qobject_->inherits("qm::engine::TimerControl")) return u"Timer";
  if (qobject_->inherits("qm::engine::MenuItem")) return u"Menu";
  if (qobject_->inherits("qm::engine::MediaPlayerControl")) return u"MediaPlayer";
  if (qobject_->inherits("qm::engine::PanelControl")) return u"Frame";
  return u"Object";
}

engine::VbObject& ControlObject::live() const {
  if (!qobject_ || !control_) raiseText(340, QStringLiteral("The control no longer exists"));
  return *control_;
}

// The fixed members a control has depend on its kind; the others are
// "Object doesn't support this property or method", as in VB.
bool ControlObject::hasFixedMember(vb::DispId id) const {
  QObject* q = qobject_.data();
  switch (id) {
    case kPictureProp: return propertyNames_.contains(QStringLiteral("Picture"), Qt::CaseInsensitive);
    case kFontProp: return propertyNames_.contains(QStringLiteral("FontName"), Qt::CaseInsensitive);
    case kMove:
    case kZOrder:
    case kRefresh:
    case kSetFocus: return q && q->isWidgetType();
    case kPlay:
    case kStop: return q && (q->inherits("qm::engine::MediaPlayerControl") || q->inherits("qm::engine::AnimatedPictureControl"));
    case kCls:
    case kImageProp:
    case kPaintPicture:
    case kPSet:
    case kPoint: return q && q->inherits("qm::engine::PictureBoxControl");
    default: return false;
  }
}

QImage ControlObject::paintedImage() const {
  auto* box = qobject_cast<engine::PictureBoxControl*>(qobject_.data());
  return box ? box->paintedImage() : QImage();
}

vb::DispId ControlObject::imageMember() { return kImageProp; }

vb::DispId ControlObject::findMember(std::u16string_view name) {
  const vb::DispId fixed = vb::findInTable(kControlMembers, name);
  // A control that is gone keeps its members: using one raises 340.
  if (fixed != vb::DispIdUnknown) return !qobject_ || hasFixedMember(fixed) ? fixed : vb::DispIdUnknown;
  const QString q = toQ(name);
  for (int i = 0; i < propertyNames_.size(); ++i)
    if (propertyNames_[i].compare(q, Qt::CaseInsensitive) == 0) return kFirstProperty + i;
  return vb::DispIdUnknown;
}

QString ControlObject::defaultPropertyName() const {
  for (const char* name : {"Text", "Caption", "Picture", "FileName", "Enabled"})
    if (propertyNames_.contains(QLatin1String(name), Qt::CaseInsensitive)) return QLatin1String(name);
  return {};
}

vb::Value ControlObject::getProperty(const QString& name) {
  engine::VbObject& c = live();
  if (name.compare(QLatin1String("Picture"), Qt::CaseInsensitive) == 0) {
    QImage image;
    QString path;
    if (auto* img = dynamic_cast<engine::ImageControl*>(&c)) {
      path = img->picture();
    } else if (auto* box = dynamic_cast<engine::PictureBoxControl*>(&c)) {
      image = box->image();
      path = box->picture();
    } else if (auto* component = dynamic_cast<HostedComponent*>(&c)) {
      image = component->pictureImage();
      path = component->picturePath();
    }
    if (image.isNull() && !path.isEmpty()) image = engine::PictureCache::instance().load(path).value_or(QImage());
    return vb::Value(new PictureObject(image, path));
  }
  const engine::PropertyDef* def = c.propertyTable().find(name);
  if (!def) vb::raise(vb::err::NoSuchMember);
  return fromQVariant(def->get(c));
}

void ControlObject::setProperty(const QString& name, const vb::Value& value) {
  engine::VbObject& c = live();
  if (name.compare(QLatin1String("Picture"), Qt::CaseInsensitive) == 0) {
    AssignPicture(c, value);
    return;
  }
  const engine::PropertyDef* def = c.propertyTable().find(name);
  if (!def) vb::raise(vb::err::NoSuchMember);
  if (!def->set) raiseText(383, QStringLiteral("'%1' property is read-only").arg(name));
  // Set x.MouseIcon = LoadPicture(...): the pointer comes from the picture's file.
  if (name.compare(QLatin1String("MouseIcon"), Qt::CaseInsensitive) == 0 && value.deref().isObject()) {
    const vb::Value& v = value.deref();
    auto* picture = v.asObject() ? dynamic_cast<PictureObject*>(v.asObject()) : nullptr;
    if (v.asObject() && !picture) vb::raise(vb::err::TypeMismatch);
    if (picture && picture->sourcePath().isEmpty() && !picture->image().isNull()) raiseText(481, QStringLiteral("Invalid picture"));
    def->set(c, QVariant(picture ? picture->sourcePath() : QString()));
    return;
  }
  const vb::Value& v = value.deref();
  vb::Value plainValue = v;
  if (v.isObject()) {
    if (!v.asObject()) vb::raise(vb::err::ObjectNotSet);
    plainValue = v.asObject()->invoke(vb::DispIdValue, vb::InvokeKind::PropertyGet, {});
  }
  // Numeric and Boolean properties take text only when it reads as their type.
  const QVariant current = def->get(c);
  const int t = current.userType();
  if (t == QMetaType::Bool) {
    def->set(c, QVariant(vb::toBool(plainValue)));
  } else if (t == QMetaType::Int || t == QMetaType::Short || t == QMetaType::Long || t == QMetaType::LongLong) {
    def->set(c, QVariant(static_cast<qlonglong>(vb::toInt32(plainValue))));
  } else if (t == QMetaType::Double || t == QMetaType::Float) {
    def->set(c, QVariant(vb::toDouble(plainValue)));
  } else if (t == QMetaType::QString) {
    def->set(c, QVariant(plainValue.isNull() ? QString() : toQ(vb::toString(plainValue))));
  } else {
    def->set(c, toQVariant(plainValue));
  }
}

vb::Value ControlObject::call(vb::DispId id, vb::InvokeKind kind, std::span<vb::Value> args) {
  const bool write = isWrite(kind);
  QString property;
  if (id == vb::DispIdValue) {
    property = defaultPropertyName();
    if (property.isEmpty()) vb::raise(vb::err::NoSuchMember);
  } else if (id >= kFirstProperty && id < kFirstProperty + propertyNames_.size()) {
    property = propertyNames_[id - kFirstProperty];
  } else if (id == kPictureProp) {
    property = QStringLiteral("Picture");
  }
  if (!property.isEmpty()) {
    if (write) {
      vb::checkArgCount(args, 1, 1);
      setProperty(property, args.back());
      return {};
    }
    vb::checkArgCount(args, 0, 0);
    return getProperty(property);
  }
  if (id == kFontProp) {
    if (write) raiseText(383, QStringLiteral("'Font' property is read-only"));
    live();
    return vb::Value(new FontObject(this));
  }
  engine::VbObject& c = live();
  if (!hasFixedMember(id)) vb::raise(vb::err::NoSuchMember);
  auto* widget = qobject_cast<QWidget*>(qobject_.data());
  auto* box = qobject_cast<engine::PictureBoxControl*>(qobject_.data());
  switch (id) {
    case kMove: {
      vb::checkArgCount(args, 1, 4);
      const vb::Value missing = vb::Value::missing();
      double place[4] = {argNumber(args[0]), 0, 0, 0};
      const char* names[4] = {"Left", "Top", "Width", "Height"};
      for (int i = 1; i < 4; ++i) {
        const vb::Value& v = vb::argOr(args, static_cast<size_t>(i), missing).deref();
        place[i] = v.isMissing() ? c.vbGet(QLatin1String(names[i])).toDouble() : argNumber(v);
      }
      // A control moves in one step; the window takes its four values in turn.
      if (auto* control = dynamic_cast<engine::VbControl*>(&c)) {
        control->move(place[0], place[1], place[2], place[3]);
      } else {
        for (int i = 0; i < 4; ++i) c.vbSet(QLatin1String(names[i]), place[i]);
      }
      return {};
    }
    case kZOrder: {
      vb::checkArgCount(args, 0, 1);
      const vb::Value zero(static_cast<int16_t>(0));
      // 0 brings the control to the front of its container, anything else sends it to the back.
      if (argInt16(vb::argOr(args, 0, zero)) == 0) widget->raise();
      else widget->lower();
      return {};
    }
    case kRefresh:
      vb::checkArgCount(args, 0, 0);
      widget->repaint();
      return {};
    case kSetFocus:
      vb::checkArgCount(args, 0, 0);
      widget->setFocus();
      return {};
    case kPlay:
    case kStop: {
      vb::checkArgCount(args, 0, 0);
      if (auto* media = dynamic_cast<engine::MediaPlayerControl*>(&c)) {
        if (id == kPlay) media->play(); else media->stop();
      } else if (auto* gif = dynamic_cast<engine::AnimatedPictureControl*>(&c)) {
        if (id == kPlay) gif->play(); else gif->stop();
      }
      return {};
    }
    case kCls:
      vb::checkArgCount(args, 0, 0);
      box->cls();
      return {};
    case kImageProp:
      if (write) raiseText(383, QStringLiteral("'Image' property is read-only"));
      vb::checkArgCount(args, 0, 0);
      return vb::Value(new PictureObject(paintedImage(), QString()));
    case kPaintPicture: {
      vb::checkArgCount(args, 3, 10);
      const vb::Value& picture = args[0].deref();
      if (picture.isObject() && !picture.asObject()) vb::raise(vb::err::ObjectRequired);
      auto* source = picture.isObject() ? dynamic_cast<PictureObject*>(picture.asObject()) : nullptr;
      if (!source) vb::raise(vb::err::TypeMismatch);
      auto optional = [&args](size_t i) -> std::optional<double> {
        if (i >= args.size() || args[i].deref().isMissing()) return std::nullopt;
        return argNumber(args[i]);
      };
      engine::PictureBoxControl::PaintArea area;
      area.x = argNumber(args[1]);
      area.y = argNumber(args[2]);
      area.width = optional(3), area.height = optional(4);
      area.sx = optional(5), area.sy = optional(6), area.sw = optional(7), area.sh = optional(8);
      box->paintPictureVb(source->image(), area);
      return {};
    }
    case kPSet: {
      vb::checkArgCount(args, 2, 3);
      const vb::Value missing = vb::Value::missing();
      const vb::Value& colour = vb::argOr(args, 2, missing).deref();
      box->pset(argNumber(args[0]), argNumber(args[1]),
                colour.isMissing() ? box->foreColor() : vb::toInt32(colour));
      return {};
    }
    case kPoint:
      vb::checkArgCount(args, 2, 2);
      return vb::Value(static_cast<int32_t>(box->point(argNumber(args[0]), argNumber(args[1]))));
    default: vb::raise(vb::err::NoSuchMember);
  }
}

// ---- Property-bag arrays -----------------------------------------------------------

namespace {

// The element of a control array only scripts use: a set of VB properties.
class PropertyBagControl : public HostObject {
 public:
  PropertyBagControl(QString typeName, const QString& arrayName, int index, std::weak_ptr<ArrayHandle> owner)
      : owner(std::move(owner)), index(index), typeName_(std::move(typeName)) {
    values_[u"name"] = vb::Value(toU16(arrayName));
    values_[u"index"] = vb::Value(static_cast<int16_t>(index));
    values_[u"visible"] = vb::Value(false);
    values_[u"enabled"] = vb::Value(true);
    values_[u"hwnd"] = vb::Value(engine::nextWindowHandle());
    for (const char16_t* n : {u"left", u"top", u"width", u"height", u"value", u"forecolor", u"backcolor",
                              u"mousepointer", u"listindex", u"borderstyle", u"x1", u"y1", u"x2", u"y2"})
      values_[n] = vb::Value(static_cast<int32_t>(0));
  }
  void copyFrom(const PropertyBagControl& other) {
    for (const auto& [k, v] : other.values_)
      if (k != u"index" && k != u"visible" && k != u"hwnd") values_[k] = v;
    list_ = other.list_;
  }
  std::u16string typeName() const override { return toU16(typeName_); }
  vb::DispId findMember(std::u16string_view name) override {
    const vb::DispId fixed = vb::findInTable(kBagMethods, name);
    if (fixed != vb::DispIdUnknown) return fixed;
    const std::u16string key = vb::toLowerCopy(name);
    auto it = ids_.find(key);
    if (it != ids_.end()) return it->second;
    if (!isKnownProperty(key)) return vb::DispIdUnknown;
    const vb::DispId id = kFirstBagProperty + static_cast<vb::DispId>(names_.size());
    names_.push_back(key);
    ids_[key] = id;
    return id;
  }

  std::weak_ptr<ArrayHandle> owner;
  int index;

 protected:
  std::span<const vb::MemberEntry> members() const override { return kBagMethods; }
  vb::Value call(vb::DispId id, vb::InvokeKind kind, std::span<vb::Value> args) override {
    const bool write = isWrite(kind);
    if (id == vb::DispIdValue) id = findMember(typeName_ == QLatin1String("TextBox") ? u"Text" : u"Value");
    if (id >= kFirstBagProperty && id < kFirstBagProperty + static_cast<vb::DispId>(names_.size())) {
      const std::u16string& key = names_[static_cast<size_t>(id - kFirstBagProperty)];
      if (key == u"listcount") return vb::Value(static_cast<int32_t>(list_.size()));
      if (key == u"list") {
        vb::checkArgCount(args, write ? 2 : 1, write ? 2 : 1);
        const int32_t i = vb::toInt32(args[0].deref());
        if (i < 0 || static_cast<size_t>(i) >= list_.size()) {
          if (write) vb::raise(vb::err::InvalidCall);
          return vb::Value(std::u16string());
        }
        if (write) list_[static_cast<size_t>(i)] = vb::toString(args[1].deref());
        return write ? vb::Value() : vb::Value(list_[static_cast<size_t>(i)]);
      }
      if (write) {
        vb::checkArgCount(args, 1, 1);
        if (key == u"hwnd")
          raiseText(383, QStringLiteral("Property is read-only"));
        values_[key] = args.back().deref();
        return {};
      }
      vb::checkArgCount(args, 0, 0);
      auto it = values_.find(key);
      return it == values_.end() ? vb::Value(std::u16string()) : it->second;
    }
    switch (id) {
      case kBagMove: {
        vb::checkArgCount(args, 1, 4);
        const char16_t* keys[] = {u"left", u"top", u"width", u"height"};
        for (size_t i = 0; i < args.size(); ++i)
          if (!args[i].deref().isMissing()) values_[keys[i]] = vb::Value(argNumber(args[i]));
        return {};
      }
      case kBagAddItem:
        vb::checkArgCount(args, 1, 2);
        if (args.size() > 1 && !args[1].deref().isMissing()) {
          const int32_t at = vb::toInt32(args[1].deref());
          if (at < 0 || static_cast<size_t>(at) > list_.size()) vb::raise(vb::err::InvalidCall);
          list_.insert(list_.begin() + at, vb::toString(args[0].deref()));
        } else {
          list_.push_back(vb::toString(args[0].deref()));
        }
        return {};
      case kBagRemoveItem: {
        vb::checkArgCount(args, 1, 1);
        const int32_t at = vb::toInt32(args[0].deref());
        if (at < 0 || static_cast<size_t>(at) >= list_.size()) vb::raise(vb::err::InvalidCall);
        list_.erase(list_.begin() + at);
        return {};
      }
      case kBagClear: list_.clear(); return {};
      case kBagZOrder:
      case kBagRefresh:
      case kBagSetFocus: return {};
      default: vb::raise(vb::err::NoSuchMember);
    }
  }

 private:
  enum : vb::DispId { kBagMove = 1, kBagZOrder, kBagRefresh, kBagSetFocus, kBagAddItem, kBagRemoveItem, kBagClear };
  static constexpr vb::DispId kFirstBagProperty = 1000;
  static constexpr vb::MemberEntry kBagMethods[] = {
      {u"Move", kBagMove},       {u"ZOrder", kBagZOrder},         {u"Refresh", kBagRefresh}, {u"SetFocus", kBagSetFocus},
      {u"AddItem", kBagAddItem}, {u"RemoveItem", kBagRemoveItem}, {u"Clear", kBagClear}};
  static bool isKnownProperty(const std::u16string& key) {
    static const std::u16string known[] = {
        u"left", u"top", u"width", u"height", u"visible", u"enabled", u"caption", u"text", u"value", u"tag",
        u"tooltiptext", u"forecolor", u"backcolor", u"backstyle", u"fontname", u"fontsize", u"fontbold", u"fontitalic",
        u"fontunderline", u"fontstrikethru", u"mousepointer", u"mouseicon", u"picture", u"listindex", u"listcount",
        u"list", u"path", u"pattern", u"drive", u"filename", u"borderstyle", u"bordercolor", u"borderwidth",
        u"fillcolor", u"fillstyle", u"shape", u"x1", u"y1", u"x2", u"y2", u"index", u"name", u"stretch",
        u"alignment", u"multiline", u"locked", u"maxlength", u"passwordchar", u"seltext", u"selstart",
        u"sellength", u"sorted", u"autosize", u"wordwrap", u"url", u"volume", u"playcount", u"interval", u"hwnd",
        u"whatsthishelpid"};
    for (const auto& k : known)
      if (k == key) return true;
    return false;
  }

  QString typeName_;
  std::map<std::u16string, vb::Value> values_;
  std::vector<std::u16string> names_;
  std::map<std::u16string, vb::DispId> ids_;
  std::vector<std::u16string> list_;
};

}  // namespace

PropertyBagArrayHandle::PropertyBagArrayHandle(QString name, QString typeName)
    : name_(std::move(name)), typeName_(std::move(typeName)) {
  clear();
}

void PropertyBagArrayHandle::clear() {
  elements_.clear();
  elements_[0] = vb::Ref<vb::Dispatch>(new PropertyBagControl(typeName_, name_, 0, {}));
}

vb::Dispatch* PropertyBagArrayHandle::element(int index) {
  auto it = elements_.find(index);
  return it == elements_.end() ? nullptr : it->second.get();
}

void PropertyBagArrayHandle::load(int index) {
  if (index < 0 || index > 32767)
    throw engine::ControlArrayError(340, "Control array element '" + std::to_string(index) + "' doesn't exist");
  if (exists(index)) throw engine::ControlArrayError(360, "Object already loaded");
  auto* element = new PropertyBagControl(typeName_, name_, index, weak_from_this());
  element->copyFrom(static_cast<PropertyBagControl&>(*elements_[0]));
  elements_[index] = vb::Ref<vb::Dispatch>(element);
}

void PropertyBagArrayHandle::unload(int index) {
  if (index == 0) throw engine::ControlArrayError(362, "Can't unload controls created at design time");
  if (!exists(index))
    throw engine::ControlArrayError(340, "Control array element '" + std::to_string(index) + "' doesn't exist");
  elements_.erase(index);
}

std::vector<int> PropertyBagArrayHandle::indices() const {
  std::vector<int> out;
  for (const auto& entry : elements_) out.push_back(entry.first);
  return out;
}

// ---- ControlArrayObject -------------------------------------------------------------

namespace {
enum : vb::DispId { kItem = vb::DispIdValue, kCount = 1, kLBound, kUBound };
constexpr vb::MemberEntry kArrayMembers[] = {{u"Item", kItem}, {u"Count", kCount}, {u"LBound", kLBound}, {u"UBound", kUBound}};

class ArrayEnumerator : public vb::Enumerator {
 public:
  explicit ArrayEnumerator(std::shared_ptr<ArrayHandle> handle) : handle_(std::move(handle)), indices_(handle_->indices()) {}
  bool next(vb::Value& out) override {
    while (pos_ < indices_.size()) {
      if (vb::Dispatch* d = handle_->element(indices_[pos_++])) {
        out = vb::Value(d);
        return true;
      }
    }
    return false;
  }

 private:
  std::shared_ptr<ArrayHandle> handle_;
  std::vector<int> indices_;
  size_t pos_ = 0;
};
}  // namespace

std::span<const vb::MemberEntry> ControlArrayObject::members() const { return kArrayMembers; }

std::unique_ptr<vb::Enumerator> ControlArrayObject::newEnum() { return std::make_unique<ArrayEnumerator>(handle_); }

vb::Value ControlArrayObject::call(vb::DispId id, vb::InvokeKind kind, std::span<vb::Value> args) {
  if (isWrite(kind)) {
    if (id != kItem || args.size() != 2) vb::raise(vb::err::WrongArgCount);
    // Arr(3) = value sets the element's default property.
    const int index = argInt16(args[0]);
    vb::Dispatch* d = handle_->element(index);
    if (!d) raiseMissingElement(index);
    vb::Value keep(d);
    d->invoke(vb::DispIdValue, vb::InvokeKind::PropertyLet, args.subspan(1));
    return {};
  }
  switch (id) {
    case kItem: {
      vb::checkArgCount(args, 1, 1);
      const int index = argInt16(args[0]);
      if (vb::Dispatch* d = handle_->element(index)) return vb::Value(d);
      if (index < 0) raiseMissingElement(index);
      return vb::Value(new ArrayElementSlot(handle_, index));
    }
    case kCount: return vb::Value(static_cast<int32_t>(handle_->indices().size()));
    case kLBound: {
      const auto ix = handle_->indices();
      return vb::Value(static_cast<int32_t>(ix.empty() ? 0 : ix.front()));
    }
    case kUBound: {
      const auto ix = handle_->indices();
      return vb::Value(static_cast<int32_t>(ix.empty() ? 0 : ix.back()));
    }
    default: vb::raise(vb::err::NoSuchMember);
  }
}

vb::Value ArrayElementSlot::call(vb::DispId, vb::InvokeKind, std::span<vb::Value>) { raiseMissingElement(index_); }

// ---- Load / unload -------------------------------------------------------------------

bool LoadControlElement(const vb::Value& refIn) {
  try {
    const vb::Value& ref = refIn.deref();
    if (!ref.isObject() || !ref.asObject()) return false;
    if (auto* slot = dynamic_cast<ArrayElementSlot*>(ref.asObject())) {
      slot->handle().load(slot->index());
      return true;
    }
    // A loaded element: loading it again is "Object already loaded".
    return false;
  } catch (...) {
    return false;
  }
}

bool UnloadControlElement(const vb::Value& refIn) {
  try {
    const vb::Value& ref = refIn.deref();
    if (!ref.isObject() || !ref.asObject()) return false;
    if (auto* control = dynamic_cast<ControlObject*>(ref.asObject())) {
      if (!control->array() || !control->control()) return false;
      control->array()->unload(control->control()->vbIndex());
      return true;
    }
    if (auto* bag = dynamic_cast<PropertyBagControl*>(ref.asObject())) {
      auto owner = bag->owner.lock();
      if (!owner || bag->index == 0) return false;
      owner->unload(bag->index);
      return true;
    }
    return false;
  } catch (...) {
    return false;
  }
}

}  // namespace qm::script
