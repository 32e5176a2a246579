// The CD prompt: asks the player to insert a CD (or pick the folder that
// holds it). A list of the drives with their letters, kinds and folders, and
// a "Choose folder…" line that opens a folder picker; OK stores the chosen
// letter when its drive is there (else the "device is unavailable" warning),
// Cancel stops the game. Stays on top and can be dragged from anywhere.
#pragma once

#include <QDialog>
#include <QPoint>

#include "platform/DialogService.h"

class QComboBox;
class QLabel;
class QPushButton;

namespace qm::distribution {

class CdDrives;

class frmRunFromCD : public QDialog, public platform::ModalWindow {
  Q_OBJECT
 public:
  explicit frmRunFromCD(CdDrives& drives, QWidget* parent = nullptr);

  // Texts, position and the drive list (the last optical drive preselected).
  void Form_Load();
  void Command3_Click();  // OK
  void Command4_Click();  // Cancel

  // The drive list (Combo1): its lines and the text in its box.
  QStringList driveLines() const;
  QString driveText() const;
  void setDriveText(const QString& text);
  // Picking line i of the list; the last line is "Choose folder…".
  void pickLine(int i);
  int chooseFolderLine() const { return static_cast<int>(driveLines().size()) - 1; }

  QString message() const;
  void setMessage(const QString& text);
  QString driveLabel() const;
  QString cancelCaption() const;

  // ModalWindow
  QString modalTitle() const override { return windowTitle(); }
  QString modalText() const override { return message(); }
  bool isOpen() const override { return open_; }
  void closeWithoutAnswer() override { Command4_Click(); }
  void execOnScreen() override;

 protected:
  void showEvent(QShowEvent* event) override;
  void mousePressEvent(QMouseEvent* event) override;
  void mouseMoveEvent(QMouseEvent* event) override;
  bool eventFilter(QObject* watched, QEvent* event) override;
  void reject() override { Command4_Click(); }

 private:
  void fillDriveList();
  void finish();

  CdDrives& drives_;
  QComboBox* Combo1;
  QLabel* lblDrive;
  QLabel* lblMessage;
  QPushButton* Command3;
  QPushButton* Command4;
  bool open_ = true;
  QPoint dragFrom_;
  QString textBeforePick_;
};

// The list's last line.
inline constexpr char16_t kChooseFolderLine[] = u"Choose folder\u2026";

}  // namespace qm::distribution
