#include "doctor/Doctor.h"

#include <QDir>
#include <QFileInfo>
#include <exception>
#include <functional>

#include "doctor/Checks.h"
#include "doctor/GameFacts.h"
#include "doctor/Readers.h"
#include "platform/FileConfinement.h"
#include "platform/FileResolver.h"
#include "platform/NativeFile.h"
#include "script/Plugins.h"
#include "startup/Project.h"

namespace qm::doctor {
namespace {

// A stage that fails is reported, and the others still run.
void stage(Findings& findings, const char* what, const std::function<void()>& run) {
  try {
    run();
  } catch (const std::exception& e) {
    findings.error(Place{}, QStringLiteral("check-failed"),
                   QStringLiteral("the %1 stopped: %2").arg(QLatin1String(what), QString::fromLocal8Bit(e.what())));
  } catch (...) {
    findings.error(Place{}, QStringLiteral("check-failed"), QStringLiteral("the %1 stopped").arg(QLatin1String(what)));
  }
}

// While the doctor reads a game, the player's look-ups answer for that game's
// folder only; afterwards the project state is what it was.
class ReadingGameFolder {
 public:
  explicit ReadingGameFolder(const QString& folder)
      : paths_(startup::project().paths), roots_(platform::confinementRoots()) {
    startup::setProjectFolder(folder);
  }
  ~ReadingGameFolder() {
    startup::project().paths = paths_;
    platform::setConfinementRoots(roots_);
  }
  ReadingGameFolder(const ReadingGameFolder&) = delete;
  ReadingGameFolder& operator=(const ReadingGameFolder&) = delete;

 private:
  startup::ProjectPaths paths_;
  QStringList roots_;
};

}  // namespace

CheckResult checkGameFolder(const QString& folder) {
  CheckResult result;
  const QString absolute = QDir(folder).absolutePath();
  // By its bytes: a folder copied from an old disc or archive may be named in a code page.
  if (folder.isEmpty() || !platform::isFolderAt(absolute)) {
    result.notGameReason = QStringLiteral("'%1' is not a folder").arg(folder);
    return result;
  }
  GameFacts facts;
  facts.folder = absolute;
  facts.paths = startup::computeProjectPaths(absolute);
  // Every file the readers open stays inside the game's folder.
  const ReadingGameFolder reading(absolute);
  if (!platform::fileExists(facts.paths.config + QStringLiteral("General"))) {
    result.notGameReason = QStringLiteral("'%1' is not a game folder: it has no Config/General").arg(folder);
    return result;
  }
  result.isGame = true;
  Findings& findings = result.findings;
  stage(findings, "reading of the project files", [&] { readProjectFiles(facts, findings); });
  stage(findings, "reading of the frames", [&] { readFrameFiles(facts, findings); });
  stage(findings, "reading of the items", [&] { readItemFiles(facts, findings); });
  script::PluginTable().clear();
  stage(findings, "script check", [&] { checkScripts(facts, findings); });
  stage(findings, "file check", [&] { checkNamedFiles(facts, findings); });
  stage(findings, "frame name check", [&] { checkFrameNames(facts, findings); });
  stage(findings, "reachability check", [&] { checkReachability(facts, findings); });
  stage(findings, "variable check", [&] { checkVariables(facts, findings); });
  findings.sort();
  result.filesChecked = facts.filesRead;
  return result;
}

}  // namespace qm::doctor
