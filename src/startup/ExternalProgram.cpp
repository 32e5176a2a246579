#include "startup/ExternalProgram.h"

#include <QDir>
#include <QFileInfo>
#include <sys/stat.h>

#include "platform/DialogService.h"
#include "platform/FileConfinement.h"
#include "platform/FileResolver.h"
#include "platform/NativeName.h"
#include "platform/Shell.h"
#include "platform/VbError.h"
#include "startup/ErrorReport.h"
#include "startup/Project.h"
#include "startup/Settings.h"

namespace qm::startup {
namespace {

enum class Permission { Allowed, Refused };

// Asks the player once per game and program; the answer is remembered.
Permission askToRun(const QString& native) {
  const QString key = ProgramPermissionKey(native);
  const QString stored = LoadSetting(key);
  if (stored == QStringLiteral("1")) return Permission::Allowed;
  if (stored == QStringLiteral("0")) return Permission::Refused;
  const auto answer = platform::messageBox(QStringLiteral("This game wants to run %1. Allow?").arg(platform::readableName(native)),
                                           platform::MsgButtons::YesNo, platform::MsgIcon::Question,
                                           project().info.gameTitle, 1);  // No unless the player says yes
  const bool yes = answer == platform::MsgResult::Yes;
  SaveSetting(key, yes ? QStringLiteral("1") : QStringLiteral("0"));
  return yes ? Permission::Allowed : Permission::Refused;
}

bool isExecutable(const QString& native) {
  struct stat st{};
  return ::stat(platform::bytesOfName(native).constData(), &st) == 0 && S_ISREG(st.st_mode) &&
         (st.st_mode & S_IXUSR);
}

}  // namespace

QString ProgramPermissionKey(const QString& nativeProgram) {
  const QString root = platform::realPathOf(project().paths.project);
  const QString real = platform::realPathOf(nativeProgram);
  const QString name = platform::isInsideFolder(real, root) ? QDir(root).relativeFilePath(real) : real;
  // Settings hold text: a name in raw bytes is remembered as it reads.
  return QStringLiteral("AllowProgram:") + platform::readableName(name);
}

bool IsWindowsProgramName(const QString& name) {
  const QString suffix = QFileInfo(name).suffix().toLower();
  return suffix == QStringLiteral("exe") || suffix == QStringLiteral("com") || suffix == QStringLiteral("bat") ||
         suffix == QStringLiteral("pif");
}

bool RunAndWait(const QString& path, bool reportFully) {
  try {
    // Resolution confines the program to the game's folder.
    const auto native = platform::resolveExisting(path);
    if (!native || !platform::fileExists(*native)) throw VbError::fileNotFound(path);
    if (IsWindowsProgramName(*native))
      throw VbError(70, QStringLiteral("Windows programs cannot be run on this system"));
    if (!isExecutable(*native)) throw VbError::permissionDenied(path);
    if (askToRun(*native) == Permission::Refused) return false;
    platform::runAndWait(*native);
    return true;
  } catch (const VbError& e) {
    if (reportFully) {
      ShowStandardErrorReport(QStringLiteral(" Error opening the file titled '") + path + QStringLiteral("'.") +
                              QStringLiteral("\r\n\r\n") + e.description);
    } else {
      platform::messageBox(QStringLiteral("Error launching external application. Probably file not found (") +
                               path + QStringLiteral(")."),
                           platform::MsgButtons::OK, platform::MsgIcon::Information, QStringLiteral("Error"));
    }
    return false;
  }
}

}  // namespace qm::startup
