#include "distribution/frmRunFromCD.h"


#include <QComboBox>
#include <QDir>
#include <QGuiApplication>
#include <QLabel>
#include <QLineEdit>
#include <QMouseEvent>
#include <QPushButton>
#include <QScreen>
#include <QVBoxLayout>

#include "distribution/CdDrives.h"
#include "platform/FileResolver.h"
#include "platform/InterfaceScale.h"
#include "startup/Project.h"
#include "startup/Settings.h"
#include "platform/NativeFile.h"

namespace qm::distribution {

frmRunFromCD::frmRunFromCD(CdDrives& drives, QWidget* parent)
    : QDialog(parent, Qt::Dialog | Qt::WindowStaysOnTopHint), drives_(drives) {
  setObjectName(QStringLiteral("frmRunFromCD"));
  setModal(true);
  lblMessage = new QLabel(this);
  lblMessage->setWordWrap(true);
  lblDrive = new QLabel(this);
  Combo1 = new QComboBox(this);
  Combo1->setEditable(true);
  Command3 = new QPushButton(QStringLiteral("OK"), this);
  Command4 = new QPushButton(this);
  Command3->setDefault(true);
  auto* layout = new QVBoxLayout(this);
  layout->addWidget(lblMessage);
  layout->addWidget(lblDrive);
  layout->addWidget(Combo1);
  auto* buttons = new QHBoxLayout;
  buttons->addStretch();
  buttons->addWidget(Command3);
  buttons->addWidget(Command4);
  layout->addLayout(buttons);
  for (QLabel* l : {lblMessage, lblDrive}) l->installEventFilter(this);
  connect(Command3, &QPushButton::clicked, this, [this] { Command3_Click(); });
  connect(Command4, &QPushButton::clicked, this, [this] { Command4_Click(); });
  connect(Combo1, &QComboBox::activated, this, [this](int i) { pickLine(i); });
}

void frmRunFromCD::Form_Load() {
  setWindowTitle(startup::project().info.gameTitle);
  platform::ScaleInterfaceWindow(*this);
  lblDrive->setText(startup::InterfaceText(37));
  Command4->setText(startup::InterfaceText(11));
  fillDriveList();
  adjustSize();
  if (QScreen* screen = QGuiApplication::primaryScreen()) {
    const QRect s = screen->geometry();
    move(s.center() - rect().center());
  }
}

void frmRunFromCD::fillDriveList() {
  Combo1->clear();
  QString preselected;
  for (const DriveVolume& v : drives_.volumes()) {
    // Letter, kind and the folder the letter stands for.
    Combo1->addItem(v.letter + QStringLiteral(":\\ ") + CdDrives::kindText(v.kind) + QStringLiteral("  ") +
                    QDir::toNativeSeparators(v.root));
    if (v.kind == kOptical) preselected = v.letter + QStringLiteral(":\\");
  }
  Combo1->addItem(QString::fromUtf16(kChooseFolderLine));
  Combo1->setEditText(preselected);
}

QStringList frmRunFromCD::driveLines() const {
  QStringList lines;
  for (int i = 0; i < Combo1->count(); ++i) lines << Combo1->itemText(i);
  return lines;
}

QString frmRunFromCD::driveText() const { return Combo1->currentText(); }
void frmRunFromCD::setDriveText(const QString& text) {
  Combo1->setEditText(text);
  textBeforePick_ = text;
}

void frmRunFromCD::pickLine(int i) {
  if (i < 0 || i >= Combo1->count()) return;
  if (i != chooseFolderLine()) {
    setDriveText(Combo1->itemText(i));
    return;
  }
  platform::FolderRequest request;
  request.title = startup::InterfaceText(37);
  request.startFolder = QDir::homePath();
  const auto folder = platform::dialogs().askFolder(request);
  const QChar letter = folder ? drives_.rememberFolder(*folder) : QChar();
  const QString keep = textBeforePick_;
  fillDriveList();
  setDriveText(letter.isNull() ? keep : letter + QStringLiteral(":\\"));
}

QString frmRunFromCD::message() const { return lblMessage->text(); }
void frmRunFromCD::setMessage(const QString& text) { lblMessage->setText(text); }
QString frmRunFromCD::driveLabel() const { return lblDrive->text(); }
QString frmRunFromCD::cancelCaption() const { return Command4->text(); }

void frmRunFromCD::Command3_Click() {
  const QString text = driveText();
  const QString letter = text.left(1);
  const auto drive = letter.isEmpty() ? std::nullopt : drives_.volume(letter[0]);
  // The player's own check of a volume (not a file the game names): not confined.
  if (drive && platform::isFolderAt(drive->root)) {
    startup::SaveSetting(QString::fromLatin1(startup::settings_keys::kDriveLetter), letter);
    finish();
    return;
  }
  platform::messageBox(startup::InterfaceText(38), platform::MsgButtons::OK, platform::MsgIcon::Warning,
                       startup::project().info.gameTitle);
}

void frmRunFromCD::Command4_Click() {
  startup::SetGameStopped(true);
  finish();
}

void frmRunFromCD::finish() {
  open_ = false;
  if (isVisible()) done(0);
}

void frmRunFromCD::execOnScreen() {
  if (open_) exec();
}

void frmRunFromCD::showEvent(QShowEvent* event) {
  QDialog::showEvent(event);
  raise();
  activateWindow();
}

// Dragging anywhere on the window or its labels moves it.
void frmRunFromCD::mousePressEvent(QMouseEvent* event) {
  if (event->button() == Qt::LeftButton) dragFrom_ = event->globalPosition().toPoint() - frameGeometry().topLeft();
  QDialog::mousePressEvent(event);
}

void frmRunFromCD::mouseMoveEvent(QMouseEvent* event) {
  if (event->buttons() & Qt::LeftButton) move(event->globalPosition().toPoint() - dragFrom_);
  QDialog::mouseMoveEvent(event);
}

bool frmRunFromCD::eventFilter(QObject* watched, QEvent* event) {
  if (event->type() == QEvent::MouseButtonPress) mousePressEvent(static_cast<QMouseEvent*>(event));
  else if (event->type() == QEvent::MouseMove) mouseMoveEvent(static_cast<QMouseEvent*>(event));
  return QDialog::eventFilter(watched, event);
}

}  // namespace qm::distribution
