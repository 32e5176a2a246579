// The per-user settings store: string values addressed by application,
// section and key. The player uses application "Software" and the project name
// as section. Kept in an INI file: $XDG_CONFIG_HOME/quillmere/settings.ini
// (~/.config when XDG_CONFIG_HOME is unset), one INI section per
// "application/section". The environment variable QM_SETTINGS_FILE, or
// setFileForTests(), names another file.
#pragma once

#include <QString>

namespace qm::platform {

class SettingsStore {
 public:
  static SettingsStore& instance();

  // The stored value, or defaultValue when there is none.
  QString get(const QString& section, const QString& key, const QString& defaultValue = {}) const;
  void set(const QString& section, const QString& key, const QString& value);
  void remove(const QString& section, const QString& key);

  // Same, under another application name than "Software".
  QString get(const QString& application, const QString& section, const QString& key,
              const QString& defaultValue) const;
  void set(const QString& application, const QString& section, const QString& key, const QString& value);

  // The file the values are kept in.
  QString file() const;
  // Points the store at another file ("" = back to the default location).
  void setFileForTests(const QString& path);

  static constexpr const char* kApplication = "Software";

 private:
  SettingsStore() = default;
  QString overrideFile_;
};

}  // namespace qm::platform
