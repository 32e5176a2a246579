// The load-game window: the saved games, newest first, with a picture of the
// selected one's frame as it was when saved; LOAD resumes the selected game.
#pragma once

#include <QDialog>

class QLabel;
class QPushButton;

namespace qm::logic {

class SavedGameList;
class SavedGames;

class frmLoadGame : public QDialog {
  Q_OBJECT
 public:
  frmLoadGame(SavedGames& savedGames, QWidget* parent);
  // Fills List1 with the saved games.
  void LoadSaveGames();

  SavedGameList* List1 = nullptr;
  QLabel* lblPrompt = nullptr;
  QLabel* picPreview = nullptr;
  QPushButton* Command2 = nullptr;  // LOAD
  QPushButton* Command1 = nullptr;  // Cancel

 protected:
  void showEvent(QShowEvent* event) override;

 private:
  void loadSelected();
  void cancel();
  void showPreview();

  SavedGames& savedGames_;
};

}  // namespace qm::logic
