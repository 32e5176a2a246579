// Saved games: saving the game under a name, listing, removing and loading
// saved games, and the save and load windows that do it for the player.
//
// A saved game is the file NAME.sav. It is kept in the game's folder when that
// folder is writable; when it is not (a game installed read-only, played from
// a disc, or unpacked from its archive), in the user's data folder,
// $XDG_DATA_HOME/quillmere/saves/<project name>/. The windows list both
// places, newest first. Every save is written to a temporary file beside the
// old one and renamed over it, so a failure half-way never destroys the
// previous save.
//
// Beside each save, in the user's data folder (never in the game's), a small
// picture of the frame as it was when saved; the load window shows it.
#pragma once

#include <QDateTime>
#include <QImage>
#include <QString>
#include <functional>
#include <optional>
#include <vector>

#include "logic/SavedGameFile.h"

class QDialog;

namespace qm::engine {
class Game;
}

namespace qm::logic {

class frmLoadGame;
class frmSaveGame;

struct SavedGameEntry {
  QString name;        // the file name without ".sav"
  QString path;        // native path of the file
  QDateTime modified;  // when it was saved
  QString frame;       // the frame it resumes at ("" when unreadable)
};

class SavedGames {
 public:
  explicit SavedGames(engine::Game& game);
  ~SavedGames();

  // ---- Where saves are ---------------------------------------------------------
  // The folder new saves go to (native, ending in '/').
  QString saveFolder() const;
  bool projectFolderWritable() const;
  // $XDG_DATA_HOME/quillmere/saves/<project name>/ (not created).
  static QString userSaveFolder();
  // The preview picture kept for a saved game file.
  static QString previewPath(const QString& savedGamePath);
  // Saved games of both places, newest first; a name saved in both places is
  // listed once, from the folder new saves go to.
  std::vector<SavedGameEntry> LoadSaveGames() const;
  std::optional<SavedGameEntry> findSavedGame(const QString& name) const;

  // ---- Saving ------------------------------------------------------------------
  enum class SaveResult { Saved, Refused, Cancelled, Failed };
  // What the SAVE button does with the typed name: the name checks, the
  // replace question, the file (and its preview).
  SaveResult SaveGame(const QString& name);
  // The state of the running game, as it is saved.
  SavedGameData currentState() const;
  // Removes a saved game after asking; true when it was removed.
  bool RemoveSavedGame(const SavedGameEntry& entry);

  // ---- Loading -----------------------------------------------------------------
  // Resets the game and resumes the saved one; false when the file could not be
  // read whole (the error report was shown; what was read stays applied and
  // the game goes on).
  // The window (if any) is closed once the file was read.
  bool LoadGame(const SavedGameEntry& entry, QDialog* window = nullptr);
  // The frame to open for a saved frame name (the Resume table of Config\).
  static QString GetResumeLocation(const QString& sFrameName);

  // ---- The windows -------------------------------------------------------------
  void ShowSaveGameWindow();
  void ShowLoadGameWindow(bool bAbortIfATimerIsEnabled);
  // The welcome window's Load button: the list filled, the window shown.
  void ShowLoadGameWindowFromWelcome();
  bool loadCancelled() const { return cancelled_; }
  void setLoadCancelled(bool c) { cancelled_ = c; }

  // Called with each save or load window once it is on screen (walkthroughs
  // answer the window through it); the window is closed afterwards if the
  // hook left it open.
  static void setWindowHook(std::function<void(QDialog&)> hook);
  // Tests: runs between writing the temporary file and renaming it; an
  // exception thrown here models a crash at that moment.
  static void setBeforeReplaceHook(std::function<void()> hook);
  // Tests: the fixed waits of loading (1.8 s in all) are skipped.
  static void setSkipFixedWaits(bool skip);
  // Tests: pretend the game's folder is (not) writable.
  static void setProjectFolderWritableOverride(std::optional<bool> writable);

 private:
  void writeSaveFile(const QString& path, const QByteArray& bytes);
  void writePreview(const QString& savedGamePath);
  void applySavedGame(const SavedGameData& data);
  void runModal(QDialog& window);
  void pause(int milliseconds);

  engine::Game& game_;
  bool cancelled_ = false;
};

}  // namespace qm::logic
