// The common form controls under their usual identifiers: Label,
// CommandButton, TextBox, CheckBox, OptionButton, ComboBox, ListBox, Image and
// ScrollBar, with the members scripts use most (see docs/components.md).
#include <QCheckBox>
#include <algorithm>
#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QRadioButton>
#include <QScrollBar>

#include "platform/NativeImage.h"
#include "engine/controls/VbColor.h"
#include "script/ScriptValues.h"
#include "script/components/ComponentRegistry.h"
#include "script/components/HostedComponent.h"

namespace qm::script {

namespace vb = qm::vbs;
using engine::PropertyDef;
using engine::PropertyTable;

namespace {

QPixmap pixmapOf(const QImage& image) { return image.isNull() ? QPixmap() : QPixmap::fromImage(image); }

// ---- Label ---------------------------------------------------------------------

class FormsLabel : public HostedComponent {
 public:
  FormsLabel(const QString& name, QWidget* canvas)
      : HostedComponent(QStringLiteral("Label"), name, canvas), label_(new QLabel) {
    raisesClickOnRelease_ = true;
    setInner(label_);
    setTextAlign(1);
  }
  const PropertyTable& propertyTable() const override {
    static const PropertyDef props[] = {
        QM_PROP(FormsLabel, "Caption", caption, setCaption, toString),
        QM_PROP(FormsLabel, "TextAlign", textAlign, setTextAlign, toInt),
        QM_PROP(FormsLabel, "WordWrap", wordWrap, setWordWrap, toBool),
        QM_PROP(FormsLabel, "AutoSize", autoSize, setAutoSize, toBool),
        QM_PROP(FormsLabel, "BackStyle", backStyle, setBackStyle, toInt),
    };
    static const PropertyTable table{props, &HostedComponent::propertyTable()};
    return table;
  }
  QString caption() const { return label_->text(); }
  void setCaption(const QString& c) {
    label_->setText(c);
    fit();
  }
  // 1 left, 2 centre, 3 right.
  int textAlign() const { return textAlign_; }
  void setTextAlign(int a) {
    textAlign_ = a;
    const Qt::Alignment h = a == 2 ? Qt::AlignHCenter : a == 3 ? Qt::AlignRight : Qt::AlignLeft;
    label_->setAlignment(h | Qt::AlignTop);
  }
  bool wordWrap() const { return label_->wordWrap(); }
  void setWordWrap(bool w) {
    label_->setWordWrap(w);
    fit();
  }
  bool autoSize() const { return autoSize_; }
  void setAutoSize(bool a) {
    autoSize_ = a;
    fit();
  }
  // 0 transparent, 1 opaque.
  int backStyle() const { return backStyle_; }
  void setBackStyle(int b) {
    backStyle_ = b;
    applyColors();
  }

 protected:
  void applyColors() override {
    HostedComponent::applyColors();
    if (inner()) inner()->setAutoFillBackground(backStyle_ != 0);
  }

 private:
  void fit() {
    if (autoSize_) setPixelSize(label_->sizeHint().width(), label_->sizeHint().height());
  }
  QLabel* label_;
  int textAlign_ = 1;
  bool autoSize_ = false;
  int backStyle_ = 1;
};

// ---- CommandButton -----------------------------------------------------------------

class FormsCommandButton : public HostedComponent {
 public:
  FormsCommandButton(const QString& name, QWidget* canvas)
      : HostedComponent(QStringLiteral("CommandButton"), name, canvas), button_(new QPushButton) {
    setInner(button_);
    QObject::connect(button_, &QPushButton::clicked, this, [this] { raiseEvent(QStringLiteral("Click")); });
  }
  const PropertyTable& propertyTable() const override {
    static const PropertyDef props[] = {
        QM_PROP(FormsCommandButton, "Caption", caption, setCaption, toString),
        QM_PROP(FormsCommandButton, "Picture", picturePath, loadPicture, toString),
    };
    static const PropertyTable table{props, &HostedComponent::propertyTable()};
    return table;
  }
  QString caption() const { return button_->text(); }
  void setCaption(const QString& c) { button_->setText(c); }
  bool hasPicture() const override { return true; }
  void setPictureImage(const QImage& image, const QString& path) override {
    image_ = image;
    setPicturePath(path);
    button_->setIcon(QIcon(pixmapOf(image)));
    button_->setIconSize(image.size());
  }
  QImage pictureImage() const override { return image_; }
  void loadPicture(const QString& path) { setPictureImage(path.isEmpty() ? QImage() : platform::readImageFile(path), path); }

