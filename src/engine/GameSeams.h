// The calls the game window makes into parts of the player that live in other
// subsystems: scripts, plug-ins, video, the display resolution and the debug
// windows. Each does nothing (or answers
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


// ---- Media state of the transitions ---------------------------------------------------
void ClearMediaState(Game& game);

// ---- Video ----------------------------------------------------------------------------------
void StopOneTimeVideoPlayer(Game& game);
bool OneTimeVideoPlaying(Game& game);
// Waits while the one-time video plays, until it ends or StopMovie is asked for.
void WaitForOneTimeVideo(Game& game);
void PlayMovieWithStop(Game& game, const QString& fileName, bool bStretched, int lLeft, int lTop, int lWidth,
                       int lHeight);

// ---- Windows of other subsystems ------------------------------------------------------
void ShowExecuteVBScriptWindow(Game& game);
void ShowEditProceduresWindow(Game& game);

// ---- Display resolution -------------------------------------------------------------------
void ClearPendingResolution(Game& game);
void RestoreDisplaySettingsIfChanged(Game& game);

}  // namespace qm::engine::seams
