#include "platform/InterfaceFont.h"

#include <QGuiApplication>
#include <QStringList>
#include <algorithm>

#include "platform/InterfaceScale.h"

namespace qm::platform {

QFont InterfaceFont() { return InterfaceFontAt(InterfaceScale()); }

QFont InterfaceFontAt(double scale) {
  QFont font = QGuiApplication::font();
  font.setFamilies({QStringLiteral("Liberation Sans"), QStringLiteral("Arial"), QStringLiteral("Helvetica")});
  font.setStyleHint(QFont::SansSerif);
  scale = std::max(1.0, scale);
  if (font.pointSizeF() > 0)
    font.setPointSizeF(font.pointSizeF() * scale);
  else if (font.pixelSize() > 0)
    font.setPixelSize(std::max(1, qRound(font.pixelSize() * scale)));
  return font;
}

}  // namespace qm::platform