 private:
  QPushButton* button_;
  QImage image_;
};

// ---- TextBox ----------------------------------------------------------------------------

class FormsTextBox : public HostedComponent {
 public:
  FormsTextBox(const QString& name, QWidget* canvas)
      : HostedComponent(QStringLiteral("TextBox"), name, canvas), edit_(new QLineEdit) {
    setBackColor(0x80000005);  // window background
    setForeColor(0x80000008);  // window text
    setInner(edit_);
    QObject::connect(edit_, &QLineEdit::textChanged, this, [this] { raiseEvent(QStringLiteral("Change")); });
  }
  const PropertyTable& propertyTable() const override {
    static const PropertyDef props[] = {
        QM_PROP(FormsTextBox, "Text", text, setText, toString),
        QM_PROP(FormsTextBox, "Value", text, setText, toString),
        QM_PROP(FormsTextBox, "Locked", locked, setLocked, toBool),
        QM_PROP(FormsTextBox, "MaxLength", maxLength, setMaxLength, toInt),
    };
    static const PropertyTable table{props, &HostedComponent::propertyTable()};
    return table;
  }
  QString defaultMember() const override { return QStringLiteral("Value"); }
  QString text() const { return edit_->text(); }
  void setText(const QString& t) { edit_->setText(t); }
  bool locked() const { return edit_->isReadOnly(); }
  void setLocked(bool l) { edit_->setReadOnly(l); }
  // 0 means no limit.
  int maxLength() const { return maxLength_; }
  void setMaxLength(int n) {
    maxLength_ = std::max(0, n);
    edit_->setMaxLength(maxLength_ == 0 ? 32767 : maxLength_);
  }

 private:
  QLineEdit* edit_;
  int maxLength_ = 0;
};

// ---- CheckBox and OptionButton ----------------------------------------------------------------

class FormsCheckBox : public HostedComponent {
 public:
  FormsCheckBox(const QString& name, QWidget* canvas)
      : HostedComponent(QStringLiteral("CheckBox"), name, canvas), box_(new QCheckBox) {
    setInner(box_);
    QObject::connect(box_, &QCheckBox::toggled, this, [this] {
      raiseEvent(QStringLiteral("Change"));
      raiseEvent(QStringLiteral("Click"));
    });
  }
  const PropertyTable& propertyTable() const override {
    static const PropertyDef props[] = {
        QM_PROP(FormsCheckBox, "Caption", caption, setCaption, toString),
        QM_PROP(FormsCheckBox, "Value", value, setValue, toBool),
    };
    static const PropertyTable table{props, &HostedComponent::propertyTable()};
    return table;
  }
  QString defaultMember() const override { return QStringLiteral("Value"); }
  QString caption() const { return box_->text(); }
  void setCaption(const QString& c) { box_->setText(c); }
  bool value() const { return box_->isChecked(); }
  void setValue(bool v) { box_->setChecked(v); }

