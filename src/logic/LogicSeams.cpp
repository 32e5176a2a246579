#include "logic/LogicSeams.h"

#include "engine/Game.h"
#include "engine/GameSeams.h"
#include "platform/FileResolver.h"
#include "startup/MediaFiles.h"
#include "startup/Project.h"

namespace qm::logic::seams {

int AniGifNewWithIndex(engine::Game& game, int n, const QString& nativePath, double left, double top, int speed) {
  // A box at the position holding the animated picture; the box takes the
  // picture's size and gets the clicks (the picture lets them through).
  auto& box = game.AniGifBox.exists(n) ? game.AniGifBox[n] : game.AniGifBox.Load(n);
  auto& picture = game.AniGif.exists(n) ? game.AniGif[n] : game.AniGif.Load(n);
  picture.setAttribute(Qt::WA_TransparentForMouseEvents);
  picture.setSpeed(speed);
  picture.setFileName(nativePath);
  box.move(left, top);
  picture.move(0, 0);  // inside its box
  box.clearPicture();
  const QImage first = picture.stillImage();
  if (!first.isNull()) {
    box.setWidth(first.width() * engine::kTwipsPerPixel);
    box.setHeight(first.height() * engine::kTwipsPerPixel);
  }
  picture.setVisibleVb(true);
  box.zOrder(0);
  return n;
}

void StopAnimation(engine::Game& game, int link) {
  if (game.AniGif.exists(link)) game.AniGif[link].stop();
}

void StartAnimation(engine::Game& game, int link) {
  if (game.AniGif.exists(link)) game.AniGif[link].play();
}

void PickOrNotPickObject(engine::Game&, int) {}
void AddPickedObject(engine::Game&, const QString&, bool) {}
void RemovePickedObject(engine::Game&, int) {}

QString PickedObjectName(engine::Game& game, int objectIndex) {
  return game.PickedObject.exists(objectIndex) ? game.PickedObject[objectIndex].tag() : QString();
}

bool MovieWithStopOn(engine::Game& game) { return game.VideoStarting; }

}  // namespace qm::logic::seams

#include "logic/VariableStore.h"
#include "script/Plugins.h"

namespace qm::logic::seams {
std::vector<PluginVariableNames> PluginVariables(engine::Game&) {
  std::vector<PluginVariableNames> out;
  for (const auto& plugin : script::PluginTable()) out.push_back({plugin.integerVariables, plugin.variantVariables});
  return out;
}
}  // namespace qm::logic::seams
