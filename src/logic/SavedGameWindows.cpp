// The load and save windows: their controls, texts and buttons. What the
// buttons do lives in SavedGames.
#include <QFileInfo>
#include <QGuiApplication>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QScreen>
#include <QVBoxLayout>

#include "logic/SavedGameList.h"
#include "logic/SavedGames.h"
#include "logic/frmLoadGame.h"
#include "logic/frmSaveGame.h"
#include "platform/DialogService.h"
#include "platform/InterfaceScale.h"
#include "startup/Project.h"

namespace qm::logic {

using startup::InterfaceText;

namespace {

// Sizes at the interface's own size; the windows grow with the game picture.
constexpr QSize kPreviewSize(320, 240);
constexpr QSize kLoadWindowSize(640, 320);
constexpr QSize kSaveWindowSize(520, 360);

// In the middle of the work area, and no larger than it.
void centreOnScreen(QWidget& w) {
  if (QScreen* screen = QGuiApplication::primaryScreen()) {
    const QRect s = screen->availableGeometry();
    w.resize(w.size().boundedTo(s.size()));
    w.move(s.center() - QPoint(w.width() / 2, w.height() / 2));
  }
}

// The preview at the interface's size, but leaving the list at least half the screen's width.
QSize previewSize() {
  QSize size = platform::InterfaceSize(kPreviewSize);
  if (QScreen* screen = QGuiApplication::primaryScreen())
    size = size.scaled(size.boundedTo(screen->availableGeometry().size() / 2), Qt::KeepAspectRatio);
  return size;
}

void pleaseSelect(int titleText) {
  platform::messageBox(InterfaceText(9), platform::MsgButtons::OK, platform::MsgIcon::Information,
                       InterfaceText(titleText));
}

}  // namespace

// ---- Load window ----------------------------------------------------------------------

frmLoadGame::frmLoadGame(SavedGames& savedGames, QWidget* parent) : QDialog(parent), savedGames_(savedGames) {
  setObjectName(QStringLiteral("frmLoadGame"));
  setWindowTitle(InterfaceText(17));
  lblPrompt = new QLabel(InterfaceText(18), this);
  List1 = new SavedGameList(this);
  picPreview = new QLabel(this);
  picPreview->setObjectName(QStringLiteral("picPreview"));
  picPreview->setFixedSize(previewSize());
  picPreview->setAlignment(Qt::AlignCenter);
  picPreview->setWordWrap(true);
  picPreview->setStyleSheet(QStringLiteral("background: #202020; color: #d0d0d0;"));
  Command2 = new QPushButton(InterfaceText(19), this);
  Command1 = new QPushButton(InterfaceText(11), this);
  Command2->setDefault(true);

  auto* listAndPreview = new QHBoxLayout;
  listAndPreview->addWidget(List1, 1);
  listAndPreview->addWidget(picPreview, 0, Qt::AlignTop);
  auto* buttons = new QHBoxLayout;
  buttons->addStretch(1);
  buttons->addWidget(Command2);
  buttons->addWidget(Command1);
  auto* layout = new QVBoxLayout(this);
  layout->addWidget(lblPrompt);
  layout->addLayout(listAndPreview, 1);
  layout->addLayout(buttons);
  platform::ScaleInterfaceWindow(*this);
  resize(platform::InterfaceSize(kLoadWindowSize));

  connect(Command2, &QPushButton::clicked, this, [this] { loadSelected(); });
  connect(Command1, &QPushButton::clicked, this, [this] { cancel(); });
  connect(List1, &QTreeWidget::itemDoubleClicked, this, [this] { loadSelected(); });
  // On the selection, not the current row: a mouse press makes the row current
  // before it selects it, so at that moment nothing is selected yet.
  connect(List1, &QTreeWidget::itemSelectionChanged, this, [this] { showPreview(); });
  // Closing the window is a Cancel.
  connect(this, &QDialog::rejected, this, [this] { savedGames_.setLoadCancelled(true); });
}

void frmLoadGame::LoadSaveGames() {
  List1->fill(savedGames_.LoadSaveGames());
  showPreview();
}

void frmLoadGame::showEvent(QShowEvent* event) {
  QDialog::showEvent(event);
  centreOnScreen(*this);
}

void frmLoadGame::showPreview() {
  const SavedGameEntry* e = List1->selectedEntry();
  if (!e) {
    picPreview->setPixmap(QPixmap());
    picPreview->setText(QString());
    return;
  }
  // A picture older than its saved game belongs to an earlier save of that name.
  const QString preview = SavedGames::previewPath(e->path);
  const QFileInfo info(preview);
  QPixmap picture;
  if (info.exists() && info.lastModified().addSecs(5) >= e->modified) picture.load(preview);
  if (picture.isNull()) {
    picPreview->setPixmap(QPixmap());
    picPreview->setText(e->name);
  } else {
    picPreview->setPixmap(picture.scaled(picPreview->size(), Qt::KeepAspectRatio, Qt::SmoothTransformation));
  }
}

void frmLoadGame::loadSelected() {
  setEnabled(false);
  const SavedGameEntry* selected = List1->selectedEntry();
  if (!selected) {
    pleaseSelect(17);
    setEnabled(true);
    return;
  }
  const SavedGameEntry entry = *selected;
  savedGames_.setLoadCancelled(false);
  savedGames_.LoadGame(entry, this);
  setEnabled(true);
}

void frmLoadGame::cancel() {
  savedGames_.setLoadCancelled(true);
  reject();
}

// ---- Save window ------------------------------------------------------------------------

frmSaveGame::frmSaveGame(SavedGames& savedGames, QWidget* parent) : QDialog(parent), savedGames_(savedGames) {
  setObjectName(QStringLiteral("frmSaveGame"));
  setWindowTitle(InterfaceText(21));
  lblPrompt = new QLabel(InterfaceText(23), this);
  Text1 = new QLineEdit(this);
  Text1->setObjectName(QStringLiteral("Text1"));
  List1 = new SavedGameList(this);
  Command2 = new QPushButton(InterfaceText(25), this);
  Command3 = new QPushButton(InterfaceText(22), this);
  Command1 = new QPushButton(InterfaceText(11), this);
  Command2->setDefault(true);

  auto* buttons = new QHBoxLayout;
  buttons->addWidget(Command3);
  buttons->addStretch(1);
  buttons->addWidget(Command2);
  buttons->addWidget(Command1);
  auto* layout = new QVBoxLayout(this);
  layout->addWidget(lblPrompt);
  layout->addWidget(Text1);
  layout->addWidget(List1, 1);
  layout->addLayout(buttons);
  platform::ScaleInterfaceWindow(*this);
  resize(platform::InterfaceSize(kSaveWindowSize));

  connect(Command2, &QPushButton::clicked, this, [this] { save(); });
  connect(Command3, &QPushButton::clicked, this, [this] { removeSelected(); });
  connect(Command1, &QPushButton::clicked, this, [this] { hide(), reject(); });
  connect(List1, &QTreeWidget::itemClicked, this, [this](QTreeWidgetItem* row) { Text1->setText(row->text(0)); });
  connect(List1, &QTreeWidget::itemDoubleClicked, this, [this](QTreeWidgetItem* row) {
    Text1->setText(row->text(0));
    save();
  });
}

void frmSaveGame::LoadSaveGames() { List1->fill(savedGames_.LoadSaveGames()); }

void frmSaveGame::showEvent(QShowEvent* event) {
  QDialog::showEvent(event);
  centreOnScreen(*this);
  Text1->setFocus();
}

void frmSaveGame::save() {
  if (savedGames_.SaveGame(Text1->text()) == SavedGames::SaveResult::Saved) accept();
}

void frmSaveGame::removeSelected() {
  const SavedGameEntry* selected = List1->selectedEntry();
  if (!selected) {
    pleaseSelect(26);
    return;
  }
  if (savedGames_.RemoveSavedGame(*selected)) LoadSaveGames();
}

}  // namespace qm::logic
