// How the game window reaches the hotspot and game-logic layer (variables,
// hotspots, visibility, actions). The window owns one FrameLogic; the logic
// layer installs its implementation through setFrameLogicFactory, and until it
// does, a window works with this do-nothing base (no variables, no hotspots).
#pragma once

#include <QString>
#include <functional>
#include <memory>
#include <optional>

namespace qm::engine {

class Game;

class FrameLogic {
 public:
  virtual ~FrameLogic() = default;

  // Game reset: remove every integer and variant variable (last to first).
  virtual void ClearVariables() {}
  // Game reset: empty the list of hotspots made to disappear.
  virtual void ClearDisappear() {}
  // Game reset: rebuild the variable stores from the variables file.
  virtual void LoadVariables() {}
  virtual bool DoesIntergerVariableExist(const QString&) const { return false; }
  virtual bool DoesVariantVariableExist(const QString&) const { return false; }
  // The value of the first integer variable named exactly `name`, or the text
  // of a variant variable; nullopt when there is none (walkthroughs, viewers).
  virtual std::optional<QString> VariableValueText(const QString&) const { return std::nullopt; }

  // Frame opening.
  virtual void SetMergedHotspotIndex(int) {}
  virtual void ResetFrameAreas() {}
  virtual void LoadAreas() {}
  virtual void ShowOrNotShowAreas() {}

  // Mouse events of the hotspot controls (button 1/2/4, shift state, x/y in
  // twips relative to the control). The window wires Area and AniGifBox
  // elements to these.
  virtual void AreaMouseDown(int, int, int, double, double) {}
  virtual void AreaMouseMove(int, int, int, double, double) {}
  virtual void AniGifBoxMouseDown(int, int, int, double, double) {}
  virtual void AniGifBoxMouseMove(int, int, int, double, double) {}
};

using FrameLogicFactory = std::function<std::unique_ptr<FrameLogic>(Game&)>;
// Every game window created afterwards gets its logic from this factory.
void setFrameLogicFactory(FrameLogicFactory factory);
const FrameLogicFactory& frameLogicFactory();

}  // namespace qm::engine
