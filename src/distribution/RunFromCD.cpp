#include "distribution/RunFromCD.h"

#include <QDir>
#include <QFileInfo>

#include "distribution/frmRunFromCD.h"
#include "platform/DialogService.h"
#include "platform/FileConfinement.h"
#include "platform/FileResolver.h"
#include "platform/NativeFile.h"
#include "startup/Activity.h"
#include "startup/ErrorReport.h"
#include "startup/FileProcedures.h"
#include "startup/MediaFiles.h"
#include "startup/Project.h"
#include "startup/Settings.h"

namespace qm::distribution {

namespace {

const QString kMarker = QStringLiteral("RunFromCD.dat");
const QString kIndexFile = QStringLiteral("CDContents");

bool runsFromCd() {
  const auto& p = startup::project().paths;
  return platform::fileExists(p.project + kMarker) && platform::fileExists(p.config + kIndexFile);
}

QString driveLetterKey() { return QString::fromLatin1(startup::settings_keys::kDriveLetter); }

QString normalised(const QString& path) { return QDir::fromNativeSeparators(QString(path).replace('\\', '/')); }

QString cdPathIn(const QString& folder, const QString& name) {
  return QStringLiteral("Data\\") + startup::project().info.gameTitle + QLatin1Char('\\') + folder +
         QLatin1Char('\\') + name;
}

}  // namespace

RunFromCD& runFromCD() {
  static RunFromCD instance;
  return instance;
}

void RunFromCD::LoadCDIndex() {
  index_ = {};
  if (!runsFromCd()) return;
  try {
    index_ = ReadCdIndex(platform::readWholeFile(startup::project().paths.config + kIndexFile));
  } catch (...) {
    index_ = {};  // what was read before the error does not count
    startup::ShowStandardErrorReport(QStringLiteral(" Error loading CD index."));
  }
}

QString RunFromCD::FolderOfType(const QString& type) {
  if (type == QLatin1String("1")) return startup::project().paths.frames;
  if (type == QLatin1String("2")) return startup::project().paths.areas;
  return {};
}

QString RunFromCD::fileOnDrive(const QString& letter, const QString& cdPath) const {
  if (letter.isEmpty()) return {};
  const auto drive = drives_.volume(letter[0]);
  if (!drive) return {};
  QStringList parts;
  for (const QString& part : normalised(cdPath).split('/', Qt::SkipEmptyParts)) {
    if (part == QLatin1String("..")) return {};  // never above the drive's root
    if (part != QLatin1String(".")) parts << part;
  }
  // The volume is one the player gave or chose: the game may open files on it
  // once a file of the game is found there. Until then it is allowed only for
  // this look-up.
  const bool allowedBefore = platform::confinementRoots().contains(platform::realPathOf(drive->root));
  platform::addConfinementRoot(drive->root);
  const auto found = platform::resolveExisting(drive->root + QLatin1Char('/') + parts.join('/'));
  // A link may point anywhere: the file itself must lie inside the drive.
  const bool inside = found && platform::isPlainFileAt(*found) &&
                      platform::isInsideFolder(platform::realPathOf(*found), platform::realPathOf(drive->root));
  if (!inside) {
    if (!allowedBefore) platform::removeConfinementRoot(drive->root);
    return {};
  }
  return *found;
}

// Where the file would be: on the drive's folder when the letter has one, else
// in the letter's own notation (what the warnings show).
QString RunFromCD::shownPath(const QString& letter, const QString& cdPath) const {
  if (!letter.isEmpty())
    if (const auto drive = drives_.volume(letter[0])) return drive->root + QLatin1Char('/') + normalised(cdPath);
  return letter + QStringLiteral(":\\") + cdPath;
}

QString RunFromCD::LocateOnCD(const QString& path) {
  if (!runsFromCd()) return path;
  QString letter = startup::LoadSetting(driveLetterKey());
  if (letter.isEmpty()) {
    letter = DetectCdRomDrive();
    startup::SaveSetting(driveLetterKey(), letter);
  }
  // Folders given for this run come first: the file may be on any of them.
  QStringList letters;
  for (int cd = 1; cd <= drives_.givenFolders().size(); ++cd)
    if (const QChar l = drives_.givenFolderLetter(cd); !l.isNull()) letters << QString(l);
  letters << letter;

  // Files not in the index are looked for in the CD's Frames folder.
  const QString direct = startup::GetStoredMediaFileName(
      cdPathIn(QStringLiteral("Frames"), startup::GetFileTitle(path)), false);
  for (const QString& l : letters)
    if (const QString found = fileOnDrive(l, direct); !found.isEmpty()) return found;

  const QString wanted = normalised(path);
  for (const CdIndexEntry& e : index_.entries) {
    if (normalised(FolderOfType(e.type) + e.name).compare(wanted, Qt::CaseInsensitive) != 0) continue;
    QString cdPath;
    if (e.type == QLatin1String("1")) cdPath = cdPathIn(QStringLiteral("Frames"), e.name);
    else if (e.type == QLatin1String("2")) cdPath = cdPathIn(QStringLiteral("Areas"), e.name);
    else return path;
    cdPath = startup::GetStoredMediaFileName(cdPath, false);
    // A path that climbs out of the drive can never be there: no prompt for it.
    if (normalised(cdPath).split('/').contains(QStringLiteral(".."))) return path;
    const QChar given = drives_.givenFolderLetter(e.cdNumber);
    return askForCd(e, cdPath, given.isNull() ? letter : QString(given));
  }
  return startup::GetStoredMediaFileName(path, false);
}

QString RunFromCD::askForCd(const CdIndexEntry& entry, const QString& cdPath, QString letter) {
  while (fileOnDrive(letter, cdPath).isEmpty() && !startup::GameStopped()) {
    const std::function<void()> restartTimers = gameTimers_ ? gameTimers_() : nullptr;
    startup::StopAllActivity();

    frmRunFromCD prompt(drives_);
    prompt.Form_Load();
    prompt.setDriveText(letter + QStringLiteral(":\\"));
    prompt.setMessage(startup::InterfaceText(47) + QString::number(entry.cdNumber) + QLatin1Char(' ') +
                      startup::InterfaceText(48));
    platform::dialogs().showModal(prompt);
    if (startup::GameStopped()) {
      startup::StopGame();
      break;
    }
    letter = startup::LoadSetting(driveLetterKey());
    if (!fileOnDrive(letter, cdPath).isEmpty()) {
      if (restartTimers) restartTimers();
      break;
    }
    platform::messageBox(startup::InterfaceText(45) + QStringLiteral("\r\n\r\n") + shownPath(letter, cdPath) +
                             QStringLiteral("\r\n\r\n") + startup::InterfaceText(46),
                         platform::MsgButtons::OK, platform::MsgIcon::Warning, startup::project().info.gameTitle);
  }
  const QString found = fileOnDrive(letter, cdPath);
  return found.isEmpty() ? shownPath(letter, cdPath) : found;
}

}  // namespace qm::distribution
