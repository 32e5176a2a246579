#include "platform/IniFile.h"

#include "platform/FileResolver.h"
#include "platform/IniDocument.h"
#include "platform/VbError.h"
#include "platform/Windows1252.h"

namespace qm::platform {
namespace {

// The caller's buffer holds 255 characters including the terminating zero, so
// at most 254 come back.
constexpr qsizetype kMaxValueLength = 254;

std::optional<IniDocument> load(const QString& file) {
  try {
    return IniDocument::parse(fromWindows1252(readWholeFile(file)));
  } catch (const VbError&) {
    return std::nullopt;
  }
}

bool save(const QString& file, const IniDocument& doc) {
  try {
    writeWholeFile(file, toWindows1252(doc.toText()));
    return true;
  } catch (const VbError&) {
    return false;
  }
}

}  // namespace

QString readIniValue(const QString& file, const QString& section, const QString& key) {
  const auto doc = load(file);
  if (!doc) return {};
  return doc->value(section, key).value_or(QString()).left(kMaxValueLength);
}

bool writeIniValue(const QString& file, const QString& section, const QString& key, const QString& value) {
  if (file.isEmpty() || section.trimmed().isEmpty() || key.trimmed().isEmpty()) return false;
  IniDocument doc = load(file).value_or(IniDocument());
  // A line break in a value would start new lines of the file (new keys or
  // sections): it is stored as a blank.
  QString oneLine = value;
  oneLine.replace(QStringLiteral("\r\n"), QStringLiteral(" "));
  oneLine.replace(u'\r', u' ');
  oneLine.replace(u'\n', u' ');
  doc.setValue(section, key, oneLine);
  return save(file, doc);
}

bool deleteIniKey(const QString& file, const QString& section, const QString& key) {
  auto doc = load(file);
  if (!doc) return false;
  if (!doc->removeKey(section, key)) return true;
  return save(file, *doc);
}

bool deleteIniSection(const QString& file, const QString& section) {
  auto doc = load(file);
  if (!doc) return false;
  if (!doc->removeSection(section)) return true;
  return save(file, *doc);
}

}  // namespace qm::platform
