#include "platform/InterfaceScale.h"

#include <QApplication>
#include <QPointer>
#include <QProxyStyle>
#include <QStyleFactory>
#include <QWidget>
#include <algorithm>
#include <cmath>

#include "platform/InterfaceFont.h"

namespace qm::platform {

namespace {

double gScale = 1.0;

// The desktop's style with its sizes at the interface scale: margins, frames,
// paddings around texts, indicators and icons grow with the font, so a button
// at twice the size is twice as large, not a large text in a small frame.
class ScaledStyle : public QProxyStyle {
 public:
  explicit ScaledStyle(const QString& base) : QProxyStyle(base) {}

  int pixelMetric(PixelMetric metric, const QStyleOption* option, const QWidget* widget) const override {
    const Nested nested;
    const int own = QProxyStyle::pixelMetric(metric, option, widget);
    // -1 and 0 mean "none" or "ask elsewhere"; a size the style asked itself for
    // on the way is scaled once, in the answer it gives.
    return own > 0 && !nested.inner() ? scaled(own) : own;
  }
  // The text's size already follows the font; what the style adds around it is scaled.
  QSize sizeFromContents(ContentsType type, const QStyleOption* option, const QSize& contents,
                         const QWidget* widget) const override {
    const Nested nested;
    const QSize own = QProxyStyle::sizeFromContents(type, option, contents, widget);
    if (nested.inner() || !own.isValid() || !contents.isValid()) return own;
    const QSize padding = own - contents;
    return {contents.width() + scaled(std::max(0, padding.width())),
            contents.height() + scaled(std::max(0, padding.height()))};
  }
  int layoutSpacing(QSizePolicy::ControlType a, QSizePolicy::ControlType b, Qt::Orientation orientation,
                    const QStyleOption* option, const QWidget* widget) const override {
    const Nested nested;
    const int own = QProxyStyle::layoutSpacing(a, b, orientation, option, widget);
    return own > 0 && !nested.inner() ? scaled(own) : own;
  }

 private:
  // Counts the style's questions under way (all on the interface thread).
  class Nested {
   public:
    Nested() { ++depth_; }
    ~Nested() { --depth_; }
    bool inner() const { return depth_ > 1; }

   private:
    static inline int depth_ = 0;
  };

  static int scaled(int pixels) { return InterfacePixels(pixels); }
};

QStyle& scaledStyle() {
  static QPointer<ScaledStyle> style;
  if (!style) {
    const QString base = QApplication::style() ? QApplication::style()->name() : QStringLiteral("fusion");
    style = new ScaledStyle(base);
    style->setParent(qApp);
  }
  return *style;
}

}  // namespace

double InterfaceScale() { return gScale; }

void SetInterfaceScale(double scale) { gScale = std::isfinite(scale) ? std::max(1.0, scale) : 1.0; }

int InterfacePixels(int pixels) { return static_cast<int>(std::lround(pixels * gScale)); }

QSize InterfaceSize(QSize size) { return {InterfacePixels(size.width()), InterfacePixels(size.height())}; }

void ScaleInterfaceWindow(QWidget& window) {
  if (qobject_cast<QApplication*>(QCoreApplication::instance())) {
    QStyle& style = scaledStyle();
    if (window.style() != &style) window.setStyle(&style);
    for (QWidget* child : window.findChildren<QWidget*>())
      if (child->style() != &style) child->setStyle(&style);
  }
  window.setFont(InterfaceFont());
}

}  // namespace qm::platform
