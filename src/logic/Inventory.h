// The inventory: the items the player holds, the bar they sit in (hidden above
// the frame, sliding down when the pointer comes near it or when an item is
// picked up), dragging an item onto a hotspot or onto another item, and the
// combinations of two items.
//
// The item controls are the window's PickedObject array (element k is item k,
// in the order picked up; its tag and tooltip carry the item's name); the bar
// is Inventory1, its button Inventory2. Everything runs on the window thread;
// the slide loop lets window events run on every pass, so the mouse handlers
// re-enter while it runs and only change InventoryMotion, which reverses or
// ends the running slide.
#pragma once

#include <QPointer>
#include <QString>

#include "logic/InventoryLayout.h"

class QObject;
class QWidget;

namespace qm::engine {
class Game;
class ImageControl;
}  // namespace qm::engine

namespace qm::logic {

enum class InventoryMotionKind { None = 0, Show = 1, Hide = 2 };

class Inventory {
 public:
  explicit Inventory(engine::Game& game);
  ~Inventory();
  Inventory(const Inventory&) = delete;
  Inventory& operator=(const Inventory&) = delete;

  // ---- Items -----------------------------------------------------------------
  // Adds an item at the end (duplicates allowed); pops the bar up unless told not to.
  void AddPickedObject(const QString& ObjectName, bool bDoNotPopup);
  // Removes item ObjectIndex; the later items move down one place.
  void RemovePickedObject(int ObjectIndex);
  // Gives the item of a clicked hotspot (the frame's ".fm4" file), if any.
  void PickOrNotPickObject(int AreaIndex);
  int count() const;
  // The name carried by item i ("" when there is none).
  QString itemName(int i) const;
  QStringList itemNames() const;

  // ---- The bar -----------------------------------------------------------------
  // Game reset: the bar empty and hidden above the frame, the button shown as
  // the switches say, the pictures applied.
  void SetupInventoryBar();
  // The bar is in use (inventory switch 1): items stand in the bar that slides.
  bool barOn() const;
  void Load_InventoryBackground();
  // The slide loop (returns when the bar has arrived or was told to stop).
  void Inventory_Move();
  void Inventory_Hide();
  // Sets the wanted motion; with startMoving, runs the slide loop unless it runs
  // already or the bar is off.
  void setMotion(InventoryMotionKind motion, bool startMoving = true);
  InventoryMotionKind motion() const { return motion_; }
  bool moving() const { return moving_; }
  bool popUp() const { return popUp_; }
  // An item dragged over the frame makes the bar slide away.
  void HideInventoryIfItem(QObject* ControlRef);
  int draggedItemIndex() const { return draggedItemIndex_; }
  // Position updates the last slide made (benchmarks read it).
  int lastSlideSteps() const { return lastSlideSteps_; }

  // ---- Drag and drop -----------------------------------------------------------
  // Item mouse down: menus, and for the left button the start of a drag.
  void PickedObjectMouseDown(int Index, int Button);
  // An item dropped on item Index: the combination file of the two, if any.
  void PickedObjectDragDrop(int Index);
  // Item Dragged put on item Index without the mouse (picked up and dropped by keys).
  void DropItemOnItem(int Dragged, int Index) {
    draggedItemIndex_ = Dragged;
    PickedObjectDragDrop(Index);
  }
  bool dragging() const { return dragIcon_ != nullptr; }

 private:
  void reportPickUpFailure(const QString& ObjectName, const QString& iconFile);
  void wireControls();
  void placeItem(int k);
  void wireItem(engine::ImageControl& item, int k);
  void resizeBar();
  void alignBackground();
  bool switchOn(int n) const;
  void onTimerInventory();
  // Drag handling: the dragged item's mouse events while a drag is on.
  void dragMove(engine::ImageControl& item, QPointF posInItem);
  void dragEnd(engine::ImageControl& item, QPointF posInItem);
  QWidget* dropTargetAt(engine::ImageControl& item, QPointF posInItem, QPointF* posInTarget) const;
  void endDrag();

  engine::Game& game_;
  InventoryLayout layout_;
  int draggedItemIndex_ = 0;
  InventoryMotionKind motion_ = InventoryMotionKind::None;
  bool moving_ = false;
  bool popUp_ = false;
  int lastSlideSteps_ = 0;
  QPointer<engine::ImageControl> dragIcon_;
};

}  // namespace qm::logic
