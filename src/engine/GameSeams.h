// The calls the game window makes into parts of the player that live in other
// subsystems: scripts, plug-ins, timed events, dialogue, inventory,
// transitions, video, real-time effects, the load and save windows,
// the display resolution and the debug windows. Each does nothing (or answers
// "nothing running") until its subsystem provides it; the subsystem then
// replaces the body in GameSeams.cpp with a call into its own code.
#pragma once

#include <QObject>
#include <QString>
#include <vector>

#include "engine/FrameFile.h"

namespace qm::engine {
class Game;
}

namespace qm::engine::seams {

// ---- Scripts and plug-ins ----------------------------------------------------
// Runs script code; false when it failed (the script layer reports the error).
bool ExecuteVBScript(Game& game, const QString& code, bool bResetLastClickPosition);
// The project's start-up procedure, when the project has one enabled.
void ExecuteOnLoadVBScript(Game& game);
// Loads the global procedures text and adds it to the second script engine.
void LoadGlobalProcedures(Game& game);
// Script time-out in milliseconds for the first engine; -1 for none on both.
void SetScriptTimeout(Game& game, int milliseconds);
void DisableScriptTimeouts(Game& game);
void LoadPlugins(Game& game);
// Per-frame code of every loaded plug-in, each followed by CR LF.
QString PluginsFrameCode(Game& game);
// Code the plug-in module builds from a frame's or an action's plug-in data.
QString PluginActionsCode(Game& game, const QString& pluginActions, bool fromHotspot);
// Runs code as the debug menu's "Execute VBS code..." does, requests included.
void RunDebugCode(Game& game, const QString& code);

// ---- Timed events --------------------------------------------------------------
void ResetTimedEvents(Game& game);
void StartTimedEvents(Game& game);
void PauseTimedEvents(Game& game);

// ---- Dialogue --------------------------------------------------------------------
void ResetDialogue(Game& game);
bool DialogueActive(Game& game);
// Loads the frame's dialogue file (FramesData\ frame .dlg) and shows its questions.
void LoadFrameDialogue(Game& game, const QString& dialogueFile);
void EndDialogue(Game& game);

// ---- Inventory ---------------------------------------------------------------------
void SetupInventoryBar(Game& game);
bool InventoryMoving(Game& game);
void InventoryMove(Game& game);
void SetInventoryMotion(Game& game, int motion);
void HideInventoryIfItem(Game& game, QObject* dragged);

// ---- Media state of the transitions ---------------------------------------------------
void ClearMediaState(Game& game);

// ---- Transitions -------------------------------------------------------------------------
void PrepareTransitions(Game& game);
void TransitionStep1(Game& game, int iTransNumber);
void TransitionStep2(Game& game, int iTransNumber, double dTransitionDuration);

// ---- Video ----------------------------------------------------------------------------------
void StopOneTimeVideoPlayer(Game& game);
bool OneTimeVideoPlaying(Game& game);
void PlayMovieWithStop(Game& game, const QString& fileName, bool bStretched, int lLeft, int lTop, int lWidth,
                       int lHeight);

// ---- Real-time effects ------------------------------------------------------------------
// True when the frame has an effect and it was loaded.
bool LoadWaveEffectIfAny(Game& game, const QString& frameName);
// Waits (letting events run) until the running effect finished its step, at most 5 s.
void WaitForEffectStep(Game& game);
void ResetEffect(Game& game);
void StartEffect(Game& game);

// ---- Windows of other subsystems ------------------------------------------------------
void ShowLoadGameWindow(Game& game, bool fromWelcome);
void ShowSaveGameWindow(Game& game);
void ShowExecuteVBScriptWindow(Game& game);
void ShowEditProceduresWindow(Game& game);
void ShowVariablesViewer(Game& game);
void SwitchTransitions(Game& game);
void SwitchEffects(Game& game);

// ---- Display resolution -------------------------------------------------------------------
void ClearPendingResolution(Game& game);
void RestoreDisplaySettingsIfChanged(Game& game);

}  // namespace qm::engine::seams
