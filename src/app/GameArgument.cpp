#include "app/GameArgument.h"

#include "distribution/ArchiveReader.h"
#include "distribution/GameArchive.h"
#include "platform/NativeFile.h"
#include "platform/NativeName.h"

namespace qm::app {

GameArgument gameFromArgument(const QString& nativePath) {
  GameArgument game;
  if (nativePath.isEmpty() || !platform::isPlainFileAt(nativePath)) {
    game.folder = nativePath;
    return game;
  }
  if (!distribution::isArchiveFile(platform::bytesOfName(nativePath).toStdString())) {
    game.error = QStringLiteral("%1 is neither a game folder nor an archive the player can read "
                                "(.zip, .7z, .rar, .tar.*, .iso)")
                     .arg(platform::readableName(nativePath));
    return game;
  }
  const distribution::ArchivedGame archived = distribution::openGameArchive(nativePath);
  game.folder = archived.folder;
  game.error = archived.error;
  return game;
}

}  // namespace qm::app
