// Running a game whose large frame and hotspot files stay on one or more CDs.
// The last fallback of the media-file locator: a file that is neither in the
// project folder nor under its stored names is looked for on the CD drive
// (the letter in the settings, DriveLetter), through the CD index. When the
// right CD is not there, the game's activity stops and the CD prompt asks for
// it until the file is found or the player cancels (the game then stops).
//
// Drive letters stand for volumes and folders (CdDrives). A CD path never
// leaves its drive: ".." names and links out of the drive count as missing.
#pragma once

#include <QString>
#include <functional>

#include "distribution/CdDrives.h"
#include "distribution/CdIndex.h"

namespace qm::distribution {

class RunFromCD {
 public:
  // Reads the index when the game has both "RunFromCD.dat" and Config\CDContents;
  // otherwise, or after a reading error (reported), the index is empty.
  void LoadCDIndex();
  // The path to use for a project file that was not found: on the CD, under
  // its stored name, or the path itself. May show the CD prompt.
  QString LocateOnCD(const QString& path);
  // FramesPath for "1", AreasPath for "2", "" otherwise.
  static QString FolderOfType(const QString& type);
  QString DetectCdRomDrive() const { return drives_.DetectCdRomDrive(); }

  CdDrives& drives() { return drives_; }
  const CdIndex& index() const { return index_; }
  void clearIndex() { index_ = {}; }

  // The existing file at cdPath ("Data\Title\Frames\x.223") on the drive of
  // that letter, inside the drive; "" when there is none.
  QString fileOnDrive(const QString& letter, const QString& cdPath) const;

  // What the CD prompt needs of the game being played: the prompt stops every
  // activity while it waits for a disc, and once the disc is in starts again
  // the game's timers that ran before. The hook notes which of them run now
  // and returns what starts them again. Empty while no game is played.
  using GameTimers = std::function<std::function<void()>()>;
  void setGameTimers(GameTimers noteRunning) { gameTimers_ = std::move(noteRunning); }

 private:
  QString shownPath(const QString& letter, const QString& cdPath) const;
  QString askForCd(const CdIndexEntry& entry, const QString& cdPath, QString letter);

  CdIndex index_;
  CdDrives drives_;
  GameTimers gameTimers_;
};

// The one CD locator of the running game.
RunFromCD& runFromCD();

}  // namespace qm::distribution