 private:
  QCheckBox* box_;
};

class FormsOptionButton : public HostedComponent {
 public:
  FormsOptionButton(const QString& name, QWidget* canvas)
      : HostedComponent(QStringLiteral("OptionButton"), name, canvas), button_(new QRadioButton) {
    button_->setAutoExclusive(false);
    setInner(button_);
    QObject::connect(button_, &QRadioButton::clicked, this, [this] { setValue(true); });
    QObject::connect(button_, &QRadioButton::toggled, this, [this](bool on) {
      raiseEvent(QStringLiteral("Change"));
      if (on) raiseEvent(QStringLiteral("Click"));
    });
  }
  const PropertyTable& propertyTable() const override {
    static const PropertyDef props[] = {
        QM_PROP(FormsOptionButton, "Caption", caption, setCaption, toString),
        QM_PROP(FormsOptionButton, "Value", value, setValue, toBool),
        QM_PROP(FormsOptionButton, "GroupName", groupName, setGroupName, toString),
    };
    static const PropertyTable table{props, &HostedComponent::propertyTable()};
    return table;
  }
  QString defaultMember() const override { return QStringLiteral("Value"); }
  QString caption() const { return button_->text(); }
  void setCaption(const QString& c) { button_->setText(c); }
  bool value() const { return button_->isChecked(); }
  // Turning one button of a group on turns the others of the canvas off.
  void setValue(bool v) {
    if (v && parentWidget())
      for (QObject* child : parentWidget()->children()) {
        auto* other = dynamic_cast<FormsOptionButton*>(child);
        if (other && other != this && other->groupName_.compare(groupName_, Qt::CaseInsensitive) == 0)
          other->button_->setChecked(false);
      }
    button_->setChecked(v);
  }
  QString groupName() const { return groupName_; }
  void setGroupName(const QString& g) { groupName_ = g; }

 private:
  QRadioButton* button_;
  QString groupName_;
};

// ---- ComboBox and ListBox ------------------------------------------------------------------------

// What the two list controls share: items by 0-based index, ListIndex -1 for none.
class ListComponent : public HostedComponent {
 public:
  using HostedComponent::HostedComponent;
  virtual int listCount() const = 0;
  virtual QString item(int i) const = 0;
  virtual void setItem(int i, const QString& text) = 0;
  virtual void insertItem(int i, const QString& text) = 0;
  virtual void removeItem(int i) = 0;
  virtual void clearItems() = 0;
  virtual int listIndex() const = 0;
  virtual void setListIndex(int i) = 0;

  std::span<const ComponentMethod> methods() const override;
  QString defaultMember() const override { return QStringLiteral("Value"); }

