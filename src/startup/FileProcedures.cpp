#include "startup/FileProcedures.h"

#include <QFile>

#include "platform/DialogService.h"
#include "platform/FileResolver.h"
#include "platform/IniFile.h"
#include "platform/NativeFile.h"
#include "platform/NativeName.h"
#include "platform/Wildcard.h"
#include "platform/Windows1252.h"

namespace qm::startup {

QString SafeDir(const QString& path) {
  try {
    return platform::safeDir(path);
  } catch (...) {
    return {};
  }
}

QString GetFileTitle(const QString& path) {
  const qsizetype cut = std::max(path.lastIndexOf(u'\\'), path.lastIndexOf(u'/'));
  return cut < 0 ? path : path.mid(cut + 1);
}

QString DecodeBarQuotes(const QString& text) {
  QString out = text;
  out.replace(u'|', u'"');
  return out;
}

QString DecodeChar254Quotes(const QString& text) {
  QString out = text;
  out.replace(platform::windows1252Char(254), u'"');
  return out;
}

bool matchesWildcard(const QString& name, const QString& pattern) {
  return platform::matchesWildcard(name, pattern);
}

QStringList ListFiles(const QString& folder, const QString& pattern, Qt::CaseSensitivity cs) {
  QStringList names;
  try {
    QString base = folder;
    if (!base.isEmpty() && !base.endsWith(u'\\') && !base.endsWith(u'/')) base += u'/';
    const QString where = base.isEmpty() ? QStringLiteral(".") : base;
    const auto real = platform::resolveExisting(where);
    if (!real) return names;  // no such folder: nothing to list
    const QString dir = real->endsWith(u'/') ? *real : *real + u'/';
    for (const QString& name : platform::listFolder(dir)) {
      if (platform::folderExists(dir + name)) continue;
      // Names as the game reads them (a raw Windows-1252 or DOS name as its
      // text); the resolver finds the file again under that name.
      const QString readable = platform::readableName(name);
      if (pattern.isEmpty() || platform::matchesWildcard(readable, pattern, cs)) names.push_back(readable);
    }
  } catch (const std::exception& e) {
    platform::messageBox(QStringLiteral("Error in ListFiles. ") + QString::fromUtf8(e.what()),
                         platform::MsgButtons::OK, platform::MsgIcon::Warning, QStringLiteral("Error"));
  }
  return names;
}

void DeleteFileIfExists(const QString& path) {
  try {
    if (platform::fileExists(path)) {
      if (const auto real = platform::resolveExisting(path)) platform::removeFileAt(*real);
    }
  } catch (...) {
  }
}

QString ReadIniValue(const QString& file, const QString& section, const QString& key) {
  try {
    return platform::readIniValue(file, section, key);
  } catch (...) {
    return {};
  }
}

bool WriteIniValue(const QString& file, const QString& section, const QString& key, const QString& value) {
  try {
    return platform::writeIniValue(file, section, key, value);
  } catch (...) {
    return false;
  }
}

}  // namespace qm::startup
