#include "engine/GameSeams.h"

#include "engine/Game.h"
#include "script/Plugins.h"
#include "script/ScriptHost.h"
#include "startup/DisplayResolution.h"
#include "startup/Project.h"

namespace qm::engine::seams {

bool ExecuteVBScript(Game& game, const QString& code, bool bResetLastClickPosition) {
  return !script::ScriptHost::of(game).ExecuteVBScript(code, bResetLastClickPosition);
}
void ExecuteOnLoadVBScript(Game& game) { script::ScriptHost::of(game).ExecuteOnLoadVBScript(); }
void LoadGlobalProcedures(Game& game) { script::ScriptHost::of(game).PrepareNewGame(); }
void SetScriptTimeout(Game& game, int milliseconds) { script::ScriptHost::of(game).SetTimeout(milliseconds); }
void DisableScriptTimeouts(Game& game) { script::ScriptHost::of(game).DisableTimeouts(); }
void LoadPlugins(Game&) { script::LoadPlugins(); }
QString PluginsFrameCode(Game&) {
  QString code;
  for (const auto& plugin : script::PluginTable())
    if (!plugin.frameCode.isEmpty()) code += plugin.frameCode + QStringLiteral("\r\n");
  return code;
}
QString PluginActionsCode(Game&, const QString& pluginActions, bool fromHotspot) {
  return script::BuildPluginCalls(pluginActions, fromHotspot);
}
void RunDebugCode(Game& game, const QString& code) {
  script::ScriptHost::of(game).ExecuteVBScriptAndConsequences(code, true);
}


void ClearMediaState(Game&) {}

void ShowExecuteVBScriptWindow(Game& game) { script::ScriptHost::of(game).ExecuteCodeCommand(); }
void ShowEditProceduresWindow(Game& game) { script::ScriptHost::of(game).EditProceduresCommand(); }

void ClearPendingResolution(Game& game) { script::ScriptHost::of(game).VBScriptAction().setResolutionOnLoadGame(0); }
void RestoreDisplaySettingsIfChanged(Game&) { startup::RestoreDisplaySettings(); }

}  // namespace qm::engine::seams
