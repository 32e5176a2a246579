// Dragging an inventory item: a left press on an item starts the drag, the
// item's icon follows the pointer, and the release drops it on whatever lies
// below: a hotspot or its animated picture (the item-on-hotspot action),
// another item (a combination) or nothing. While the pointer moves, the
// controls below it are told that an item passes over them, which slides the
// bar away over the frame and back over the bar.
//
// The pressed item keeps the mouse until the release (the window system's
// implicit grab), so its own move and release events carry the whole drag.
#include <QCoreApplication>

#include "engine/Game.h"
#include "logic/GameLogic.h"
#include "logic/Inventory.h"
#include "startup/Project.h"

namespace qm::logic {

using engine::Game;
using engine::ImageControl;

namespace {

// The control of the game window at a widget: the widget itself or the
// nearest parent that is one.
engine::VbControl* controlOf(QWidget* w) {
  for (; w; w = w->parentWidget())
    if (auto* c = dynamic_cast<engine::VbControl*>(w)) return c;
  return nullptr;
}

bool isFrameControl(const QString& lowerName) {
  static const char* const kNames[] = {"picturebox", "backimage",       "area",           "anigifbox", "anigif",
                                       "text",       "framemessagebox", "labelmessagebox", "picwhere"};
  for (const char* n : kNames)
    if (lowerName == QLatin1String(n)) return true;
  return false;
}

}  // namespace

void Inventory::PickedObjectMouseDown(int Index, int Button) {
  Game& g = game_;
  g.state().StopMovie = true;
  g.state().TransitionSkip = true;
  if (g.OneTimeVideoPlayer && g.OneTimeVideoPlayer->playState() == 2) return;
  if (Button == engine::kRightButton) {
    if (!g.mnuExit->visible()) g.ShowMenus();
    else if (!g.state().MenuOpened) g.HideMenus();
    return;
  }
  g.HideMenus();
  if (Button != engine::kLeftButton) return;
  ImageControl* item = g.PickedObject.item(Index);
  if (!item) return;
  draggedItemIndex_ = Index;
  endDrag();
  // The drag shows the item's icon under the pointer.
  auto* icon = new ImageControl(QStringLiteral("DragIcon"), -1, g.PictureBox);
  icon->setAttribute(Qt::WA_TransparentForMouseEvents);
  icon->setStretch(true);
  icon->setPictureImage(item->image());
  icon->move(0, 0, kItemCellTwips, kItemCellTwips);
  icon->hide();
  dragIcon_ = icon;
}

QWidget* Inventory::dropTargetAt(ImageControl& item, QPointF posInItem, QPointF* posInTarget) const {
  QWidget* box = game_.PictureBox;
  const QPoint inBox = item.mapTo(box, posInItem.toPoint());
  QWidget* target = box->rect().contains(inBox) ? box->childAt(inBox) : nullptr;
  if (!target && box->rect().contains(inBox)) target = box;
  if (target && posInTarget) *posInTarget = QPointF(target->mapFrom(box, inBox));
  return target;
}

void Inventory::dragMove(ImageControl& item, QPointF posInItem) {
  if (!dragIcon_) return;
  QWidget* box = game_.PictureBox;
  const QPoint inBox = item.mapTo(box, posInItem.toPoint());
  dragIcon_->move((inBox.x() - 16) * engine::kTwipsPerPixel, (inBox.y() - 16) * engine::kTwipsPerPixel);
  dragIcon_->show();
  dragIcon_->raise();
  engine::VbControl* over = controlOf(dropTargetAt(item, posInItem, nullptr));
  if (!over) return;
  const QString name = over->vbName().toLower();
  if (name == QLatin1String("inventory1") || name == QLatin1String("inventory2")) {
    setMotion(InventoryMotionKind::Show);
  } else if (isFrameControl(name)) {
    HideInventoryIfItem(&item);
  }
}

void Inventory::dragEnd(ImageControl& item, QPointF posInItem) {
  if (!dragIcon_) return;
  QPointF at;
  engine::VbControl* target = controlOf(dropTargetAt(item, posInItem, &at));
  endDrag();
  if (!target) return;
  const QString name = target->vbName().toLower();
  const int index = target->vbIndex();
  if (name == QLatin1String("pickedobject")) {
    PickedObjectDragDrop(index);
  } else if (index > 0 && name == QLatin1String("area")) {
    game_.logic().AreaDragDrop(index, draggedItemIndex_, at.x() * engine::kTwipsPerPixel,
                               at.y() * engine::kTwipsPerPixel);
  } else if (index > 0 && name == QLatin1String("anigifbox")) {
    // The picture lies at the box's corner and lets the mouse through to it.
    game_.logic().AniGifDragDrop(index, draggedItemIndex_, at.x() * engine::kTwipsPerPixel,
                                 at.y() * engine::kTwipsPerPixel);
  }
}

void Inventory::endDrag() {
  if (dragIcon_) {
    dragIcon_->hide();
    dragIcon_->deleteLater();
  }
  dragIcon_ = nullptr;
}

}  // namespace qm::logic
