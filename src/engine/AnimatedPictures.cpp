// Animated pictures of hotspots: a box on the frame picture holding a GIF
// control, both with the hotspot's index. The box is transparent, so the
// GIF's transparent pixels show the frame behind it.
#include "engine/Game.h"
#include "platform/FileResolver.h"
#include "startup/ErrorReport.h"
#include "startup/Project.h"

namespace qm::engine {

namespace {
constexpr int kDefaultGifSpeed = 50;
}

int Game::AniGifNewWithIndex(int NewIndex, const QString& FileName, double X, double Y, int Speed) {
  if (FileName.isEmpty() || NewIndex <= 0) return 0;
  auto& box = AniGifBox.exists(NewIndex) ? AniGifBox[NewIndex] : AniGifBox.Load(NewIndex);
  auto& gif = AniGif.exists(NewIndex) ? AniGif[NewIndex] : AniGif.Load(NewIndex);
  box.setTransparentBack(true);
  box.clearPicture();
  // The box takes the clicks; the picture lets them through.
  gif.setAttribute(Qt::WA_TransparentForMouseEvents);
  box.move(X, Y);
  box.zOrder(0);
  AniGifUpdate(NewIndex, FileName, Speed);
  return NewIndex;
}

void Game::AniGifUpdate(int Index, const QString& FileName, int Speed) {
  if (startup::GameStopped()) return;
  if (FileName.isEmpty()) {
    if (AniGif.exists(Index)) AniGif.Unload(Index);
    if (AniGifBox.exists(Index)) AniGifBox.Unload(Index);
    return;
  }
  if (!platform::fileExists(FileName) || !AniGif.exists(Index) || !AniGifBox.exists(Index)) return;
  auto& gif = AniGif[Index];
  auto& box = AniGifBox[Index];
  gif.setSpeed(Speed < 1 ? kDefaultGifSpeed : Speed);
  if (!gif.setFileName(FileName)) {
    startup::ShowStandardErrorReport(QStringLiteral(" Unable to load '") + FileName + QStringLiteral("'."));
    return;
  }
  gif.move(0, 0);
  gif.play();
  gif.setVisibleVb(true);
  box.setWidth(gif.width());
  box.setHeight(gif.height());
}

}  // namespace qm::engine
