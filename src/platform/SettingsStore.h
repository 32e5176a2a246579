// The per-user settings store: string values addressed by application,
// section and key. The player uses application "Software" and the project name
// as section. Kept in an INI file: $XDG_CONFIG_HOME/quillmere/settings.ini
// (~/.config when XDG_CONFIG_HOME is unset), one INI section per
// "application/section". The environment variable QM_SETTINGS_FILE, or
// setFileForTests(), names another file.
//
// The file is shared by every game and every running player, so it is handled
// with care: a change is read, made and written under a lock file next to it
// ("settings.ini.lock", waited for up to 5 s), reading the file again once the
// lock is held; every line the change does not touch is written back byte for
// byte (whatever its encoding); and a file that exists but cannot be read is
// never written: the player warns once on stderr and keeps the settings in
// memory for the rest of the run (also when the lock cannot be had or the
// file cannot be written).
#pragma once

#include <QString>
#include <functional>

#include "platform/IniDocument.h"

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
  struct Read;
  SettingsStore() = default;
  Read readFile(const QString& path) const;
  IniDocument current() const;
  // Applies the edit to the file under its lock (or to the copy in memory);
  // the edit returns false when it changed nothing.
  void change(const std::function<bool(IniDocument&)>& edit);
  void keepInMemory(const QString& path, const QString& why) const;

  QString overrideFile_;
  // Set once the file is left alone for the rest of the run (a read may find that out).
  mutable bool memoryOnly_ = false;
  mutable IniDocument memory_;
};

}  // namespace qm::platform
