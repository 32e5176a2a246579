// Running another program and waiting for its end.
#pragma once

#include <QString>

namespace qm::startup {

// Starts the program (the whole text is the path of one program file as the
// game names it: nothing is split off as arguments) and waits while letting
// window events run. A game may only run a program file of its own folder, not
// a Windows program (.exe .com .bat .pif), and only after the player allowed it
// in a question box ("This game wants to run <program>. Allow?"); the answer is
// kept in the game's settings for the next time.
// Failures show the standard error report " Error opening the file titled
// '<path>'." when reportFully, else an information box "Error launching external
// application. Probably file not found (<path>)." A program the player did not
// allow is not a failure to report. Returns false when nothing ran.
bool RunAndWait(const QString& path, bool reportFully);

// The settings key under which the player's answer for that program (a real
// path inside the game folder) is kept.
QString ProgramPermissionKey(const QString& nativeProgram);

// True for the names of Windows programs (.exe .com .bat .pif), which do not run here.
bool IsWindowsProgramName(const QString& name);

}  // namespace qm::startup
