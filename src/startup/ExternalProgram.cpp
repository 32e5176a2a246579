#include "startup/ExternalProgram.h"

#include "platform/DialogService.h"
#include "platform/FileResolver.h"
#include "platform/Shell.h"
#include "platform/VbError.h"
#include "startup/ErrorReport.h"

namespace qm::startup {
namespace {

// A command line as a game writes it: the program path, optionally quoted, and
// arguments after it. The longest leading part that names an existing file is
// the program.
bool splitCommandLine(const QString& commandLine, QString& program, QStringList& arguments) {
  const QString line = commandLine.trimmed();
  if (line.startsWith(u'"')) {
    const qsizetype close = line.indexOf(u'"', 1);
    program = close < 0 ? line.mid(1) : line.mid(1, close - 1);
    const QString rest = close < 0 ? QString() : line.mid(close + 1).trimmed();
    arguments = rest.split(u' ', Qt::SkipEmptyParts);
    return platform::fileExists(program);
  }
  if (platform::fileExists(line)) {
    program = line;
    arguments.clear();
    return true;
  }
  for (qsizetype blank = line.lastIndexOf(u' '); blank > 0; blank = line.lastIndexOf(u' ', blank - 1)) {
    const QString head = line.left(blank);
    if (platform::fileExists(head)) {
      program = head;
      arguments = line.mid(blank + 1).split(u' ', Qt::SkipEmptyParts);
      return true;
    }
  }
  program = line;
  return false;
}

}  // namespace

bool RunAndWait(const QString& path, bool reportFully) {
  try {
    QString program;
    QStringList arguments;
    if (!splitCommandLine(path, program, arguments)) throw VbError::fileNotFound(path);
    platform::runAndWait(program, arguments);
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
