// The player's settings: the per-user store (application "Software", section =
// the project name) and the editor's INI file Config/More.
#pragma once

#include <QString>

namespace qm::startup {

namespace settings_keys {
inline constexpr const char* kPath = "Path";
inline constexpr const char* kChangeResolution = "ChangeResolution";
inline constexpr const char* kDisableTransitions = "DisableTransitions";
inline constexpr const char* kDisableEffects = "DisableEffects";
inline constexpr const char* kExecuteVBScriptCode = "ExecuteVBScriptCode";
inline constexpr const char* kDriveLetter = "DriveLetter";
// The player's own: full screen or a window (Alt+Enter) and the window's size, the key
// that outlines the hotspots.
inline constexpr const char* kWindowedPlay = "WindowedPlay";
// The inner size the player last gave the game's window, "WIDTHxHEIGHT" in pixels.
inline constexpr const char* kWindowedSize = "WindowedSize";
inline constexpr const char* kOutlineKey = "OutlineKey";
}  // namespace settings_keys

// A value of this game's per-user settings; defaultValue when absent.
QString LoadSetting(const QString& key, const QString& defaultValue = {});
// Nothing is written while the project information is broken (see Project).
void SaveSetting(const QString& key, const QString& value);

// A stored text read as a Boolean ("True"/"False" in any case, or a number,
// non-zero meaning True); defaultValue when absent or unreadable.
bool LoadSettingBool(const QString& key, bool defaultValue = false);

// Config/More, section General.
QString ReadMoreValue(const QString& key);
double ScriptTimeOutSetting();   // ScriptTimeOut read as a number (0 when absent)
bool AllowCreateObjectSetting(); // AllowCreateObject = "1"
int ProcEncrSetting();           // ProcEncr read as a number (0 when absent)

// VB's Val: the number at the start of the text ("12abc" -> 12, "abc" -> 0).
double vbVal(const QString& text);

}  // namespace qm::startup
