#include "platform/Shell.h"

#include <QCoreApplication>
#include <QProcess>
#include <QUrl>

#include "platform/FileResolver.h"
#include "platform/VbError.h"

namespace qm::platform {
namespace {
std::function<bool(const QString&)> gShellOpenHook;
}  // namespace

void setShellOpenHookForTests(std::function<bool(const QString&)> hook) { gShellOpenHook = std::move(hook); }

bool shellOpen(const QString& target) {
  if (gShellOpenHook) return gShellOpenHook(target);
  if (target.trimmed().isEmpty()) return false;
  // A file or folder of the game: hand over its real path.
  QString what = target;
  const bool looksLikeUrl = target.contains(QStringLiteral("://")) ||
                            target.startsWith(QStringLiteral("mailto:"), Qt::CaseInsensitive);
  if (!looksLikeUrl) {
    if (const auto real = resolveExisting(target)) {
      what = *real;
    } else if (target.startsWith(QStringLiteral("www."), Qt::CaseInsensitive)) {
      what = QStringLiteral("http://") + target;
    } else {
      return false;
    }
  }
  return QProcess::startDetached(QStringLiteral("xdg-open"), {what});
}

int runAndWait(const QString& program, const QStringList& arguments) {
  const auto real = resolveExisting(program);
  QProcess process;
  process.setProgram(real ? *real : program);
  process.setArguments(arguments);
  process.setProcessChannelMode(QProcess::ForwardedChannels);
  process.start();
  if (!process.waitForStarted(10000)) throw VbError::fileNotFound(program);
  while (process.state() != QProcess::NotRunning) {
    if (QCoreApplication::instance()) QCoreApplication::processEvents();
    process.waitForFinished(kRunAndWaitPollMs);
  }
  return process.exitStatus() == QProcess::NormalExit ? process.exitCode() : -1;
}

}  // namespace qm::platform
