// The game doctor over a game folder whose data files come from the input:
// the input is cut at each byte 0x1E into the files of a fixed list (General
// first). Whatever the files hold, the doctor reports and never crashes.
#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <memory>

#include "doctor/Doctor.h"
#include "doctor/Reports.h"

namespace {

const char* const kFiles[] = {
    "Config/General",      "Config/Variables",    "Frames/A.fme",        "Frames/A.lks",        "FramesData/A.fm2",
    "FramesData/A.fm3",    "FramesData/A.dlg",    "FramesData/A.fm0",    "FramesData/A.fm1",    "FramesData/A.fm4",
    "Config/Procedures",   "Config/Resume",       "Config/CDContents",   "Config/Texts",        "Areas/K.obj",
    "Areas/K_on_K.drg",    "Frames/A.rwe",        "Config/Plugins",      "CPData/P.cp",         "Config/More",
};

struct World {
  World() {
    static int argc = 1;
    static char name[] = "fuzz";
    static char* argv[] = {name, nullptr};
    app = std::make_unique<QCoreApplication>(argc, argv);
    if (!dir.isValid()) std::abort();
    for (const char* sub : {"Config", "Frames", "FramesData", "Areas", "CPData"}) QDir(dir.path()).mkpath(sub);
  }
  std::unique_ptr<QCoreApplication> app;
  QTemporaryDir dir;
};

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  static World world;
  const QByteArray input(reinterpret_cast<const char*>(data), static_cast<qsizetype>(size));
  const QList<QByteArray> parts = input.split('\x1e');
  for (qsizetype i = 0; i < static_cast<qsizetype>(std::size(kFiles)); ++i) {
    // Only files inside the temporary game folder are written.
    QFile f(world.dir.path() + QLatin1Char('/') + QLatin1String(kFiles[i]));
    if (i < parts.size()) {
      if (!f.open(QIODevice::WriteOnly | QIODevice::Truncate)) std::abort();
      f.write(parts[i]);
    } else {
      f.remove();
    }
  }
  const qm::doctor::CheckResult result = qm::doctor::checkGameFolder(world.dir.path());
  if (!result.isGame) {  // Config/General is always there
    std::fprintf(stderr, "not a game: %s\n", result.notGameReason.toLocal8Bit().constData());
    std::abort();
  }
  (void)qm::doctor::jsonReport(result);
  for (const auto& f : result.findings.all())
    if (f.code == QLatin1String("check-failed")) {
      std::fprintf(stderr, "%s\n", f.message.toLocal8Bit().constData());
      std::abort();
    }
  return 0;
}
