#pragma once
// The hotspot and game-logic layer of the game window: the variable stores,
// the hotspots of the current frame (building, visibility, clicks and their
// actions) and the list of hotspots made to disappear.

#include <QString>
#include <optional>

#include "logic/ActionRecord.h"
#include "logic/HotspotRecord.h"
#include "logic/VariableStore.h"
#include "script/ScriptResult.h"

namespace qm::engine {
class Game;
}

namespace qm::logic {

class GameLogic {
 public:
  explicit GameLogic(engine::Game& game);

  // ---- Variables ---------------------------------------------------------------
  VariableStore variables;
  // Hotspots made to disappear: name = frame, value = hotspot number.
  VariablesCollection Disappear;

  void ClearVariables();
  void ClearDisappear();
  void LoadVariables();
  bool DoesIntergerVariableExist(const QString& name) const;
  bool DoesVariantVariableExist(const QString& name) const;
  std::optional<QString> VariableValueText(const QString& name) const;
  void ChangeVariableValue(const QString& name, int16_t newValue) { variables.ChangeVariableValue(name, newValue); }
  void ChangeVariableVariantValue(const QString& name, const QVariant& v) { variables.ChangeVariableVariantValue(name, v); }
  int16_t GetVariableValue(const QString& name) const { return variables.GetVariableValue(name); }

  // ---- Hotspots of the current frame ------------------------------------------------
  void SetMergedHotspotIndex(int index) { mergedHotspotIndex_ = index; }
  int MergedHotspotIndex() const { return mergedHotspotIndex_; }
  void ResetFrameAreas();
  void LoadAreas();
  void ShowOrNotShowAreas();

  // ---- Mouse ----------------------------------------------------------------------------
  void AreaMouseDown(int index, int button, int shift, double x, double y);
  void AreaMouseMove(int index, int button, int shift, double x, double y);
  void AniGifBoxMouseDown(int index, int button, int shift, double x, double y);
  void AniGifBoxMouseMove(int index, int button, int shift, double x, double y);
  // An inventory item (its index) dropped at (x, y) on hotspot `index`'s own
  // control, or on its animated picture's box: either way the click position
  // is that point in the frame.
  void AreaDragDrop(int index, int objectIndex, double x, double y);
  void AniGifDragDrop(int index, int objectIndex, double x, double y);
  // Something dragged over a hotspot, an animated picture or its box.
  void AreaDragOver(QObject* source);

  // ---- Actions -----------------------------------------------------------------------------
  enum ActionResult { kNothingFurther = 0, kEndGame = 1, kFrameOpened = 2 };
  void AreaClick(int AreaIndex, int Button);
  int MakeAction(int AreaIndex, int ObjectIndex, bool bDoNotQuitDialogue);
  void MakeActionAndConsequences(int AreaIndex, int ObjectIndex, bool bDoNotQuitDialogue);
  // Runs code and then carries out its requests (ExecuteConsequences); a run
  // that failed leaves its requests undone.
  script::ScriptResult ExecuteVBScriptAndConsequences(const QString& sText, bool bResetLastClickPosition);
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

}  // namespace qm::logic
