// The save-game window: a name box, the saved games with their dates and
// frames, SAVE, Remove Selected and Cancel.
#pragma once

#include <QDialog>

class QLabel;
class QLineEdit;
class QPushButton;

namespace qm::logic {

class SavedGameList;
class SavedGames;

class frmSaveGame : public QDialog {
  Q_OBJECT
 public:
  frmSaveGame(SavedGames& savedGames, QWidget* parent);
  // Fills List1 with the saved games.
  void LoadSaveGames();

  QLabel* lblPrompt = nullptr;
  QLineEdit* Text1 = nullptr;
  SavedGameList* List1 = nullptr;
  QPushButton* Command2 = nullptr;  // SAVE
  QPushButton* Command3 = nullptr;  // Remove Selected
  QPushButton* Command1 = nullptr;  // Cancel

 protected:
  void showEvent(QShowEvent* event) override;

 private:
  void save();
  void removeSelected();

  SavedGames& savedGames_;
};

}  // namespace qm::logic
