#include "engine/GameSeams.h"

#include "engine/Game.h"
#include "startup/DisplayResolution.h"

namespace qm::engine::seams {

bool ExecuteVBScript(Game&, const QString&, bool) { return true; }
void ExecuteOnLoadVBScript(Game&) {}
void LoadGlobalProcedures(Game&) {}
void SetScriptTimeout(Game&, int) {}
void DisableScriptTimeouts(Game&) {}
void LoadPlugins(Game&) {}
QString PluginsFrameCode(Game&) { return {}; }
QString PluginActionsCode(Game&, const QString&, bool) { return {}; }
void ResetComponents(Game&) {}

void ResetTimedEvents(Game&) {}
void StartTimedEvents(Game&) {}
void PauseTimedEvents(Game&) {}

void ResetDialogue(Game&) {}
bool DialogueActive(Game&) { return false; }
void LoadFrameDialogue(Game&, const QString&) {}
void EndDialogue(Game&) {}

void SetupInventoryBar(Game&) {}
bool InventoryMoving(Game&) { return false; }
void InventoryMove(Game&) {}
void SetInventoryMotion(Game&, int) {}
void HideInventoryIfItem(Game&, QObject*) {}

void StopAnyWavOrMP3(Game&) {}
void StopChannel(Game&, int) {}
bool IsPlayingOnAnyChannel(Game&, const QString&) { return false; }
void PlayOnChannel(Game&, int, const QString&, int, int) {}
void ResetSoundChannels(Game& game) { game.SoundChannels.reset(); }
void PlayChannelFile(Game&, const QString&) {}
// Until the sound layer performs them, pending entries are dropped once due.
void ApplySoundChannels(Game& game) { game.SoundChannels.clearPending(); }
void EnableAudioFade(Game&) {}
void AudioFadeStep(Game&, double) {}
void ClearMediaState(Game&) {}

void PrepareTransitions(Game&) {}
void TransitionStep1(Game&, int) {}
void TransitionStep2(Game&, int, double) {}


bool LoadWaveEffectIfAny(Game&, const QString&) { return false; }
void WaitForEffectStep(Game&) {}
void ResetEffect(Game&) {}
void StartEffect(Game&) {}

void ShowLoadGameWindow(Game&, bool) {}
void ShowSaveGameWindow(Game&) {}
void ShowExecuteVBScriptWindow(Game&) {}
void ShowEditProceduresWindow(Game&) {}
void ShowVariablesViewer(Game&) {}
void SwitchTransitions(Game& game) { game.mnuDisableTransitions->setChecked(!game.mnuDisableTransitions->checked()); }
void SwitchEffects(Game& game) { game.mnuDisableEffects->setChecked(!game.mnuDisableEffects->checked()); }

void ClearPendingResolution(Game&) {}
void RestoreDisplaySettingsIfChanged(Game&) { startup::RestoreDisplaySettings(); }

}  // namespace qm::engine::seams
