#include "startup/frmWelcome.h"

#include <QCheckBox>
#include <QCloseEvent>
#include <QFont>
#include <QImageReader>
#include <QKeyEvent>
#include <QMouseEvent>
#include <QPainter>
#include <QWindow>
#include <exception>

#include "platform/DialogService.h"
#include "platform/FileResolver.h"
#include "platform/KeyRepeats.h"
#include "platform/NativeImage.h"
#include "platform/NativeName.h"
#include "platform/Shell.h"
#include "platform/VbError.h"
#include "startup/DisplayResolution.h"
#include "startup/ErrorReport.h"
#include "startup/GameLauncher.h"
#include "startup/InitializeProject.h"
#include "startup/Messages.h"
#include "startup/Project.h"
#include "startup/Screen.h"
#include "startup/Settings.h"
#include "startup/frmWelcomeLabel.h"
#include "startup/frmWelcomeLogo.h"

namespace qm::startup {

namespace {

// Design-time look.
const QColor kDesignBackColour(0xD4, 0xD0, 0xC8);
const QColor kDesignTitleColour(0x1E, 0x2A, 0x44);
const QColor kDesignLabelColour(0x00, 0x00, 0x00);
const QColor kDesignButtonColour(0x1E, 0x2A, 0x44);

// Design-time positions (twips).
constexpr int kTitleLeft = 120, kTitleTop = 240, kTitleWidth = 4560, kTitleHeight = 720;
constexpr int kInfoLeft = 240, kInfoValueLeft = 1380, kInfoHeight = 255;
constexpr int kInfoCaptionWidth = kInfoValueLeft - kInfoLeft - 60;
constexpr int kInfoValueWidth = frmWelcome::kWindowWidth - kInfoValueLeft - 120;
constexpr int kCheckLeft = 240, kCheckSize = 195, kCheckDrop = 30;
constexpr int kResolutionCaptionLeft = 480;
constexpr int kButtonHeight = 375;
constexpr int kMovedExitTop = 1560;
constexpr int kLogoLeft = 2760, kLogoTop = 1080;

constexpr int toPixels(int twips) { return twips / kTwipsPerPixel; }
constexpr int toTwips(int pixels) { return pixels * kTwipsPerPixel; }

QFont fontOfPixels(int pixels, bool bold = false) {
  QFont font(QStringLiteral("Liberation Sans"));
  font.setPixelSize(pixels);
  font.setBold(bold);
  return font;
}

// The shell cannot open a bare host name ("www.example.com") as a web page:
// give such an address the web's scheme.
QString webAddressForShell(const QString& address) {
  const QString trimmed = address.trimmed();
  if (trimmed.contains(QLatin1String("://")) || trimmed.startsWith(QLatin1String("mailto:"), Qt::CaseInsensitive)) {
    return trimmed;
  }
  return QStringLiteral("http://") + trimmed;
}

frmWelcome* g_instance = nullptr;

}  // namespace

frmWelcome* frmWelcome::instance() { return g_instance; }

frmWelcome::frmWelcome(QWidget* parent) : QWidget(parent, Qt::Window | Qt::FramelessWindowHint) {
  if (!g_instance) g_instance = this;
  setObjectName(QStringLiteral("frmWelcome"));
  setAttribute(Qt::WA_DeleteOnClose, false);
  // A held Enter or Space presses a button once.
  platform::markKeyRepeats();
  backColour_ = kDesignBackColour;
  buildControls();
  setWindowSizeTwips(widthTwips_, heightTwips_);
}

frmWelcome::~frmWelcome() {
  if (g_instance == this) g_instance = nullptr;
}

void frmWelcome::buildControls() {
  const QFont labelFont = fontOfPixels(11);

  auto makeLabel = [&](const char* name) {
    auto* label = new QLabel(this);
    label->setObjectName(QLatin1String(name));
    label->setFont(labelFont);
    applyLabelColour(label, kDesignLabelColour);
    return label;
  };
  auto makeClickable = [&](const char* name) {
    auto* label = new ClickableLabel(this);
    label->setObjectName(QLatin1String(name));
    label->setFont(labelFont);
    applyLabelColour(label, kDesignLabelColour);
    return label;
  };

  txtAdventureName = makeLabel("txtAdventureName");
  txtAdventureName->setFont(fontOfPixels(20, true));
  txtAdventureName->setAlignment(Qt::AlignCenter);
  txtAdventureName->setWordWrap(true);
  applyLabelColour(txtAdventureName, kDesignTitleColour);
  placeTwips(txtAdventureName, kTitleLeft, kTitleTop, kTitleWidth, kTitleHeight);

  txtVersion = makeLabel("txtVersion");
  placeTwips(txtVersion, kInfoLeft, kFirstInfoLineTop, kWindowWidth - 2 * kInfoLeft, kInfoHeight);

  lblAuthor = makeLabel("lblAuthor");
  txtAuthor = makeLabel("txtAuthor");
  lblEmail = makeLabel("lblEmail");
  txtEmail = makeClickable("txtEmail");
  lblHomepage = makeLabel("lblHomepage");
  txtHomepage = makeClickable("txtHomepage");
  for (QLabel* caption : {lblAuthor, lblEmail, lblHomepage}) {
    placeTwips(caption, kInfoLeft, kFirstInfoLineTop, kInfoCaptionWidth, kInfoHeight);
    caption->hide();
  }
  for (QLabel* value : {static_cast<QLabel*>(txtAuthor), static_cast<QLabel*>(txtEmail),
                        static_cast<QLabel*>(txtHomepage)}) {
    placeTwips(value, kInfoValueLeft, kFirstInfoLineTop, kInfoValueWidth, kInfoHeight);
    value->hide();
  }
  txtAuthor->setCursor(Qt::ArrowCursor);
  // The links look like links.
  for (QLabel* link : {static_cast<QLabel*>(txtEmail), static_cast<QLabel*>(txtHomepage)}) {
    QFont font = link->font();
    font.setUnderline(true);
    link->setFont(font);
  }

  chkResolution = new QCheckBox(this);
  chkResolution->setObjectName(QStringLiteral("chkResolution"));
  chkResolution->setChecked(true);
  chkResolution->setFocusPolicy(Qt::NoFocus);
  placeTwips(chkResolution, kCheckLeft, kFirstInfoLineTop + kCheckDrop, kCheckSize, kCheckSize);
  chkResolution->hide();
  lblResolution = makeClickable("lblResolution");
  placeTwips(lblResolution, kResolutionCaptionLeft, kFirstInfoLineTop, kWindowWidth - kResolutionCaptionLeft - 120,
             kInfoHeight);
  lblResolution->hide();

  // Design-time captions; the start-up replaces them by the interface texts
  // wherever a text button is used.
  const std::array<QString, 3> designCaptions{QStringLiteral("Start"), QStringLiteral("Load..."),
                                              QStringLiteral("Exit")};
  for (int i = 0; i < 3; ++i) {
    auto* button = makeClickable("lblButton");
    button->setText(designCaptions[i]);
    button->setProperty("Index", i);
    button->setFont(fontOfPixels(15, true));
    applyLabelColour(button, kDesignButtonColour);
    placeTwips(button, kButtonLeft, kButtonTops[i], -1, kButtonHeight);
    lblButton[i] = button;
    connect(button, &ClickableLabel::clicked, this, [this, i] { ClickButton(i); });
  }
  for (int i = 0; i < kSchemePictureSlots; ++i) {
    auto* image = makeClickable("Img");
    image->setProperty("Index", i);
    image->hide();
    Img[i] = image;
    if (i < 3) {
      placeTwips(image, kButtonLeft, kButtonTops[i]);
      connect(image, &ClickableLabel::clicked, this, [this, i] { ClickButton(i); });
    } else {
      // The background picture sits behind everything at the top left; a scheme
      // with colours tiles it over the window instead of showing it.
      placeTwips(image, 0, 0);
      image->setCursor(Qt::ArrowCursor);
      image->lower();
    }
  }

  for (int k = 0; k < 4; ++k) imgLogos[k] = DrawProductLogo(k);
  imgLogo = makeClickable("imgLogo");
  imgLogo->setPixmap(imgLogos[0]);
  placeTwips(imgLogo, kLogoLeft, kLogoTop, toTwips(kLogoWidth), toTwips(kLogoHeight));
  logoVariant_ = 0;

  // Start, Load and Exit, as text or as picture, in that order for Tab.
  QWidget* previous = nullptr;
  for (int i = 0; i < 3; ++i) {
    for (ClickableLabel* button : {lblButton[i], Img[i]}) {
      button->setKeyboardButton(true);
      if (previous) setTabOrder(previous, button);
      previous = button;
    }
  }

  connect(lblResolution, &ClickableLabel::clicked, this, [this] { onResolutionCaptionClicked(); });
  // A click on the box itself is remembered too, as the caption's click is.
  connect(chkResolution, &QCheckBox::clicked, this,
          [](bool checked) { SaveSetting(settings_keys::kChangeResolution, checked ? "1" : "0"); });
  connect(txtEmail, &ClickableLabel::clicked, this, [this] { onEmailClicked(); });
  connect(txtHomepage, &ClickableLabel::clicked, this, [this] { onHomepageClicked(); });
  connect(imgLogo, &ClickableLabel::clicked, this, [this] { onLogoClicked(); });
}

void frmWelcome::applyLabelColour(QLabel* label, const QColor& colour) {
  QPalette palette = label->palette();
  palette.setColor(QPalette::WindowText, colour);
  label->setPalette(palette);
}

void frmWelcome::placeTwips(QWidget* control, int left, int top, int width, int height) {
  const int w = width < 0 ? control->width() : toPixels(width);
  const int h = height < 0 ? control->height() : toPixels(height);
  control->setGeometry(toPixels(left), toPixels(top), w, h);
}

QRect frmWelcome::twipsGeometry(const QWidget* control) {
  const QRect g = control->geometry();
  return {toTwips(g.x()), toTwips(g.y()), toTwips(g.width()), toTwips(g.height())};
}

int frmWelcome::borderAllowanceTwips() const {
  return toTwips(frameGeometry().height() - geometry().height());
}

void frmWelcome::setWindowSizeTwips(int width, int height) {
  widthTwips_ = width;
  heightTwips_ = height;
  resize(toPixels(width), toPixels(height) - toPixels(borderAllowanceTwips()));
}

void frmWelcome::centreOnScreen() {
  topTwips_ = ScreenHeightTwips() / 2 - heightTwips_ / 2;
  leftTwips_ = ScreenWidthTwips() / 2 - widthTwips_ / 2;
  move(toPixels(leftTwips_), toPixels(topTwips_));
}

bool frmWelcome::Load(const QString& projectFolder) {
  bool failed = false;
  auto step = [&failed](auto&& statement) {
    try {
      statement();
    } catch (const std::exception&) {
      failed = true;
    }
  };

  step([&] { centreOnScreen(); });
  step([&] { setWindowSizeTwips(kWindowWidth, heightTwips_); });
  InstallDisplayResolution();
  if (InitializeProject(projectFolder) == StartupResult::EndProgram) return false;
  const ProjectInformation& info = project().info;
  step([&] { SaveSetting(settings_keys::kPath, platform::readableName(project().paths.project)); });

  if (info.startAtOnce) {
    // The welcome window stays invisible: the game starts as if Start were pressed.
    startedAtOnce_ = true;
    setVisible(false);
    ClickButton(kButtonStart);
  } else {
    step([&] {
      if (!info.projectName.isEmpty()) {
        bool ok = false;
        const double value = LoadSetting(settings_keys::kChangeResolution, QStringLiteral("1")).trimmed().toDouble(&ok);
        if (ok && qRound(value) == 0) chkResolution->setChecked(false);
        if (ok && qRound(value) == 1) chkResolution->setChecked(true);
      }
    });
    step([&] { layOutInformation(); });
    step([&] { centreOnScreen(); });
    step([&] { UseScheme(info.schemeName); });
    step([&] {
      lblAuthor->setText(InterfaceText(4));
      lblEmail->setText(InterfaceText(5));
      lblHomepage->setText(InterfaceText(6));
    });
    step([&] { lblResolution->setText(ResolutionOfferCaption(InterfaceText(7), info.projectResolution)); });
    step([&] {
      if (info.noLoading) {
        Img[kButtonLoad]->hide();
        lblButton[kButtonLoad]->hide();
        placeTwips(lblButton[kButtonExit], kButtonLeft, kMovedExitTop);
      }
    });
    step([&] {
      if (lblButton[kButtonLoad]->text().isEmpty()) {
        lblButton[kButtonLoad]->hide();
        placeTwips(lblButton[kButtonExit], kButtonLeft, kMovedExitTop);
      }
    });
    step([&] {
      if (info.hideLogo) {
        imgLogo->hide();
      } else {
        imgLogo->show();
        imgLogo->raise();
      }
    });
    step([&] {
      const int16_t s1 = info.logoSelector1;
      const bool s2 = info.logoSelector2;
      int k = -1;
      if (s1 == 0 && !s2) k = 0;
      if (s1 == 1 && !s2) k = 1;
      if (s1 == 0 && s2) k = 2;
      if (s1 == 1 && s2) k = 3;
      if (k >= 0) {
        imgLogo->setPixmap(imgLogos[k]);
        logoVariant_ = k;
      }
    });
  }

  if (failed) ShowStandardErrorReport(QStringLiteral(" Error loading project information."));
  return !unloaded_;
}

void frmWelcome::layOutInformation() {
  const ProjectInformation& info = project().info;
  int y = kFirstInfoLineTop;
  const int border = borderAllowanceTwips();

  txtAdventureName->setText(info.gameTitle);
  setWindowTitle(info.gameTitle);

  if (!info.versionText.isEmpty()) {
    txtVersion->setText(info.versionText);
    placeTwips(txtVersion, kInfoLeft, y);
    txtVersion->show();
    y += kInfoLineStep;
  } else {
    txtVersion->setText(QString());
    txtVersion->hide();
  }

  const struct {
    const QString& value;
    QLabel* caption;
    QLabel* text;
  } lines[] = {
      {info.authorName, lblAuthor, txtAuthor},
      {info.authorEmail, lblEmail, txtEmail},
      {info.authorWebSite, lblHomepage, txtHomepage},
  };
  for (const auto& line : lines) {
    if (line.value.isEmpty()) continue;
    line.text->setText(line.value);
    line.text->setToolTip(line.value);
    placeTwips(line.text, kInfoValueLeft, y);
    placeTwips(line.caption, kInfoLeft, y);
    line.text->show();
    line.caption->show();
    y += kInfoLineStep;
  }

  if (IsProjectResolutionActive() || info.resolutionOffer != 1) {
    chkResolution->hide();
    lblResolution->hide();
  } else {
    placeTwips(chkResolution, kCheckLeft, y + kCheckDrop);
    placeTwips(lblResolution, kResolutionCaptionLeft, y);
    chkResolution->show();
    lblResolution->show();
    y += kInfoLineStep;
  }

  setWindowSizeTwips(widthTwips_, border + y + kBottomMargin);
}

QString frmWelcome::ResolutionOfferCaption(const QString& text, int projectResolution) {
  QString caption = text;
  if (caption.size() >= 2 && caption.endsWith(QLatin1Char('.'))) caption.chop(1);
  if (caption.size() >= 8) {
    const QString last = caption.right(7);
    if (last.toLower() == QLatin1String("640x480") || last == QLatin1String("640*480")) caption.chop(7);
  }
  if (caption.size() >= 10) {
    const QString last = caption.right(9);
    if (last.toLower() == QLatin1String("640 x 480") || last == QLatin1String("640 * 480")) caption.chop(9);
  }
  while (caption.endsWith(QLatin1Char(' '))) caption.chop(1);
  switch (projectResolution) {
    case 0: caption += QLatin1String(" 640x480."); break;
    case 1: caption += QLatin1String(" 800x600."); break;
    case 2: caption += QLatin1String(" 1024x768."); break;
    default: break;
  }
  return caption;
}

// --- Scheme ------------------------------------------------------------------

void frmWelcome::useTextButton(int index) {
  ClickableLabel* button = lblButton[index];
  button->setText(InterfaceText(index + 1));
  button->adjustSize();
  placeTwips(button, kButtonLeft, twipsGeometry(button).y(), -1, kButtonHeight);
  button->show();
}

bool frmWelcome::loadPicture(ClickableLabel* image, const QString& path) {
  const auto resolved = platform::resolveExisting(path);
  if (!resolved) return false;
  const QImage picture = platform::readImageFile(*resolved);
  if (picture.isNull()) return false;
  image->setPixmap(QPixmap::fromImage(picture));
  image->resize(picture.size());
  return true;
}

void frmWelcome::UseScheme(const QString& schemeName) {
  const QString folder = SchemeFolder(project().paths.schemes, schemeName);
  const SchemeDescription scheme = ReadSchemeDescription(folder);

  if (!scheme.found || scheme.pictureCount == 0) {
    // No usable scheme: plain text buttons.
    for (int i = 0; i < 3; ++i) {
      Img[i]->hide();
      useTextButton(i);
    }
    return;
  }

  for (int i = 0; i < static_cast<int>(scheme.pictures.size()); ++i) {
    ClickableLabel* image = Img[i];
    const QString& name = scheme.pictures[i];
    if (name.isEmpty() || !loadPicture(image, folder + name)) {
      // A missing or unreadable picture leaves the slot without one.
      image->clear();
      image->hide();
    } else {
      image->show();
    }
  }
  for (int i = 0; i < 3; ++i) {
    if (Img[i]->pixmap().isNull()) {
      useTextButton(i);
    } else {
      lblButton[i]->hide();
    }
  }

  if (scheme.colourLevel == 0) return;
  const QPixmap background = Img[kSchemeBackgroundPicture]->pixmap();
  if (scheme.backColour && background.isNull()) backColour_ = ColourFromStored(*scheme.backColour);
  if (scheme.titleColour) applyLabelColour(txtAdventureName, ColourFromStored(*scheme.titleColour));
  if (scheme.labelColour) {
    const QColor colour = ColourFromStored(*scheme.labelColour);
    for (QLabel* label : {static_cast<QLabel*>(lblResolution), txtVersion, lblAuthor, lblEmail, lblHomepage,
                          txtAuthor, static_cast<QLabel*>(txtEmail), static_cast<QLabel*>(txtHomepage)}) {
      applyLabelColour(label, colour);
    }
  }
  if (scheme.buttonColour) {
    const QColor colour = ColourFromStored(*scheme.buttonColour);
    for (ClickableLabel* button : lblButton) applyLabelColour(button, colour);
  }
  Img[kSchemeBackgroundPicture]->hide();
  // The background picture is repeated over the whole window from its top left corner.
  backgroundTile_ = background;
  update();

  if (scheme.hideTitle) txtAdventureName->setVisible(!*scheme.hideTitle);
  if (scheme.logoSelector1) project().info.logoSelector1 = *scheme.logoSelector1;
  if (scheme.logoSelector2) project().info.logoSelector2 = *scheme.logoSelector2;
}

// --- Buttons -----------------------------------------------------------------

void frmWelcome::ClickButton(int index) {
  try {
    switch (index) {
      case kButtonStart: startNewGame(); break;
      case kButtonLoad: openLoadWindow(); break;
      case kButtonExit: close(); break;
      default: break;
    }
  } catch (const std::exception& e) {
    ShowStandardErrorReport(
        QStringLiteral(" Error loading the main program window. Try restarting the program. ") + VbError::describe(e));
    // Started at once, the welcome window was never laid out: with no game
    // window either, nothing would be left on screen, so the program ends.
    if (index == kButtonStart && startedAtOnce_) close();
  }
}

void frmWelcome::startNewGame() {
  const ProjectInformation& info = project().info;
  GameLauncher* launcher = gameLauncher();
  if (!launcher) {
    platform::messageBox(QStringLiteral("This build of the player has no game window yet, so the game cannot be "
                                        "started. The welcome window works; playing arrives with the game window."),
                         platform::MsgButtons::OK, platform::MsgIcon::Information, info.gameTitle);
    // Started at once there is no window left to come back to.
    if (startedAtOnce_) close();
    return;
  }

  const bool wasVisible = isVisible();
  try {
    if (!info.startAtOnce && info.resolutionOffer == 1 && chkResolution->isChecked() && !chkResolution->isHidden()) {
      hide();
      SwitchDisplayResolution(static_cast<int16_t>(info.projectResolution + 1));
    }
    launcher->LoadGameWindow();
    launcher->ResetAll();
    hide();
    launcher->StartNewGame();
    launcher->ShowGameWindow();
  } catch (...) {
    // The game window did not come up: give the player the welcome window back.
    if (wasVisible) show();
    throw;
  }
}

void frmWelcome::openLoadWindow() {
  GameLauncher* launcher = gameLauncher();
  if (!launcher) {
    platform::messageBox(QStringLiteral("This build of the player has no load-game window yet, so saved games "
                                        "cannot be loaded."),
                         platform::MsgButtons::OK, platform::MsgIcon::Information, project().info.gameTitle);
    return;
  }
  setTopmost(false);
  launcher->ShowLoadGameWindow();
  // Back from the modal load window: in front again, as on any activation.
  if (isVisible()) setTopmost(true);
}

// --- Links -------------------------------------------------------------------

void frmWelcome::onResolutionCaptionClicked() {
  chkResolution->setChecked(!chkResolution->isChecked());
  SaveSetting(settings_keys::kChangeResolution, chkResolution->isChecked() ? QStringLiteral("1") : QStringLiteral("0"));
}

void frmWelcome::onEmailClicked() {
  try {
    setTopmost(false);
    const QString address = txtEmail->text();
    const auto answer = platform::messageBox(InterfaceText(13) + QLatin1Char(' ') + address + QLatin1String(" ?"),
                                             platform::MsgButtons::YesNo, platform::MsgIcon::Question,
                                             project().info.gameTitle);
    if (answer == platform::MsgResult::No) {
      setTopmost(true);
      return;
    }
    platform::shellOpen(QStringLiteral("mailto:") + address);
  } catch (const std::exception&) {
    // A failing mail link does nothing more.
  }
}

void frmWelcome::onHomepageClicked() {
  setTopmost(false);
  const QString address = txtHomepage->text();
  const auto answer = platform::messageBox(
      InterfaceText(14) + QLatin1Char(' ') + address + QLatin1String(" ? ") + InterfaceText(15),
      platform::MsgButtons::YesNo, platform::MsgIcon::Question, project().info.gameTitle);
  if (answer == platform::MsgResult::No) {
    setTopmost(true);
    return;
  }
  platform::shellOpen(webAddressForShell(address));
}

void frmWelcome::onLogoClicked() {
  setTopmost(false);
  const QString site = QString::fromUtf8(kProductWebSite);
  const auto answer = platform::messageBox(
      QStringLiteral("For details and downloads, visit: ") + site +
          QStringLiteral("\r\n\r\nDo you want to visit it now? (You must be connected to the Internet)"),
      platform::MsgButtons::YesNo, platform::MsgIcon::Information, QStringLiteral("Quillmere"));
  if (answer == platform::MsgResult::No) {
    setTopmost(true);
    return;
  }
  platform::shellOpen(site);
}

// --- Window behaviour --------------------------------------------------------

void frmWelcome::setTopmost(bool topmost) {
  if (topmost_ == topmost) return;
  topmost_ = topmost;
  // Change the flag in place: setWindowFlags() would re-create and hide the window.
  Qt::WindowFlags flags = windowFlags();
  flags.setFlag(Qt::WindowStaysOnTopHint, topmost);
  overrideWindowFlags(flags);
  if (QWindow* window = windowHandle()) window->setFlags(flags);
}

void frmWelcome::showEvent(QShowEvent* event) {
  QWidget::showEvent(event);
  setTopmost(true);
  // The keyboard works here at once: the window takes the keys, Start first.
  for (ClickableLabel* start : {lblButton[kButtonStart], Img[kButtonStart]}) {
    if (!start->isHidden()) {
      start->setFocus(Qt::ActiveWindowFocusReason);
      break;
    }
  }
  activateWindow();
}

void frmWelcome::paintEvent(QPaintEvent* event) {
  QWidget::paintEvent(event);
  QPainter painter(this);
  painter.fillRect(rect(), backColour_);
  if (!backgroundTile_.isNull()) painter.drawTiledPixmap(rect(), backgroundTile_);
  painter.end();
  if (!painted_) {
    painted_ = true;
    emit firstPainted();
  }
}

void frmWelcome::keyPressEvent(QKeyEvent* event) {
  // Esc is Exit, wherever the focus is.
  if (event->key() == Qt::Key_Escape) {
    event->accept();
    if (!event->isAutoRepeat()) ClickButton(kButtonExit);
    return;
  }
  QWidget::keyPressEvent(event);
}

// A press on the background or on a plain label (they pass it on to the window)
// starts moving the borderless window.
void frmWelcome::mousePressEvent(QMouseEvent* event) {
  if (event->button() != Qt::LeftButton) {
    QWidget::mousePressEvent(event);
    return;
  }
  event->accept();
  if (QWindow* window = windowHandle(); window && isVisible() && window->startSystemMove()) return;
  dragOffset_ = event->globalPosition().toPoint() - pos();
}

void frmWelcome::mouseMoveEvent(QMouseEvent* event) {
  if (dragOffset_ && (event->buttons() & Qt::LeftButton)) {
    move(event->globalPosition().toPoint() - *dragOffset_);
    event->accept();
    return;
  }
  QWidget::mouseMoveEvent(event);
}

void frmWelcome::mouseReleaseEvent(QMouseEvent* event) {
  if (event->button() == Qt::LeftButton) dragOffset_.reset();
  QWidget::mouseReleaseEvent(event);
}

void frmWelcome::closeEvent(QCloseEvent* event) {
  event->accept();
  if (unloaded_) return;
  unloaded_ = true;
  emit unloaded();
}

}  // namespace qm::startup