  // An index outside the list is error 381, as the controls raise it.
  int checkedIndex(const vb::Value& v, bool allowEnd) const {
    const int i = argInt16(v);
    if (i < 0 || i > listCount() - (allowEnd ? 0 : 1)) raiseText(381, QStringLiteral("Invalid property array index"));
    return i;
  }
};

vb::Value listAddItem(HostedComponent& c, vb::InvokeKind, std::span<vb::Value> args) {
  auto& l = static_cast<ListComponent&>(c);
  vb::checkArgCount(args, 0, 2);
  static const vb::Value missing = vb::Value::missing();
  const vb::Value& text = vb::argOr(args, 0, missing).deref();
  const vb::Value& index = vb::argOr(args, 1, missing).deref();
  const int at = index.isMissing() ? l.listCount() : l.checkedIndex(index, true);
  l.insertItem(at, text.isMissing() ? QString() : argText(text));
  return {};
}
vb::Value listRemoveItem(HostedComponent& c, vb::InvokeKind, std::span<vb::Value> args) {
  auto& l = static_cast<ListComponent&>(c);
  vb::checkArgCount(args, 1, 1);
  l.removeItem(l.checkedIndex(args[0], false));
  return {};
}
vb::Value listClear(HostedComponent& c, vb::InvokeKind, std::span<vb::Value> args) {
  vb::checkArgCount(args, 0, 0);
  static_cast<ListComponent&>(c).clearItems();
  return {};
}
// List(i) reads or writes one item.
vb::Value listList(HostedComponent& c, vb::InvokeKind kind, std::span<vb::Value> args) {
  auto& l = static_cast<ListComponent&>(c);
  if (kind == vb::InvokeKind::PropertyLet || kind == vb::InvokeKind::PropertySet) {
    vb::checkArgCount(args, 2, 3);
    l.setItem(l.checkedIndex(args[0], false), argText(args.back()));
    return {};
  }
  vb::checkArgCount(args, 1, 2);
  return vb::Value(toU16(l.item(l.checkedIndex(args[0], false))));
}
vb::Value listCountMember(HostedComponent& c, vb::InvokeKind kind, std::span<vb::Value> args) {
  if (kind == vb::InvokeKind::PropertyLet || kind == vb::InvokeKind::PropertySet)
    raiseText(383, QStringLiteral("'ListCount' property is read-only"));
  vb::checkArgCount(args, 0, 0);
  return vb::Value(static_cast<int32_t>(static_cast<ListComponent&>(c).listCount()));
}

const ComponentMethod kListMethods[] = {
    {u"AddItem", listAddItem}, {u"RemoveItem", listRemoveItem}, {u"Clear", listClear},
    {u"List", listList},       {u"ListCount", listCountMember},
};

std::span<const ComponentMethod> ListComponent::methods() const { return kListMethods; }

class FormsComboBox : public ListComponent {
 public:
  FormsComboBox(const QString& name, QWidget* canvas) : ListComponent(QStringLiteral("ComboBox"), name, canvas) {
    combo_ = new QComboBox;
    combo_->setEditable(true);
    combo_->setInsertPolicy(QComboBox::NoInsert);
    setBackColor(0x80000005);
    setForeColor(0x80000008);
    setInner(combo_);
    QObject::connect(combo_, &QComboBox::currentTextChanged, this, [this] { raiseEvent(QStringLiteral("Change")); });
    QObject::connect(combo_, &QComboBox::activated, this, [this] { raiseEvent(QStringLiteral("Click")); });
  }
  const PropertyTable& propertyTable() const override {
    static const PropertyDef props[] = {
        QM_PROP(FormsComboBox, "Text", text, setText, toString),
        QM_PROP(FormsComboBox, "Value", text, setText, toString),
        QM_PROP(FormsComboBox, "ListIndex", listIndex, setListIndex, toInt),
        QM_PROP(FormsComboBox, "Style", style, setStyle, toInt),
    };
    static const PropertyTable table{props, &HostedComponent::propertyTable()};
    return table;
  }
  QString text() const { return combo_->currentText(); }
  void setText(const QString& t) {
    const int i = combo_->findText(t, Qt::MatchFixedString);
    if (i >= 0) combo_->setCurrentIndex(i);
    else if (combo_->isEditable()) combo_->setEditText(t);
  }
  // 0 drop-down combo (typing allowed), 2 drop-down list.
  int style() const { return combo_->isEditable() ? 0 : 2; }
  void setStyle(int s) { combo_->setEditable(s != 2); }
  int listCount() const override { return combo_->count(); }
  QString item(int i) const override { return combo_->itemText(i); }
  void setItem(int i, const QString& t) override { combo_->setItemText(i, t); }
  void insertItem(int i, const QString& t) override {
    const bool keepEmpty = combo_->currentIndex() < 0 || combo_->count() == 0;
    const QString typed = combo_->currentText();
    combo_->insertItem(i, t);
    // Adding an item never selects it.
    if (keepEmpty) {
      combo_->setCurrentIndex(-1);
      if (combo_->isEditable()) combo_->setEditText(typed);
    }
  }
  void removeItem(int i) override { combo_->removeItem(i); }
  void clearItems() override { combo_->clear(); }
  int listIndex() const override { return combo_->currentIndex(); }
  void setListIndex(int i) override {
    if (i < -1 || i >= combo_->count()) raiseText(380, QStringLiteral("Invalid property value"));
    combo_->setCurrentIndex(i);
  }

