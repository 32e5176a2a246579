// quillmere --check GAME_FOLDER [--json]: the game doctor. Reads the whole game
// without playing it and reports its problems; exit status 0 without errors,
// 1 with errors, 2 when the folder is not a game.
#include <QCoreApplication>
#include <cstdio>

#include "app/Commands.h"
#include "app/GameArgument.h"
#include "doctor/Doctor.h"
#include "doctor/Reports.h"
#include "platform/DialogService.h"
#include "platform/NativeName.h"
#include "platform/RecordingDialogService.h"

namespace qm::app {

int runCheck(int argc, char** argv, const Args& args) {
  bool json = false;
  Args folders;
  for (const std::string& a : args) {
    if (a == "--json") json = true;
    else folders.push_back(a);
  }
  if (folders.size() != 1 || (!folders[0].empty() && folders[0][0] == '-')) {
    std::fputs("quillmere: --check needs exactly one GAME_FOLDER [--json]\n", stderr);
    return 2;
  }
  // Pictures decode without a display; nothing is shown.
  QCoreApplication app(argc, argv);
  // Nothing the readers do may wait for an answer.
  platform::ScopedRecordingDialogs silent;
  // A game's archive is checked as the folder it unpacks to.
  const GameArgument given = gameFromArgument(platform::nameFromBytes(QByteArray(folders[0].c_str())));
  if (!given.error.isEmpty()) {
    std::fprintf(stderr, "quillmere: --check: %s\n", given.error.toUtf8().constData());
    return 2;
  }
  const doctor::CheckResult result = doctor::checkGameFolder(given.folder);
  if (!result.isGame) {
    std::fprintf(stderr, "quillmere: --check: %s\n", result.notGameReason.toLocal8Bit().constData());
    return 2;
  }
  if (json) {
    const QByteArray doc = doctor::jsonReport(result);
    std::fwrite(doc.constData(), 1, static_cast<size_t>(doc.size()), stdout);
  } else {
    std::fputs(doctor::textReport(result).toUtf8().constData(), stdout);
  }
  return result.findings.count(doctor::Severity::Error) > 0 ? 1 : 0;
}

}  // namespace qm::app
