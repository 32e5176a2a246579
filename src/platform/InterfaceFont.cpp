#include "platform/InterfaceFont.h"

#include <QGuiApplication>
#include <QStringList>

namespace qm::platform {

QFont InterfaceFont() {
  QFont font = QGuiApplication::font();
  font.setFamilies({QStringLiteral("Liberation Sans"), QStringLiteral("Arial"), QStringLiteral("Helvetica")});
  font.setStyleHint(QFont::SansSerif);
  return font;
}

}  // namespace qm::platform