 private:
  QComboBox* combo_;
};

class FormsListBox : public ListComponent {
 public:
  FormsListBox(const QString& name, QWidget* canvas) : ListComponent(QStringLiteral("ListBox"), name, canvas) {
    list_ = new QListWidget;
    setBackColor(0x80000005);
    setForeColor(0x80000008);
    setInner(list_);
    list_->viewport()->installEventFilter(this);
    QObject::connect(list_, &QListWidget::currentRowChanged, this, [this] {
      raiseEvent(QStringLiteral("Change"));
      raiseEvent(QStringLiteral("Click"));
    });
  }
  const PropertyTable& propertyTable() const override {
    static const PropertyDef props[] = {
        QM_PROP(FormsListBox, "Text", text, setText, toString),
        QM_PROP(FormsListBox, "Value", text, setText, toString),
        QM_PROP(FormsListBox, "ListIndex", listIndex, setListIndex, toInt),
    };
    static const PropertyTable table{props, &HostedComponent::propertyTable()};
    return table;
  }
  QString text() const { return list_->currentItem() ? list_->currentItem()->text() : QString(); }
  void setText(const QString& t) {
    for (int i = 0; i < list_->count(); ++i)
      if (list_->item(i)->text().compare(t, Qt::CaseInsensitive) == 0) return list_->setCurrentRow(i);
    list_->setCurrentRow(-1);
  }
  int listCount() const override { return list_->count(); }
  QString item(int i) const override { return list_->item(i)->text(); }
  void setItem(int i, const QString& t) override { list_->item(i)->setText(t); }
  void insertItem(int i, const QString& t) override { list_->insertItem(i, t); }
  void removeItem(int i) override { delete list_->takeItem(i); }
  void clearItems() override { list_->clear(); }
  int listIndex() const override { return list_->currentRow(); }
  void setListIndex(int i) override {
    if (i < -1 || i >= list_->count()) raiseText(380, QStringLiteral("Invalid property value"));
    list_->setCurrentRow(i);
  }

 protected:
  // The list draws and takes its clicks in its viewport: its events count as the list's.
  bool eventFilter(QObject* watched, QEvent* event) override {
    if (watched == list_->viewport()) return HostedComponent::eventFilter(list_, event);
    return HostedComponent::eventFilter(watched, event);
  }

 private:
  QListWidget* list_;
};

// ---- Image ----------------------------------------------------------------------------------------

class FormsImage : public HostedComponent {
 public:
  FormsImage(const QString& name, QWidget* canvas)
      : HostedComponent(QStringLiteral("Image"), name, canvas), label_(new QLabel) {
    raisesClickOnRelease_ = true;
    raisesKeyPress_ = false;
    setInner(label_);
    label_->setAlignment(Qt::AlignCenter);
  }
  const PropertyTable& propertyTable() const override {
    static const PropertyDef props[] = {
        QM_PROP(FormsImage, "Picture", picturePath, loadPicture, toString),
        QM_PROP(FormsImage, "PictureSizeMode", sizeMode, setSizeMode, toInt),
        QM_PROP(FormsImage, "BorderStyle", borderStyle, setBorderStyle, toInt),
    };
    static const PropertyTable table{props, &HostedComponent::propertyTable()};
    return table;
  }
  QString defaultMember() const override { return QStringLiteral("Picture"); }
  bool hasPicture() const override { return true; }
  void setPictureImage(const QImage& image, const QString& path) override {
    image_ = image;
    setPicturePath(path);
    redraw();
  }
  QImage pictureImage() const override { return image_; }
  void loadPicture(const QString& path) { setPictureImage(path.isEmpty() ? QImage() : platform::readImageFile(path), path); }
  // 0 clip, 1 stretch, 3 zoom (keeps the proportions).
  int sizeMode() const { return sizeMode_; }
  void setSizeMode(int m) {
    sizeMode_ = m;
    redraw();
  }
  int borderStyle() const { return label_->frameShape() == QFrame::NoFrame ? 0 : 1; }
  void setBorderStyle(int b) { label_->setFrameShape(b ? QFrame::Box : QFrame::NoFrame); }

 protected:
  void sizeChanged() override { redraw(); }

