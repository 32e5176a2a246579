#include "startup/Settings.h"

#include "platform/IniFile.h"
#include "platform/SettingsStore.h"
#include "startup/Project.h"
#include "startup/VbNumbers.h"

namespace qm::startup {

QString LoadSetting(const QString& key, const QString& defaultValue) {
  return platform::SettingsStore::instance().get(project().info.projectName, key, defaultValue);
}

void SaveSetting(const QString& key, const QString& value) {
  // A project whose information did not load has no trustworthy name to file settings under.
  if (project().informationBroken) return;
  platform::SettingsStore::instance().set(project().info.projectName, key, value);
}

bool LoadSettingBool(const QString& key, bool defaultValue) {
  const QString text = LoadSetting(key, QString()).trimmed();
  if (text.isEmpty()) return defaultValue;
  if (text.compare(QStringLiteral("True"), Qt::CaseInsensitive) == 0) return true;
  if (text.compare(QStringLiteral("False"), Qt::CaseInsensitive) == 0) return false;
  const QByteArray latin = text.toLatin1();
  try {
    if (const auto v = parseVbNumber(latin.constData(), latin.size())) return *v != 0;
  } catch (...) {
  }
  return defaultValue;
}

QString ReadMoreValue(const QString& key) {
  return platform::readIniValue(project().paths.config + QStringLiteral("More"), QStringLiteral("General"), key);
}

double ScriptTimeOutSetting() { return vbVal(ReadMoreValue(QStringLiteral("ScriptTimeOut"))); }

bool AllowCreateObjectSetting() { return ReadMoreValue(QStringLiteral("AllowCreateObject")) == QStringLiteral("1"); }

int ProcEncrSetting() {
  const double v = vbVal(ReadMoreValue(QStringLiteral("ProcEncr")));
  return (v > -2147483648.0 && v < 2147483647.0) ? static_cast<int>(v) : 0;
}

double vbVal(const QString& text) {
  // Val ignores blanks, tabs and line feeds anywhere, then takes the longest
  // leading part that is a number.
  QByteArray s;
  s.reserve(text.size());
  for (const QChar c : text) {
    if (c == u' ' || c == u'\t' || c == u'\n' || c == u'\r') continue;
    s += c.unicode() < 128 ? static_cast<char>(c.unicode()) : '\x01';
  }
  for (qsizetype n = std::min<qsizetype>(s.size(), 60); n > 0; --n) {
    try {
      if (const auto v = parseVbNumber(s.constData(), static_cast<long>(n))) return *v;
    } catch (...) {
      return 0;
    }
  }
  return 0;
}

}  // namespace qm::startup
