#include "media/Soundfont.h"

#include <QDir>
#include <QFileInfo>

namespace qm::media {

QStringList soundfontCandidates() {
  // default-GM.sf2 is the system's chosen General MIDI set (a link the soundfont packages
  // maintain); then the Debian packages by name, the larger ones first.
  QStringList list = {
      QStringLiteral("/usr/share/sounds/sf2/default-GM.sf2"),
      QStringLiteral("/usr/share/sounds/sf2/FluidR3_GM.sf2"),
      QStringLiteral("/usr/share/sounds/sf2/TimGM6mb.sf2"),
      QStringLiteral("/usr/share/sounds/sf3/default-GM.sf3"),
      QStringLiteral("/usr/share/sounds/sf3/MuseScore_General.sf3"),
  };
  // Anything else installed there.
  for (const char* folder : {"/usr/share/sounds/sf2", "/usr/share/sounds/sf3", "/usr/share/soundfonts"}) {
    const QDir dir(QString::fromLatin1(folder));
    for (const QFileInfo& f : dir.entryInfoList({QStringLiteral("*.sf2"), QStringLiteral("*.sf3")}, QDir::Files, QDir::Name)) {
      if (!list.contains(f.absoluteFilePath())) list.append(f.absoluteFilePath());
    }
  }
  return list;
}

QString findSoundfont() {
  const QString fromEnv = qEnvironmentVariable(kSoundfontVariable);
  if (!fromEnv.isEmpty() && QFileInfo(fromEnv).isFile()) return fromEnv;
  for (const QString& path : soundfontCandidates()) {
    if (QFileInfo(path).isFile()) return path;
  }
  return {};
}

}  // namespace qm::media
