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

// How the file's text is stored. Files edited by hand may carry a byte-order
// mark; they are read in that encoding and written back in it.
enum class Encoding { Windows1252, Utf8, Utf16 };

struct Loaded {
  IniDocument doc;
  Encoding encoding = Encoding::Windows1252;
};

// nullopt when the file is missing; *unreadable set when it exists but cannot be read.
std::optional<Loaded> load(const QString& file, bool* unreadable = nullptr) {
  QByteArray bytes;
  try {
    bytes = readWholeFile(file);
  } catch (const VbError& e) {
    if (unreadable) *unreadable = e.number != 53;
    return std::nullopt;
  }
  Loaded loaded;
  if (bytes.startsWith("\xEF\xBB\xBF")) {
    loaded.encoding = Encoding::Utf8;
    loaded.doc = IniDocument::parse(QString::fromUtf8(bytes.mid(3)));
  } else if (bytes.startsWith("\xFF\xFE")) {
    loaded.encoding = Encoding::Utf16;
    const QByteArray body = bytes.mid(2);
    loaded.doc = IniDocument::parse(
        QString::fromUtf16(reinterpret_cast<const char16_t*>(body.constData()), body.size() / 2));
  } else {
    loaded.doc = IniDocument::parse(fromWindows1252(bytes));
  }
  return loaded;
}

bool save(const QString& file, const Loaded& loaded) {
  const QString text = loaded.doc.toText();
  QByteArray bytes;
  switch (loaded.encoding) {
    case Encoding::Windows1252: bytes = toWindows1252(text); break;
    case Encoding::Utf8: bytes = "\xEF\xBB\xBF" + text.toUtf8(); break;
    case Encoding::Utf16:
      bytes = QByteArray("\xFF\xFE", 2) +
              QByteArray(reinterpret_cast<const char*>(text.utf16()), text.size() * 2);
      break;
  }
  try {
    writeWholeFile(file, bytes);
    return true;
  } catch (const VbError&) {
    return false;
  }
}

}  // namespace

QString readIniValue(const QString& file, const QString& section, const QString& key) {
  const auto loaded = load(file);
  if (!loaded) return {};
  return loaded->doc.value(section, key).value_or(QString()).left(kMaxValueLength);
}

bool breaksLine(const QString& name) { return name.contains(u'\r') || name.contains(u'\n'); }

bool writeIniValue(const QString& file, const QString& section, const QString& key, const QString& value) {
  if (file.isEmpty() || section.trimmed().isEmpty() || key.trimmed().isEmpty()) return false;
  if (breaksLine(section) || breaksLine(key)) return false;
  // A file that exists but cannot be read is never replaced by one holding only this key.
  bool unreadable = false;
  Loaded loaded = load(file, &unreadable).value_or(Loaded());
  if (unreadable) return false;
  // A line break in a value would start new lines of the file (new keys or
  // sections): it is stored as a blank.
  QString oneLine = value;
  oneLine.replace(QStringLiteral("\r\n"), QStringLiteral(" "));
  oneLine.replace(u'\r', u' ');
  oneLine.replace(u'\n', u' ');
  loaded.doc.setValue(section, key, oneLine);
  return save(file, loaded);
}

bool deleteIniKey(const QString& file, const QString& section, const QString& key) {
  auto loaded = load(file);
  if (!loaded) return false;
  if (!loaded->doc.removeKey(section, key)) return true;
  return save(file, *loaded);
}

bool deleteIniSection(const QString& file, const QString& section) {
  auto loaded = load(file);
  if (!loaded) return false;
  if (!loaded->doc.removeSection(section)) return true;
  return save(file, *loaded);
}

}  // namespace qm::platform
