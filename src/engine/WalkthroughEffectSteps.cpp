#include "engine/WalkthroughEffectSteps.h"

#include "engine/Game.h"
#include "engine/RipplingWater.h"

namespace qm::engine {

std::optional<QString> expectEffectStep(Game* game, const QStringList& w) {
  if (w.size() < 2 || w[1].toLower() != QLatin1String("water")) return std::nullopt;
  const QString state = w.size() == 3 ? w[2].toLower() : QString();
  if (state != QLatin1String("on") && state != QLatin1String("off"))
    return QStringLiteral("expect water needs on or off");
  if (!game) return QStringLiteral("the game has not started");
  const bool running = game->effects().RippleActive && game->PicRipplingWater->visible() &&
                       game->TimerRipplingWater.enabled();
  if (running == (state == QLatin1String("on"))) return QString();
  return running ? QStringLiteral("the water ripples") : QStringLiteral("there is no rippling water");
}

}  // namespace qm::engine
