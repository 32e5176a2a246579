#include "engine/StartHint.h"

#include <QGraphicsOpacityEffect>
#include <QPropertyAnimation>

#include "platform/InterfaceFont.h"
#include "platform/SettingsStore.h"

namespace qm::engine {

namespace {

// Player-wide, under an application name of its own: no game's settings can clash with it.
const QString kApplication = QStringLiteral("Quillmere");
const QString kSection = QStringLiteral("Player");
const QString kMenuKnownKey = QStringLiteral("MenuHintSeen");

int gShownMs = 5000;
int gFadeMs = 1500;
// Below the top edge, where the menu bar will appear.
constexpr int kTopMargin = 12;

}  // namespace

StartHint::StartHint(QWidget* window) : QLabel(window) {
  setObjectName(QStringLiteral("StartHint"));
  QFont font = platform::InterfaceFont();
  font.setPointSizeF(font.pointSizeF() * 1.15);
  setFont(font);
  setStyleSheet(QStringLiteral("QLabel { color: #f0f0f0; background: rgba(16, 16, 16, 190);"
                               " border-radius: 6px; padding: 6px 14px; }"));
  setAttribute(Qt::WA_TransparentForMouseEvents);
  setFocusPolicy(Qt::NoFocus);
  opacity_ = new QGraphicsOpacityEffect(this);
  opacity_->setOpacity(1.0);
  setGraphicsEffect(opacity_);
  fade_ = new QPropertyAnimation(opacity_, "opacity", this);
  connect(fade_, &QPropertyAnimation::finished, this, [this] { hide(); });
  wait_.setSingleShot(true);
  connect(&wait_, &QTimer::timeout, this, [this] { startFading(); });
  hide();
}

bool StartHint::menuKnown() {
  return platform::SettingsStore::instance().get(kApplication, kSection, kMenuKnownKey, QString()) ==
         QLatin1String("1");
}

void StartHint::setTimesForTests(int shownMs, int fadeMs) {
  gShownMs = shownMs;
  gFadeMs = fadeMs;
}

void StartHint::offer(bool withMenu) {
  fade_->stop();
  wait_.stop();
  if (menuKnown()) {
    hide();
    return;
  }
  setText(withMenu ? QStringLiteral("Esc or right-click: menu \u00B7 Ctrl+Q: quit") : QStringLiteral("Ctrl+Q: quit"));
  opacity_->setOpacity(1.0);
  adjustSize();
  place();
  show();
  raise();
  wait_.start(gShownMs);
}

void StartHint::menuFound() {
  wait_.stop();
  fade_->stop();
  hide();
  if (!menuKnown()) platform::SettingsStore::instance().set(kApplication, kSection, kMenuKnownKey, QStringLiteral("1"));
}

void StartHint::place() {
  const QWidget* window = parentWidget();
  if (!window) return;
  move((window->width() - width()) / 2, kTopMargin);
  raise();
}

void StartHint::startFading() {
  fade_->setDuration(gFadeMs);
  fade_->setStartValue(1.0);
  fade_->setEndValue(0.0);
  fade_->start();
}

}  // namespace qm::engine
