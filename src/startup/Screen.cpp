#include "startup/Screen.h"

#include <QGuiApplication>
#include <QScreen>
#include <QWidget>

namespace qm::startup {
namespace {

std::function<QSize()> gScreenSize;

QSize screenPixels() {
  if (gScreenSize) return gScreenSize();
  if (qobject_cast<QGuiApplication*>(QCoreApplication::instance())) {
    if (const QScreen* screen = QGuiApplication::primaryScreen()) return screen->size();
  }
  return QSize(0, 0);
}

}  // namespace

void setScreenSizeProvider(std::function<QSize()> provider) { gScreenSize = std::move(provider); }

int ScreenWidthTwips() { return screenPixels().width() * kTwipsPerPixel; }

int ScreenHeightTwips() { return screenPixels().height() * kTwipsPerPixel; }

void BeginBusy(QWidget* form) {
  if (!form) return;
  form->setProperty("MousePointer", 11);
  form->setCursor(Qt::WaitCursor);
  form->setEnabled(false);
}

void EndBusy(QWidget* form) {
  if (!form) return;
  ResetFormPointer(form);
  form->setEnabled(true);
}

void ResetFormPointer(QWidget* form) {
  if (!form) return;
  form->setProperty("MousePointer", 0);
  form->unsetCursor();
}

void CopyControlSize(const QWidget* source, QWidget* target) {
  if (!source || !target) return;
  target->resize(source->size());
}

}  // namespace qm::startup
