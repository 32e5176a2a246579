// A component a script adds to the frame canvas at run time (a button, a list,
// a media player...). The player provides each kind natively: the component is
// a control of the game window (position in twips, Visible, Enabled, Tag,
// colours and font) holding one Qt widget that does the work, plus the methods
// and object-valued members scripts call on it (AddItem, controls.play...).
//
// Whatever happens to the widget reaches the game as one generic event: a name
// ("Click", "MouseDown") and its parameters by name. A handler may change the
// value of a parameter the control passes by reference (KeyPress's KeyAscii).
#pragma once

#include <QFont>
#include <QImage>
#include <QPointer>
#include <functional>
#include <span>
#include <vector>

#include "engine/controls/VbControl.h"
#include "vbscript/Dispatch.h"
#include "vbscript/Value.h"

namespace qm::script {

struct EventParameter {
  QString name;
  vbs::Value value;
};
using EventParameterList = std::vector<EventParameter>;

class HostedComponent;

// A member scripts call that is not a plain property: a method, or a property
// with arguments (List(i)), or one that hands out an object (controls, settings).
struct ComponentMethod {
  std::u16string_view name;
  vbs::Value (*call)(HostedComponent& component, vbs::InvokeKind kind, std::span<vbs::Value> args);
};

class HostedComponent : public engine::VbControl {
  Q_OBJECT
 public:
  // The control is made hidden, with the platform's default size, inside canvas.
  HostedComponent(QString typeName, QString name, QWidget* canvas);
  const engine::PropertyTable& propertyTable() const override;

  // The class name scripts see (TypeName): "CommandButton", "WindowsMediaPlayer"...
  QString typeName() const { return typeName_; }

  virtual std::span<const ComponentMethod> methods() const { return {}; }
  // The property a bare reference reads ("Value", "Caption").
  virtual QString defaultMember() const { return QStringLiteral("Caption"); }

  // Pictures, for kinds with a Picture property.
  virtual bool hasPicture() const { return false; }
  virtual void setPictureImage(const QImage&, const QString&) {}
  virtual QImage pictureImage() const { return {}; }
  QString picturePath() const { return picturePath_; }
  void setPicturePath(const QString& nativePath);

  int foreColor() const { return foreColor_; }
  void setForeColor(int c);
  int backColor() const { return backColor_; }
  void setBackColor(int c);
  QString fontName() const { return font_.family(); }
  void setFontName(const QString& n);
  double fontSize() const { return fontSize_; }
  void setFontSize(double points);
  bool fontBold() const { return font_.bold(); }
  void setFontBold(bool b);
  bool fontItalic() const { return font_.italic(); }
  void setFontItalic(bool b);
  bool fontUnderline() const { return font_.underline(); }
  void setFontUnderline(bool b);
  bool fontStrikethru() const { return font_.strikeOut(); }
  void setFontStrikethru(bool b);

  // Where the component's events go (the forwarder of the component list).
  std::function<void(const QString& eventName, EventParameterList& parameters)> onObjectEvent;
  // Raises an event; returns the parameters as the handler left them.
  EventParameterList raiseEvent(const QString& eventName, EventParameterList parameters = {});

 protected:
  // The widget that does the work; it fills the control and gets its colours,
  // font and mouse events. Called by each kind's constructor, and again when a
  // kind changes its widget (a text box made multi-line): the old one goes.
  void setInner(QWidget* inner);
  // A part of the inner widget that takes the mouse or the keyboard itself (a
  // text area's viewport, a combo box's edit field): its events are the
  // component's events too.
  void watchPart(QWidget* part);
  QWidget* inner() const { return inner_; }
  void resizeEvent(QResizeEvent* event) override;
  bool eventFilter(QObject* watched, QEvent* event) override;
  // Which generic events this kind raises from its inner widget.
  bool raisesClickOnRelease_ = false;  // labels and images: a press and release inside
  bool raisesKeyPress_ = true;
  virtual void applyColors();

 private:
  QString typeName_;
  QPointer<QWidget> inner_;
  std::vector<QPointer<QWidget>> parts_;
  // The key press last raised from a part, which its parent may see again
  // when the part lets it through.
  const QEvent* partKey_ = nullptr;
  QString picturePath_;
  int foreColor_ = 0x80000012;  // button text
  int backColor_ = 0x8000000F;  // button face
  QFont font_;
  double fontSize_ = 8;
};

// The mouse-event parameters every kind passes: Button, Shift, X, Y (twips).
EventParameterList mouseParameters(int button, int shift, double x, double y);

}  // namespace qm::script
