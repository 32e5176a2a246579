#include "script/components/HostedComponent.h"

#include <QEvent>
#include <QKeyEvent>
#include <QMouseEvent>
#include <QPointer>
#include <QTimer>
#include <algorithm>

#include "engine/controls/VbColor.h"

namespace qm::script {

namespace vb = qm::vbs;
using engine::PropertyDef;

namespace {

const PropertyDef kProps[] = {
    QM_PROP(HostedComponent, "ForeColor", foreColor, setForeColor, toInt),
    QM_PROP(HostedComponent, "BackColor", backColor, setBackColor, toInt),
    QM_PROP(HostedComponent, "FontName", fontName, setFontName, toString),
    QM_PROP(HostedComponent, "FontSize", fontSize, setFontSize, toDouble),
    QM_PROP(HostedComponent, "FontBold", fontBold, setFontBold, toBool),
    QM_PROP(HostedComponent, "FontItalic", fontItalic, setFontItalic, toBool),
    QM_PROP(HostedComponent, "FontUnderline", fontUnderline, setFontUnderline, toBool),
    QM_PROP(HostedComponent, "FontStrikethru", fontStrikethru, setFontStrikethru, toBool),
};

int vbButton(Qt::MouseButton b) {
  switch (b) {
    case Qt::LeftButton: return engine::kLeftButton;
    case Qt::RightButton: return engine::kRightButton;
    case Qt::MiddleButton: return engine::kMiddleButton;
    default: return 0;
  }
}
int vbButtons(Qt::MouseButtons b) {
  int r = 0;
  if (b & Qt::LeftButton) r |= engine::kLeftButton;
  if (b & Qt::RightButton) r |= engine::kRightButton;
  if (b & Qt::MiddleButton) r |= engine::kMiddleButton;
  return r;
}
int vbShift(Qt::KeyboardModifiers m) {
  return ((m & Qt::ShiftModifier) ? 1 : 0) | ((m & Qt::ControlModifier) ? 2 : 0) | ((m & Qt::AltModifier) ? 4 : 0);
}

}  // namespace

EventParameterList mouseParameters(int button, int shift, double x, double y) {
  return {{QStringLiteral("Button"), vb::Value(static_cast<int16_t>(button))},
          {QStringLiteral("Shift"), vb::Value(static_cast<int16_t>(shift))},
          {QStringLiteral("X"), vb::Value::single(static_cast<float>(x))},
          {QStringLiteral("Y"), vb::Value::single(static_cast<float>(y))}};
}

HostedComponent::HostedComponent(QString typeName, QString name, QWidget* canvas)
    : VbControl(std::move(name), -1, canvas), typeName_(std::move(typeName)) {
  font_.setFamily(QStringLiteral("Tahoma"));
  font_.setPointSizeF(fontSize_);
  hide();
  // The platform's default size for a new control: 1215 x 495 twips.
  move(0, 0, 1215, 495);
}

const engine::PropertyTable& HostedComponent::propertyTable() const {
  static const engine::PropertyTable table{kProps, &VbControl::propertyTable()};
  return table;
}

void HostedComponent::setInner(QWidget* w) {
  if (inner_ && inner_ != w) {
    // Later: the old widget may be the one whose event is running this.
    inner_->removeEventFilter(this);
    inner_->hide();
    inner_->deleteLater();
  }
  parts_.clear();
  inner_ = w;
  w->setParent(this);
  w->setGeometry(rect());
  w->installEventFilter(this);
  w->setMouseTracking(true);
  w->setFont(font_);
  applyColors();
  w->show();
}

void HostedComponent::watchPart(QWidget* part) {
  if (!part || part == inner_) return;
  for (const auto& p : parts_)
    if (p == part) return;
  part->installEventFilter(this);
  part->setMouseTracking(true);
  parts_.emplace_back(part);
}

void HostedComponent::resizeEvent(QResizeEvent* event) {
  VbControl::resizeEvent(event);
  if (inner_) inner_->setGeometry(rect());
}

void HostedComponent::setPicturePath(const QString& p) { picturePath_ = p; }

void HostedComponent::applyColors() {
  if (!inner_) return;
  QPalette pal = inner_->palette();
  const QColor fore = engine::colorFromVb(foreColor_), back = engine::colorFromVb(backColor_);
  for (auto role : {QPalette::WindowText, QPalette::ButtonText, QPalette::Text}) pal.setColor(role, fore);
  for (auto role : {QPalette::Window, QPalette::Button, QPalette::Base}) pal.setColor(role, back);
  inner_->setPalette(pal);
  inner_->setAutoFillBackground(true);
}

void HostedComponent::setForeColor(int c) {
  foreColor_ = c;
  applyColors();
}
void HostedComponent::setBackColor(int c) {
  backColor_ = c;
  applyColors();
}

void HostedComponent::setFontName(const QString& n) {
  font_.setFamily(n);
  if (inner_) inner_->setFont(font_);
}
void HostedComponent::setFontSize(double points) {
  if (!(points > 0) || points > 2048) return;  // VB refuses sizes it cannot draw; so do we
  fontSize_ = points;
  font_.setPointSizeF(points);
  if (inner_) inner_->setFont(font_);
}
void HostedComponent::setFontBold(bool b) {
  font_.setBold(b);
  if (inner_) inner_->setFont(font_);
}
void HostedComponent::setFontItalic(bool b) {
  font_.setItalic(b);
  if (inner_) inner_->setFont(font_);
}
void HostedComponent::setFontUnderline(bool b) {
  font_.setUnderline(b);
  if (inner_) inner_->setFont(font_);
}
void HostedComponent::setFontStrikethru(bool b) {
  font_.setStrikeOut(b);
  if (inner_) inner_->setFont(font_);
}

EventParameterList HostedComponent::raiseEvent(const QString& eventName, EventParameterList parameters) {
  if (onObjectEvent) {
    // The handler may remove this component; keep the callback alive meanwhile.
    const auto handler = onObjectEvent;
    handler(eventName, parameters);
  }
  return parameters;
}

bool HostedComponent::eventFilter(QObject* watched, QEvent* event) {
  const bool isPart = watched != inner_ && std::any_of(parts_.begin(), parts_.end(), [&](const QPointer<QWidget>& p) {
                        return p == watched;
                      });
  if (watched != inner_ && !isPart) return VbControl::eventFilter(watched, event);
  QPointer<HostedComponent> self(this);
  // Positions are the component's, whichever of its widgets saw the mouse.
  auto at = [&](const QMouseEvent* e) { return static_cast<QWidget*>(watched)->mapTo(this, e->position()); };
  switch (event->type()) {
    case QEvent::MouseButtonPress: {
      auto* e = static_cast<QMouseEvent*>(event);
      const QPointF p = at(e);
      raiseEvent(QStringLiteral("MouseDown"), mouseParameters(vbButton(e->button()), vbShift(e->modifiers()),
                                                              p.x() * engine::kTwipsPerPixel,
                                                              p.y() * engine::kTwipsPerPixel));
      return !self;  // the handler removed the control: the widget must not see the press
    }
    case QEvent::MouseButtonRelease: {
      auto* e = static_cast<QMouseEvent*>(event);
      const QPointF p = at(e);
      raiseEvent(QStringLiteral("MouseUp"), mouseParameters(vbButton(e->button()), vbShift(e->modifiers()),
                                                            p.x() * engine::kTwipsPerPixel,
                                                            p.y() * engine::kTwipsPerPixel));
      if (self && raisesClickOnRelease_ && e->button() == Qt::LeftButton && rect().contains(p.toPoint()))
        raiseEvent(QStringLiteral("Click"));
      return !self;
    }
    case QEvent::MouseMove: {
      auto* e = static_cast<QMouseEvent*>(event);
      const QPointF p = at(e);
      raiseEvent(QStringLiteral("MouseMove"), mouseParameters(vbButtons(e->buttons()), vbShift(e->modifiers()),
                                                              p.x() * engine::kTwipsPerPixel,
                                                              p.y() * engine::kTwipsPerPixel));
      return !self;
    }
    case QEvent::MouseButtonDblClick:
      raiseEvent(QStringLiteral("DblClick"));
      return !self;
    case QEvent::KeyPress: {
      if (!raisesKeyPress_) break;
      auto* e = static_cast<QKeyEvent*>(event);
      const QString text = e->text();
      if (text.size() != 1) break;
      // A key a part let through reaches the inner widget as the same event: once is enough.
      if (!isPart && event == partKey_) {
        partKey_ = nullptr;
        break;
      }
      partKey_ = isPart ? event : nullptr;
      // Whatever the event became once it has been delivered, it is no longer this key.
      if (isPart) QTimer::singleShot(0, this, [this] { partKey_ = nullptr; });
      const auto after = raiseEvent(QStringLiteral("KeyPress"),
                                    {{QStringLiteral("KeyAscii"), vb::Value(static_cast<int16_t>(text[0].unicode()))}});
      if (!self) return true;
      // A handler that sets KeyAscii to 0 swallows the key.
      try {
        if (!after.empty() && vb::toInt32(after[0].value) == 0) return true;
      } catch (...) {
      }
      break;
    }
    case QEvent::KeyRelease:
      partKey_ = nullptr;
      break;
    default: break;
  }
  return false;
}

}  // namespace qm::script
