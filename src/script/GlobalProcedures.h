// The project's global procedures (Config/Procedures) and the text that a script
// engine is filled with before every run.
#pragma once

#include <QString>

namespace qm::script {

// Reads Config/Procedures: three header lines are skipped, the rest is joined
// with CR LF; each line is unscrambled first when the project stores the file
// scrambled ("ProcEncr" = 1 in Config/More). A missing file gives "". Any
// failure shows "Error loading projet procedures." and gives "".
QString LoadGlobalProcedures();

// The same from the file's bytes (scrambled with the given key number, or plain).
// Throws qm::VbError when the file ends before its first code line.
QString ParseGlobalProcedures(const QByteArray& fileBytes, bool scrambled, int32_t keyNumber);

// What an engine is filled with: the global procedures, the plugins' global code,
// and the code to run wrapped in "Sub StartupProcedure".
QString ComposeScriptText(const QString& globalProcedures, const QString& pluginsGlobalCode,
                          const QString& startupCode);

// True when the text calls CreateObject( (exact spelling) and the project does not
// allow it ("AllowCreateObject" is not "1").
bool IsCreateObjectBlocked(const QString& scriptText, const QString& allowCreateObjectSetting);

// The text added instead when a run is blocked: an empty StartupProcedure.
QString EmptyStartupProcedure();

}  // namespace qm::script
