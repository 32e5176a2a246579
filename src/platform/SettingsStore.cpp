#include "platform/SettingsStore.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QLockFile>
#include <QSaveFile>
#include <cstdio>

#include "platform/IniDocument.h"
#include "platform/IniFileBytes.h"

namespace qm::platform {
namespace {

// Names and values are kept in UTF-8; the characters that would change the
// meaning of a line are written as %XX. A lone surrogate, which UTF-8 cannot
// hold, is written as %uXXXX: native paths carry the bytes of names that are
// not UTF-8 that way (U+DC80..U+DCFF), and must read back byte for byte.
QString encodeText(const QString& text, bool isValue) {
  QString out;
  out.reserve(text.size());
  for (qsizetype i = 0; i < text.size(); ++i) {
    const QChar c = text[i];
    if (c.isSurrogate()) {
      const bool pair = c.isHighSurrogate() && i + 1 < text.size() && text[i + 1].isLowSurrogate();
      if (pair) {
        out += c;
        out += text[++i];
      } else {
        out += QStringLiteral("%u") + QString::number(c.unicode(), 16).toUpper();
      }
      continue;
    }
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
    if (text[i] == u'%' && i + 5 < text.size() && text[i + 1] == u'u') {
      bool ok = false;
      const int code = text.mid(i + 2, 4).toInt(&ok, 16);
      if (ok && code >= 0xD800 && code <= 0xDFFF) {
        out += QChar(char16_t(code));
        i += 5;
        continue;
      }
    }
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

// How long a writer waits for another player that holds the lock, and when a
// lock left by a crashed player counts as abandoned.
constexpr int kLockWaitMs = 5000;
constexpr int kStaleLockMs = 30000;

void warn(const QString& text) { fputs(qPrintable(QStringLiteral("quillmere: ") + text + u'\n'), stderr); }

}  // namespace

// What reading the file gave.
struct SettingsStore::Read {
  enum class Status { Ok, Missing, Unreadable } status = Status::Missing;
  IniFileBytes bytes;
};

SettingsStore::Read SettingsStore::readFile(const QString& path) const {
  Read r;
  QFile f(path);
  if (!f.exists()) return r;
  QByteArray bytes;
  if (f.open(QIODevice::ReadOnly)) {
    bytes = f.readAll();
    if (f.error() == QFileDevice::NoError) {
      r.status = Read::Status::Ok;
      r.bytes = IniFileBytes::split(bytes);
      return r;
    }
  }
  r.status = Read::Status::Unreadable;
  return r;
}

void SettingsStore::keepInMemory(const QString& path, const QString& why) const {
  if (memoryOnly_) return;
  memoryOnly_ = true;
  warn(QStringLiteral("the settings file %1 %2; settings are kept for this run only and the file is left as it is")
           .arg(path, why));
}

IniDocument SettingsStore::current() const {
  if (memoryOnly_) return memory_;
  const Read r = readFile(file());
  if (r.status == Read::Status::Unreadable) {
    keepInMemory(file(), QStringLiteral("cannot be read"));
    return memory_;
  }
  return r.bytes.document();
}

void SettingsStore::change(const std::function<bool(IniDocument&)>& edit) {
  const QString path = file();
  if (!memoryOnly_) {
    QDir().mkpath(QFileInfo(path).absolutePath());
    // Read, change and write under the lock, reading again once it is held:
    // another player may have written the file meanwhile.
    QLockFile lock(path + QStringLiteral(".lock"));
    lock.setStaleLockTime(kStaleLockMs);
    if (lock.tryLock(kLockWaitMs)) {
      const Read r = readFile(path);
      if (r.status == Read::Status::Unreadable) {
        keepInMemory(path, QStringLiteral("cannot be read"));
      } else {
        IniDocument doc = r.bytes.document();
        if (!edit(doc)) return;
        QSaveFile out(path);
        if (out.open(QIODevice::WriteOnly) && out.write(r.bytes.join(doc)) >= 0 && out.commit()) return;
        memory_ = doc;
        keepInMemory(path, QStringLiteral("cannot be written"));
        return;
      }
    } else {
      // The last state on disk is the best start for the copy in memory.
      memory_ = current();
      keepInMemory(path, QStringLiteral("is locked by another program"));
    }
  }
  edit(memory_);
}

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

void SettingsStore::setFileForTests(const QString& path) {
  overrideFile_ = path;
  memoryOnly_ = false;
  memory_ = IniDocument();
}

QString SettingsStore::get(const QString& section, const QString& key, const QString& defaultValue) const {
  return get(QString::fromLatin1(kApplication), section, key, defaultValue);
}

void SettingsStore::set(const QString& section, const QString& key, const QString& value) {
  set(QString::fromLatin1(kApplication), section, key, value);
}

QString SettingsStore::get(const QString& application, const QString& section, const QString& key,
                           const QString& defaultValue) const {
  const IniDocument doc = current();
  const auto v = doc.value(sectionName(application, section), encodeText(key, false));
  return v ? decodeText(*v) : defaultValue;
}

void SettingsStore::set(const QString& application, const QString& section, const QString& key,
                        const QString& value) {
  change([&](IniDocument& doc) {
    doc.setValue(sectionName(application, section), encodeText(key, false), encodeText(value, true));
    return true;
  });
}

void SettingsStore::remove(const QString& section, const QString& key) {
  change([&](IniDocument& doc) {
    return doc.removeKey(sectionName(QString::fromLatin1(kApplication), section), encodeText(key, false));
  });
}

}  // namespace qm::platform
