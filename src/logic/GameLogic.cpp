#include "logic/GameLogic.h"

#include "engine/Game.h"
#include "logic/Inventory.h"
#include "logic/VariablesViewer.h"
#include "script/Plugins.h"
#include "startup/Project.h"
#include "startup/Waiting.h"

namespace qm::logic {

GameLogic::GameLogic(engine::Game& game) : game_(game) {}

// ---- Variables ------------------------------------------------------------------

void GameLogic::ClearVariables() { variables.clear(); }

void GameLogic::ClearDisappear() { Disappear.Clear(); }

void GameLogic::LoadVariables() {
  // Every loaded plug-in brings its own integer and variant variables.
  std::vector<PluginVariableNames> pluginVariables;
  for (const auto& plugin : script::PluginTable())
    pluginVariables.push_back({plugin.integerVariables, plugin.variantVariables});
  variables.LoadVariables(startup::project().paths.config + QStringLiteral("Variables"), pluginVariables);
}

bool GameLogic::DoesIntergerVariableExist(const QString& name) const { return variables.DoesIntergerVariableExist(name); }

bool GameLogic::DoesVariantVariableExist(const QString& name) const { return variables.DoesVariantVariableExist(name); }

std::optional<QString> GameLogic::VariableValueText(const QString& name) const {
  for (const auto& v : variables.Variables)
    if (v.Name == name) return QString::number(v.Value);
  for (const auto& v : variables.VariablesVariant)
    if (v.Name == name) {
      try {
        return variantValueText(v.Value);
      } catch (...) {
        return QStringLiteral("(an object)");
      }
    }
  return std::nullopt;
}

// ---- Mouse handlers of the hotspot controls ----------------------------------------

void GameLogic::AreaMouseDown(int index, int button, int, double x, double y) {
  if (!game_.Area.exists(index)) return;
  const auto& area = game_.Area[index];
  game_.SaveClickPos(area.left() + x, area.top() + y);
  AreaClick(index, button);
  startup::WaitSeconds(0.1, false);
  game_.SetScreenPointerDefault();
}

void GameLogic::AniGifBoxMouseDown(int index, int button, int, double x, double y) {
  if (!game_.AniGifBox.exists(index)) return;
  const auto& box = game_.AniGifBox[index];
  game_.SaveClickPos(box.left() + x, box.top() + y);
  AreaClick(index, button);
}

void GameLogic::AreaDragDrop(int index, int objectIndex, double x, double y) {
  if (!game_.Area.exists(index)) return;
  const auto& area = game_.Area[index];
  game_.SaveClickPos(area.left() + x, area.top() + y);
  MakeActionAndConsequences(index, objectIndex, false);
}

void GameLogic::AniGifDragDrop(int index, int objectIndex, double x, double y) {
  if (!game_.AniGifBox.exists(index)) return;
  const auto& box = game_.AniGifBox[index];
  game_.SaveClickPos(box.left() + x, box.top() + y);
  MakeActionAndConsequences(index, objectIndex, false);
}

void GameLogic::AreaDragOver(QObject* source) { game_.inventory().HideInventoryIfItem(source); }

void GameLogic::hotspotMouseMove() {
  game_.inventory().setMotion(InventoryMotionKind::Hide);
}

void GameLogic::AreaMouseMove(int, int, int, double, double) { hotspotMouseMove(); }

void GameLogic::AniGifBoxMouseMove(int, int, int, double, double) { hotspotMouseMove(); }

}  // namespace qm::logic
