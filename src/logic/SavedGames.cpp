#include "logic/SavedGames.h"

#include <QApplication>
#include <QCheckBox>
#include <QCryptographicHash>
#include <QDialog>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QSaveFile>
#include <QTimer>
#include <algorithm>
#include <cstdio>
#include <cerrno>
#include <unistd.h>

#include "distribution/GameArchive.h"
#include "engine/Game.h"
#include "engine/GameDisplay.h"
#include "logic/GameLogic.h"
#include "logic/Inventory.h"
#include "logic/frmLoadGame.h"
#include "logic/frmSaveGame.h"
#include "platform/DialogService.h"
#include "platform/FileConfinement.h"
#include "platform/FileResolver.h"
#include "platform/NativeFile.h"
#include "platform/NativeName.h"
#include "platform/VbError.h"
#include "script/DialogueRunner.h"
#include "script/ScriptHost.h"
#include "script/TimedEvents.h"
#include "startup/DisplayResolution.h"
#include "startup/ErrorReport.h"
#include "startup/Project.h"
#include "startup/RecordReader.h"
#include "startup/Waiting.h"
#include "startup/frmWelcome.h"

namespace qm::logic {

using engine::Game;
using startup::InterfaceText;
using startup::project;

namespace {

std::function<void(QDialog&)>& windowHook() {
  static std::function<void(QDialog&)> hook;
  return hook;
}
std::function<void()>& beforeReplaceHook() {
  static std::function<void()> hook;
  return hook;
}
bool gSkipWaits = false;
std::optional<bool> gWritableOverride;

const QString kForbiddenCharacters = QStringLiteral("\"\\/:*?<>|,");
// How the forbidden characters are shown to the player.
const QString kForbiddenList = QStringLiteral("\" \\ / : * ? < > | ,");
constexpr int kFrameFieldBytes = 4096;

QString withSlash(QString folder) {
  if (!folder.endsWith('/')) folder += '/';
  return folder;
}

QString dataHome() {
  const QString xdg = QFile::decodeName(qgetenv("XDG_DATA_HOME"));
  if (!xdg.isEmpty() && QDir::isAbsolutePath(xdg)) return withSlash(xdg);
  return withSlash(QDir::homePath()) + QStringLiteral(".local/share/");
}

// A project name as a folder name: no separators, nothing hidden.
QString folderNameOf(const QString& projectName) {
  QString name = projectName;
  for (QChar& c : name)
    if (c == '/' || c == '\\' || c.unicode() < 32) c = '_';
  while (name.startsWith('.')) name.remove(0, 1);
  return name.isEmpty() ? QStringLiteral("game") : name;
}

// Opens a saved game: a regular file whose real path lies in the folder it
// was listed in (a link leading elsewhere, a pipe or a device is no save).
bool openSavedGame(QFile& file, const QString& path) {
  const QStringList within{platform::realPathOf(path.left(path.lastIndexOf(u'/') + 1))};
  return platform::openForReadingWithin(file, path, within);
}

// The saved games of a folder, by the bytes of their names: a save copied from
// an old disc may be named in Windows-1252; it shows under its readable name.
std::vector<SavedGameEntry> listFolder(const QString& folder) {
  std::vector<SavedGameEntry> out;
  if (!platform::isFolderAt(folder)) return out;
  const QString base = withSlash(folder);
  for (const QString& fileName : platform::entriesOf(base).value_or(QStringList())) {
    if (fileName.size() <= 4 || !fileName.endsWith(QLatin1String(".sav"), Qt::CaseInsensitive)) continue;
    SavedGameEntry e;
    e.path = base + fileName;
    QFile file;
    if (!openSavedGame(file, e.path)) continue;
    const auto stamp = platform::stampOf(e.path);
    if (!stamp) continue;
    e.name = platform::readableName(fileName.left(fileName.size() - 4));
    e.modified = stamp->modified;
    e.frame = savedGameFrame(file.read(kFrameFieldBytes));
    out.push_back(std::move(e));
  }
  return out;
}

void letEventsRun() { QCoreApplication::processEvents(); }

}  // namespace

SavedGames::SavedGames(Game& game) : game_(game) {}
SavedGames::~SavedGames() = default;

void SavedGames::setWindowHook(std::function<void(QDialog&)> hook) { windowHook() = std::move(hook); }
void SavedGames::setBeforeReplaceHook(std::function<void()> hook) { beforeReplaceHook() = std::move(hook); }
void SavedGames::setSkipFixedWaits(bool skip) { gSkipWaits = skip; }
void SavedGames::setProjectFolderWritableOverride(std::optional<bool> writable) { gWritableOverride = writable; }

// ---- Where saves are ------------------------------------------------------------------

bool SavedGames::projectFolderWritable() const {
  if (gWritableOverride) return *gWritableOverride;
  const QString folder = project().paths.project;
  // A game unpacked from its archive is as read-only as the archive: its saves
  // never go into the shared cache.
  if (distribution::isUnpackedArchiveFolder(folder)) return false;
  return !folder.isEmpty() && ::access(platform::bytesOfName(folder).constData(), W_OK) == 0;
}

QString SavedGames::userSaveFolder() {
  return dataHome() + QStringLiteral("quillmere/saves/") + folderNameOf(project().info.projectName) + '/';
}

QString SavedGames::saveFolder() const {
  return projectFolderWritable() ? withSlash(project().paths.project) : userSaveFolder();
}

QString SavedGames::previewPath(const QString& savedGamePath) {
  const QByteArray key = QCryptographicHash::hash(platform::bytesOfName(QFileInfo(savedGamePath).absoluteFilePath()),
                                                  QCryptographicHash::Sha1).toHex();
  return dataHome() + QStringLiteral("quillmere/previews/") + folderNameOf(project().info.projectName) + '/' +
         QString::fromLatin1(key) + QStringLiteral(".jpg");
}

std::vector<SavedGameEntry> SavedGames::LoadSaveGames() const {
  const QString main = saveFolder();
  const QString project = withSlash(startup::project().paths.project);
  const QString other = main == project ? userSaveFolder() : project;
  std::vector<SavedGameEntry> all = listFolder(main);
  for (auto& e : listFolder(other)) {
    const bool shadowed = std::any_of(all.begin(), all.end(), [&](const SavedGameEntry& m) { return m.name == e.name; });
    if (!shadowed) all.push_back(std::move(e));
  }
  // Newest first; equal times keep their listing order.
  std::stable_sort(all.begin(), all.end(),
                   [](const SavedGameEntry& a, const SavedGameEntry& b) { return a.modified > b.modified; });
  return all;
}

std::optional<SavedGameEntry> SavedGames::findSavedGame(const QString& name) const {
  for (auto& e : LoadSaveGames())
    if (e.name == name) return e;
  return std::nullopt;
}

// ---- Saving -------------------------------------------------------------------------------

SavedGameData SavedGames::currentState() const {
  SavedGameData d;
  d.resumeFrame = game_.dialogue().DialogueActive() ? game_.dialogue().DialogueFrameName()
                                                      : startup::CurrentFrameName();
  const GameLogic& logic = game_.logic();
  for (const auto& v : logic.variables.Variables) d.integers.emplace_back(v.Name, v.Value);
  for (const auto& v : logic.Disappear) d.disappeared.emplace_back(v.Name, v.Value);
  d.variants.emplace();
  for (const auto& v : logic.variables.VariablesVariant) d.variants->emplace_back(v.Name, v.Value);
  d.items = game_.inventory().itemNames();
  d.history = game_.FramesHistory.items();
  d.info = SavedGameInfo{project().info.projectName, project().info.gameTitle,
                         savedGameDate(QDate::currentDate()), QString::fromLatin1(kSavedGameVersion)};
  return d;
}

SavedGames::SaveResult SavedGames::SaveGame(const QString& name) {
  const auto& info = project().info;
  if (std::any_of(name.begin(), name.end(), [](QChar c) { return kForbiddenCharacters.contains(c); })) {
    platform::messageBox(InterfaceText(35) + QStringLiteral("\r\n") + kForbiddenList, platform::MsgButtons::OK,
                         platform::MsgIcon::Information, info.gameTitle);
    return SaveResult::Refused;
  }
  if (name.isEmpty()) {
    platform::messageBox(InterfaceText(23), platform::MsgButtons::OK, platform::MsgIcon::Information,
                         InterfaceText(21));
    return SaveResult::Refused;
  }
  const QString folder = saveFolder();
  // A save of that name in another letter case, or named in raw bytes on an
  // old disc, is the one replaced: never a second file beside it.
  QString path = folder + name + QStringLiteral(".sav");
  for (const SavedGameEntry& e : listFolder(folder))
    if (e.name.compare(name, Qt::CaseInsensitive) == 0 && e.path != path) {
      if (!platform::isPlainFileAt(path)) path = e.path;
      break;
    }
  if (platform::isPlainFileAt(path)) {
    const auto answer = platform::messageBox(QLatin1Char('\'') + name + QStringLiteral("' ") + InterfaceText(24),
                                             platform::MsgButtons::OKCancel, platform::MsgIcon::Question,
                                             InterfaceText(21));
    if (answer != platform::MsgResult::OK) return SaveResult::Cancelled;
  }
  try {
    const QByteArray bytes = writeSavedGame(currentState());
    if (!platform::isFolderAt(folder) && !QDir().mkpath(folder)) throw VbError::pathNotFound(folder);
    writeSaveFile(path, bytes);
  } catch (const VbError&) {
    startup::ShowStandardErrorReport(
        QStringLiteral(" Unable to save '") + platform::readableName(path) + QStringLiteral("'.") + QStringLiteral("\r\n") +
            QStringLiteral("Verify that this file is not Read-Only and that it does not contain any of the following "
                           "characters: ") +
            kForbiddenList);
    return SaveResult::Failed;
  }
  writePreview(path);
  return SaveResult::Saved;
}

// Written beside the old file, in a fresh file of a unique name, and renamed
// over it: the old save stays whole until the new one is complete on disk, and
// an entry the game folder ships (a link named like the temporary file, a save
// that is a link leading out) is never written through.
void SavedGames::writeSaveFile(const QString& path, const QByteArray& bytes) {
  const QStringList within{platform::realPathOf(path.left(path.lastIndexOf(u'/') + 1))};
  if (!platform::writeFileAtomicallyWithin(path, bytes, within, nullptr, beforeReplaceHook())) {
    VbError e = VbError::of(errno == ENOSPC || errno == EDQUOT ? 61 : 75);
    e.path = path;
    throw e;
  }
  platform::forgetCachedListings();
}

void SavedGames::writePreview(const QString& savedGamePath) {
  const QImage frame = game_.display().framePicture();
  const QString preview = previewPath(savedGamePath);
  if (frame.isNull() || !QDir().mkpath(QFileInfo(preview).absolutePath())) return;
  QSaveFile out(preview);
  // A small JPEG: quick to write, and the window shows it at this size.
  const QImage small = frame.scaled(std::min(frame.width(), 320), std::min(frame.height(), 240), Qt::KeepAspectRatio,
                                    Qt::SmoothTransformation);
  if (out.open(QIODevice::WriteOnly) && small.save(&out, "JPG", 85)) out.commit();
}

bool SavedGames::RemoveSavedGame(const SavedGameEntry& entry) {
  const QString shown = platform::readableName(entry.path);
  const auto answer = platform::messageBox(InterfaceText(27) + QStringLiteral(" '") + shown + QStringLiteral("'?"),
                                           platform::MsgButtons::OKCancel, platform::MsgIcon::Question,
                                           InterfaceText(26));
  if (answer != platform::MsgResult::OK) return false;
  if (!platform::removeFileAt(entry.path) && platform::isPlainFileAt(entry.path)) {
    startup::ShowStandardErrorReport(QStringLiteral(" Unable to remove '") + shown + QStringLiteral("'."));
    return false;
  }
  QFile::remove(previewPath(entry.path));
  platform::forgetCachedListings();
  return true;
}

// ---- Loading -----------------------------------------------------------------------------

QString SavedGames::GetResumeLocation(const QString& sFrameName) {
  QString answer = sFrameName;
  const QString table = project().paths.config + QStringLiteral("Resume");
  if (sFrameName.isEmpty() || !platform::fileExists(table)) return answer;
  try {
    auto in = startup::RecordReader::fromFile(table);
    in.skip(6);
    while (!in.atEnd()) {
      const QString frame = in.readString();
      const QString target = in.readString();
      if (frame.compare(sFrameName, Qt::CaseInsensitive) == 0 && !target.isEmpty()) answer = target;
    }
  } catch (const VbError&) {
    return sFrameName;
  }
  return answer;
}

void SavedGames::pause(int milliseconds) {
  letEventsRun();
  if (!gSkipWaits) startup::WaitSeconds(milliseconds / 1000.0, false);
}

void SavedGames::applySavedGame(const SavedGameData& d) {
  GameLogic& logic = game_.logic();
  // Stored as saved, -1 included (a plain change would flip it), into every
  // variable of that exact name; names no longer in the game are ignored.
  for (const auto& [name, value] : d.integers)
    for (auto& v : logic.variables.Variables)
      if (v.Name == name) v.Value = value;
  for (const auto& [frame, hotspot] : d.disappeared) logic.Disappear.Add(frame, hotspot);
  for (const QString& item : d.items) game_.inventory().AddPickedObject(item, false);
  if (d.history) {
    game_.FramesHistory.Clear();
    for (const QString& frame : *d.history) game_.FramesHistory.AddItem(frame);
  }
  if (d.variants)
    for (const auto& [name, value] : *d.variants) logic.ChangeVariableVariantValue(name, value);
}

bool SavedGames::LoadGame(const SavedGameEntry& entry, QDialog* window) {
  const auto& info = project().info;
  QPointer<Game> alive(&game_);
  game_.PictureBox->hide();
  QApplication::setOverrideCursor(Qt::BusyCursor);
  pause(300);

  startup::frmWelcome* welcome = startup::frmWelcome::instance();
  if (info.startAtOnce) {
    const int code = game_.scripts().VBScriptAction().resolutionOnLoadGame();
    if (code != 0) startup::SwitchDisplayResolution(static_cast<int16_t>(code));
  } else if (welcome && welcome->chkResolution && !welcome->chkResolution->isHidden() &&
             welcome->chkResolution->isChecked() && info.resolutionOffer == 1) {
    welcome->hide();
    startup::SwitchDisplayResolution(static_cast<int16_t>(info.projectResolution + 1));
  }
  pause(300);
  game_.ResetAll();
  pause(500);
  if (!alive) return false;

  // Whatever was read before a failure stays applied; the game goes on from
  // the saved frame when it was read, else from the first frame.
  bool whole = true;
  SavedGameData data;
  QString failure;
  try {
    QFile file;
    if (!openSavedGame(file, entry.path)) throw VbError::of(53);
    data = readSavedGame(file.readAll(), &failure);
  } catch (const VbError& e) {
    failure = e.description;
  }
  applySavedGame(data);
  if (window) window->accept();
  // A saved frame the game no longer has (or a damaged name) resumes at the first frame.
  QString resume = GetResumeLocation(data.resumeFrame.isEmpty() ? info.initialFrame : data.resumeFrame);
  if (!platform::fileExists(project().paths.frames + resume + QStringLiteral(".fme"))) {
    if (failure.isNull()) failure = VbError::standardDescription(53);
    resume = info.initialFrame;
  }
  if (!failure.isNull()) {
    whole = false;
    startup::ShowStandardErrorReport(QStringLiteral(" Unable to load '") + entry.path + QStringLiteral("'."));
  }
  if (!alive) return false;
  project().frame.name = resume;
  pause(200);
  game_.scripts().ExecuteOnLoadVBScript();
  pause(200);
  if (!alive) return false;
  game_.OpenFrame(startup::CurrentFrameName(), false, 0, 0);
  pause(300);
  if (!alive) return false;
  game_.PictureBox->show();
  game_.show();
  game_.raise();
  game_.activateWindow();
  if (!info.startAtOnce && welcome) welcome->hide();
  pause(300);
  QApplication::restoreOverrideCursor();
  return whole;
}

// ---- The windows -------------------------------------------------------------------------

void SavedGames::runModal(QDialog& window) {
  QPointer<QDialog> w(&window);
  if (const auto hook = windowHook()) {
    QTimer::singleShot(0, &window, [w, hook] {
      if (!w) return;
      hook(*w);
      if (w && w->isVisible()) w->reject();
    });
  } else if (platform::installedDialogs()) {
    // Nobody sits at the screen (tests, walkthroughs): a window nobody answers is cancelled.
    QTimer::singleShot(0, &window, [w] {
      if (w) w->reject();
    });
  }
  window.exec();
}

void SavedGames::ShowSaveGameWindow() {
  const bool timerWasOn = game_.Timer1.enabled();
  game_.Timer1.setEnabled(false);
  game_.timedEvents().PauseTimedEvents();
  {
    frmSaveGame window(*this, &game_);
    window.LoadSaveGames();
    runModal(window);
  }
  game_.Timer1.setEnabled(timerWasOn);
  game_.timedEvents().StartTimedEvents();
}

void SavedGames::ShowLoadGameWindow(bool bAbortIfATimerIsEnabled) {
  if (bAbortIfATimerIsEnabled) {
    for (int i : game_.TimerObject.indices()) {
      const auto* timer = game_.TimerObject.item(i);
      if (timer && timer->enabled() && timer->interval() > 0) return;
    }
  }
  cancelled_ = false;
  const bool timerWasOn = game_.Timer1.enabled();
  game_.Timer1.setEnabled(false);
  game_.timedEvents().PauseTimedEvents();
  QPointer<Game> alive(&game_);
  {
    frmLoadGame window(*this, game_.isVisible() ? static_cast<QWidget*>(&game_) : nullptr);
    window.LoadSaveGames();
    runModal(window);
  }
  if (!alive) return;
  if (cancelled_) {
    game_.Timer1.setEnabled(timerWasOn);
    game_.timedEvents().StartTimedEvents();
  }
}

void SavedGames::ShowLoadGameWindowFromWelcome() {
  cancelled_ = false;
  frmLoadGame window(*this, nullptr);
  window.LoadSaveGames();
  runModal(window);
}

}  // namespace qm::logic