 private:
  void redraw() {
    if (image_.isNull()) return label_->setPixmap(QPixmap());
    const QSize box(std::max(1, QWidget::width()), std::max(1, QWidget::height()));
    if (sizeMode_ == 1) label_->setPixmap(pixmapOf(image_.scaled(box, Qt::IgnoreAspectRatio, Qt::SmoothTransformation)));
    else if (sizeMode_ == 3) label_->setPixmap(pixmapOf(image_.scaled(box, Qt::KeepAspectRatio, Qt::SmoothTransformation)));
    else label_->setPixmap(pixmapOf(image_));
  }
  QLabel* label_;
  QImage image_;
  int sizeMode_ = 0;
};

// ---- ScrollBar ---------------------------------------------------------------------------------------

class FormsScrollBar : public HostedComponent {
 public:
  FormsScrollBar(const QString& name, QWidget* canvas)
      : HostedComponent(QStringLiteral("ScrollBar"), name, canvas), bar_(new QScrollBar(Qt::Horizontal)) {
    bar_->setRange(0, 32767);
    bar_->setSingleStep(1);
    bar_->setPageStep(1);
    setInner(bar_);
    QObject::connect(bar_, &QScrollBar::valueChanged, this, [this] { raiseEvent(QStringLiteral("Change")); });
    QObject::connect(bar_, &QScrollBar::sliderMoved, this, [this] { raiseEvent(QStringLiteral("Scroll")); });
  }
  const PropertyTable& propertyTable() const override {
    static const PropertyDef props[] = {
        QM_PROP(FormsScrollBar, "Min", min, setMin, toInt),
        QM_PROP(FormsScrollBar, "Max", max, setMax, toInt),
        QM_PROP(FormsScrollBar, "Value", value, setValue, toInt),
        QM_PROP(FormsScrollBar, "SmallChange", smallChange, setSmallChange, toInt),
        QM_PROP(FormsScrollBar, "LargeChange", largeChange, setLargeChange, toInt),
        QM_PROP(FormsScrollBar, "Orientation", orientation, setOrientation, toInt),
    };
    static const PropertyTable table{props, &HostedComponent::propertyTable()};
    return table;
  }
  QString defaultMember() const override { return QStringLiteral("Value"); }
  int min() const { return bar_->minimum(); }
  void setMin(int v) { bar_->setMinimum(v); }
  int max() const { return bar_->maximum(); }
  void setMax(int v) { bar_->setMaximum(v); }
  int value() const { return bar_->value(); }
  void setValue(int v) {
    if (v < bar_->minimum() || v > bar_->maximum()) raiseText(380, QStringLiteral("Invalid property value"));
    bar_->setValue(v);
  }
  int smallChange() const { return bar_->singleStep(); }
  void setSmallChange(int v) { bar_->setSingleStep(v); }
  int largeChange() const { return bar_->pageStep(); }
  void setLargeChange(int v) { bar_->setPageStep(v); }
  // -1 follows the shape, 0 vertical, 1 horizontal.
  int orientation() const { return orientation_; }
  void setOrientation(int o) {
    orientation_ = o;
    applyOrientation();
  }

 protected:
  void sizeChanged() override { applyOrientation(); }

 private:
  void applyOrientation() {
    const bool horizontal = orientation_ == 1 || (orientation_ != 0 && QWidget::width() >= QWidget::height());
    bar_->setOrientation(horizontal ? Qt::Horizontal : Qt::Vertical);
  }
  QScrollBar* bar_;
  int orientation_ = -1;
};

template <class T>
HostedComponent* make(const QString& name, QWidget* canvas) {
  return new T(name, canvas);
}

const ComponentKind kKinds[] = {
    {"Forms.Label.1", make<FormsLabel>},         {"Forms.CommandButton.1", make<FormsCommandButton>},
    {"Forms.TextBox.1", make<FormsTextBox>},     {"Forms.CheckBox.1", make<FormsCheckBox>},
    {"Forms.OptionButton.1", make<FormsOptionButton>}, {"Forms.ComboBox.1", make<FormsComboBox>},
    {"Forms.ListBox.1", make<FormsListBox>},     {"Forms.Image.1", make<FormsImage>},
    {"Forms.ScrollBar.1", make<FormsScrollBar>},
};

}  // namespace

std::span<const ComponentKind> formsComponentKinds() { return kKinds; }

}  // namespace qm::script
