#include "platform/Shell.h"

#include <QCoreApplication>
#include <QFile>
#include <QFileInfo>
#include <QProcess>
#include <QUrl>
#include <fcntl.h>
#include <unistd.h>

#include "platform/FileResolver.h"
#include "platform/NativeFile.h"
#include "platform/NativeName.h"
#include "platform/VbError.h"

namespace qm::platform {
namespace {
std::function<bool(const QString&)> gShellOpenHook;

bool hasProgramSuffix(const QString& native) {
  static const QStringList kSuffixes = {
      QStringLiteral("exe"), QStringLiteral("com"),     QStringLiteral("bat"), QStringLiteral("cmd"),
      QStringLiteral("pif"), QStringLiteral("scr"),     QStringLiteral("msi"), QStringLiteral("lnk"),
      QStringLiteral("jar"), QStringLiteral("desktop"), QStringLiteral("sh"),  QStringLiteral("run"),
      QStringLiteral("appimage")};
  return kSuffixes.contains(QFileInfo(native).suffix().toLower());
}

// What the file's first bytes say: a script, a Linux or Windows program, a desktop entry.
bool hasProgramContent(const QString& native) {
  QFile f;
  if (!openForReading(f, native)) return false;
  const QByteArray head = f.read(64);
  return head.startsWith("#!") || head.startsWith("\x7F" "ELF") || head.startsWith("MZ") ||
         head.trimmed().startsWith("[Desktop Entry]");
}

}  // namespace

bool isProgramOrLauncher(const QString& native) {
  if (isFolderAt(native)) return false;
  const bool executable = ::access(bytesOfName(native).constData(), X_OK) == 0;
  return executable || hasProgramSuffix(native) || hasProgramContent(native);
}

bool isWebAddress(const QString& target) {
  const QString t = target.trimmed();
  for (const char* scheme : {"http://", "https://", "ftp://", "mailto:"})
    if (t.startsWith(QLatin1String(scheme), Qt::CaseInsensitive)) return true;
  return t.startsWith(QStringLiteral("www."), Qt::CaseInsensitive);
}

QString withMailFieldsOnly(const QString& target) {
  const QString t = target.trimmed();
  static const QLatin1String kScheme("mailto:");
  if (!t.startsWith(kScheme, Qt::CaseInsensitive)) return target;
  QString rest = t.mid(kScheme.size());
  rest = rest.left(rest.indexOf(u'#') < 0 ? rest.size() : rest.indexOf(u'#'));
  const qsizetype question = rest.indexOf(u'?');
  QString out = QStringLiteral("mailto:") + rest.left(question < 0 ? rest.size() : question);
  if (question < 0) return out;
  static const QStringList kKept = {QStringLiteral("subject"), QStringLiteral("body"), QStringLiteral("cc"),
                                    QStringLiteral("bcc")};
  QStringList fields;
  for (const QString& field : rest.mid(question + 1).split(u'&', Qt::SkipEmptyParts)) {
    const QString name = QUrl::fromPercentEncoding(field.section(u'=', 0, 0).toUtf8()).trimmed().toLower();
    if (kKept.contains(name)) fields << field;
  }
  if (!fields.isEmpty()) out += u'?' + fields.join(u'&');
  return out;
}

void setShellOpenHookForTests(std::function<bool(const QString&)> hook) { gShellOpenHook = std::move(hook); }

bool shellOpen(const QString& given) {
  const QString target = withMailFieldsOnly(given);
  if (gShellOpenHook) return gShellOpenHook(target);
  if (target.trimmed().isEmpty()) return false;
  // A file or folder of the game: hand over its real path.
  QString what = target;
  const bool looksLikeUrl = target.contains(QStringLiteral("://")) ||
                            target.startsWith(QStringLiteral("mailto:"), Qt::CaseInsensitive);
  if (looksLikeUrl && !isWebAddress(target)) return false;  // file:, smb:, ... are not web pages
  if (!looksLikeUrl) {
    if (const auto real = resolveExisting(target)) {
      // The desktop's handler would run a program or launcher instead of showing it.
      if (isProgramOrLauncher(*real)) return false;
      // A name in raw bytes cannot pass as text: as a file address, byte for byte.
      what = hasRawBytes(*real) ? QStringLiteral("file://") + QString::fromLatin1(bytesOfName(*real).toPercentEncoding("/"))
                                : *real;
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
  QString path = real ? *real : program;
  // A program named in raw bytes cannot be named as text: the child runs it
  // through a descriptor it inherits, closed again once it started.
  int descriptor = -1;
  if (real && hasRawBytes(*real)) {
    descriptor = ::open(bytesOfName(*real).constData(), O_RDONLY);
    if (descriptor >= 0) path = QStringLiteral("/proc/self/fd/%1").arg(descriptor);
  }
  process.setProgram(path);
  process.setArguments(arguments);
  process.setProcessChannelMode(QProcess::ForwardedChannels);
  process.start();
  const bool started = process.waitForStarted(10000);
  if (descriptor >= 0) ::close(descriptor);
  if (!started) throw VbError::fileNotFound(program);
  while (process.state() != QProcess::NotRunning) {
    if (QCoreApplication::instance()) QCoreApplication::processEvents();
    process.waitForFinished(kRunAndWaitPollMs);
  }
  return process.exitStatus() == QProcess::NormalExit ? process.exitCode() : -1;
}

}  // namespace qm::platform
