#include "platform/SettingsStore.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QSaveFile>

#include "platform/IniDocument.h"

namespace qm::platform {
namespace {

// Names and values are kept in UTF-8; the characters that would change the
// meaning of a line are written as %XX.
QString encodeText(const QString& text, bool isValue) {
  QString out;
  out.reserve(text.size());
  for (qsizetype i = 0; i < text.size(); ++i) {
    const QChar c = text[i];
    const bool edge = (i == 0 || i == text.size() - 1);
    bool escape = c == u'%' || c == u'\r' || c == u'\n' || c == u'\t' || (edge && c == u' ');
    if (isValue) {
      escape = escape || c == u'"' || c == u'\'';
    } else {
      escape = escape || c == u'=' || c == u'[' || c == u']';
    }
    if (escape) {
      out += QStringLiteral("%%1").arg(int(c.unicode()), 2, 16, QChar(u'0')).toUpper();
    } else {
      out += c;
    }
  }
  return out;
}

QString decodeText(const QString& text) {
  QString out;
  out.reserve(text.size());
  for (qsizetype i = 0; i < text.size(); ++i) {
    if (text[i] == u'%' && i + 2 < text.size()) {
      bool ok = false;
      const int code = text.mid(i + 1, 2).toInt(&ok, 16);
      if (ok) {
        out += QChar(char16_t(code));
        i += 2;
        continue;
      }
    }
    out += text[i];
  }
  return out;
}

QString sectionName(const QString& application, const QString& section) {
  return encodeText(application, false) + u'/' + encodeText(section, false);
}

IniDocument loadDocument(const QString& file) {
  QFile f(file);
  if (!f.open(QIODevice::ReadOnly)) return IniDocument();
  return IniDocument::parse(QString::fromUtf8(f.readAll()));
}

void saveDocument(const QString& file, const IniDocument& doc) {
  QDir().mkpath(QFileInfo(file).absolutePath());
  QSaveFile f(file);
  if (!f.open(QIODevice::WriteOnly)) return;
  f.write(doc.toText().toUtf8());
  f.commit();
}

}  // namespace

SettingsStore& SettingsStore::instance() {
  static SettingsStore store;
  return store;
}

QString SettingsStore::file() const {
  if (!overrideFile_.isEmpty()) return overrideFile_;
  const QByteArray env = qgetenv("QM_SETTINGS_FILE");
  if (!env.isEmpty()) return QFile::decodeName(env);
  QString base = QFile::decodeName(qgetenv("XDG_CONFIG_HOME"));
  if (base.isEmpty() || !QDir::isAbsolutePath(base)) base = QDir::homePath() + QStringLiteral("/.config");
  return base + QStringLiteral("/quillmere/settings.ini");
}

void SettingsStore::setFileForTests(const QString& path) { overrideFile_ = path; }

QString SettingsStore::get(const QString& section, const QString& key, const QString& defaultValue) const {
  return get(QString::fromLatin1(kApplication), section, key, defaultValue);
}

void SettingsStore::set(const QString& section, const QString& key, const QString& value) {
  set(QString::fromLatin1(kApplication), section, key, value);
}

QString SettingsStore::get(const QString& application, const QString& section, const QString& key,
                           const QString& defaultValue) const {
  const IniDocument doc = loadDocument(file());
  const auto v = doc.value(sectionName(application, section), encodeText(key, false));
  return v ? decodeText(*v) : defaultValue;
}

void SettingsStore::set(const QString& application, const QString& section, const QString& key,
                        const QString& value) {
  const QString path = file();
  IniDocument doc = loadDocument(path);
  doc.setValue(sectionName(application, section), encodeText(key, false), encodeText(value, true));
  saveDocument(path, doc);
}

void SettingsStore::remove(const QString& section, const QString& key) {
  const QString path = file();
  IniDocument doc = loadDocument(path);
  if (doc.removeKey(sectionName(QString::fromLatin1(kApplication), section), encodeText(key, false))) {
    saveDocument(path, doc);
  }
}

}  // namespace qm::platform
