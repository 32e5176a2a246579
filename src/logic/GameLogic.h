#pragma once
// The hotspot and game-logic layer of the game window: the variable stores,
// the hotspots of the current frame (building, visibility, clicks and their
// actions) and the list of hotspots made to disappear.

#include <memory>

#include "engine/FrameLogic.h"
#include "logic/ActionRecord.h"
#include "logic/HotspotRecord.h"
#include "logic/VariableStore.h"

namespace qm::engine {
class Game;
}

namespace qm::logic {

class GameLogic : public engine::FrameLogic {
 public:
  explicit GameLogic(engine::Game& game);

  // ---- Variables ---------------------------------------------------------------
  VariableStore variables;
  // Hotspots made to disappear: name = frame, value = hotspot number.
  VariablesCollection Disappear;

  void ClearVariables() override;
  void ClearDisappear() override;
  void LoadVariables() override;
  bool DoesIntergerVariableExist(const QString& name) const override;
  bool DoesVariantVariableExist(const QString& name) const override;
  std::optional<QString> VariableValueText(const QString& name) const override;
  void ChangeVariableValue(const QString& name, int16_t newValue) { variables.ChangeVariableValue(name, newValue); }
  void ChangeVariableVariantValue(const QString& name, const QVariant& v) { variables.ChangeVariableVariantValue(name, v); }
  int16_t GetVariableValue(const QString& name) const { return variables.GetVariableValue(name); }

  // ---- Hotspots of the current frame ------------------------------------------------
  void SetMergedHotspotIndex(int index) override { mergedHotspotIndex_ = index; }
  int MergedHotspotIndex() const { return mergedHotspotIndex_; }
  void ResetFrameAreas() override;
  void LoadAreas() override;
  void ShowOrNotShowAreas() override;

  // ---- Mouse ----------------------------------------------------------------------------
  void AreaMouseDown(int index, int button, int shift, double x, double y) override;
  void AreaMouseMove(int index, int button, int shift, double x, double y) override;
  void AniGifBoxMouseDown(int index, int button, int shift, double x, double y) override;
  void AniGifBoxMouseMove(int index, int button, int shift, double x, double y) override;
  // An inventory item (its index) dropped on hotspot `index` (Area or AniGif).
  void AreaDragDrop(int index, int objectIndex, double x, double y);
  // Something dragged over a hotspot, an animated picture or its box.
  void AreaDragOver(QObject* source);

  // ---- Actions -----------------------------------------------------------------------------
  enum ActionResult { kNothingFurther = 0, kEndGame = 1, kFrameOpened = 2 };
  void AreaClick(int AreaIndex, int Button);
  int MakeAction(int AreaIndex, int ObjectIndex, bool bDoNotQuitDialogue);
  void MakeActionAndConsequences(int AreaIndex, int ObjectIndex, bool bDoNotQuitDialogue);
  int ExecuteVBScriptAndConsequences(const QString& sText, bool bResetLastClickPosition);
  void ExecuteConsequences();

 private:
  class ActionSink;
  void buildHotspot(int n, const HotspotRecord& record);
  void applyVisibility(int n, bool shown);
  int performAction(int AreaIndex, int ObjectIndex, bool bDoNotQuitDialogue, const ActionRecord& record);
  void playLegacySounds(int AreaIndex);
  void openRequestedFrame(bool endDialogue);
  void hotspotMouseMove();

  engine::Game& game_;
  int mergedHotspotIndex_ = 1;
};

// Gives every game window created from now on this logic layer.
void installGameLogic();

// The logic layer of a game window (nullptr when it has another one).
GameLogic* gameLogic(engine::Game& game);

}  // namespace qm::logic
