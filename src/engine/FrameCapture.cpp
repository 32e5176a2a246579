// The two frame captures of the transitions: what the player shows, and the
// frame composed from its parts.
#include <QPainter>
#include <algorithm>
#include <vector>

#include "engine/Game.h"
#include "engine/GameDisplay.h"
#include "engine/KeyboardPlay.h"
#include "engine/Transitions.h"
#include "logic/Inventory.h"
#include "platform/FileResolver.h"
#include "startup/Project.h"

namespace qm::engine {

void Transitions::CaptureActualFrame(PictureBoxControl& PicBox) {
  // The inventory is not photographed. With the bar in use, the bar goes up
  // (and stays up) and the button hides until the picture is taken; without
  // it, the items hide meanwhile.
  logic::Inventory& inventory = game_.inventory();
  const bool withBar = inventory.barOn();
  const bool buttonWasVisible = game_.Inventory2->visible();
  std::vector<VbControl*> hiddenItems;
  if (withBar) {
    game_.Inventory2->setVisibleVb(false);
    inventory.Inventory_Hide();
  } else {
    for (int i = 1; i <= game_.state().ObjectsCount; ++i)
      if (VbControl* item = game_.PickedObject.item(i)) {
        item->setVisibleVb(false);
        hiddenItems.push_back(item);
      }
  }

  // Nor are the keyboard's outlines and focus ring: they are no part of the frame.
  KeyboardPlay& keys = game_.keyboardPlay();
  const bool keysWereCovered = keys.setCovered(true);
  QImage shot = game_.PictureBox->snapshot();
  keys.setCovered(keysWereCovered);

  // In a window, whatever lies outside the desktop work area cannot be seen and stays black.
  // The picture may be drawn larger than its own size: the part seen is found
  // on screen and taken back to picture pixels.
  if (game_.display().windowedPlay() && game_.state().WorkArea.isValid()) {
    const double scale = game_.display().displayScale();
    const QPoint origin = game_.mapToGlobal(game_.display().pictureToWindow(QPointF(0, 0)).toPoint());
    const QRectF onScreen(origin, QSizeF(shot.size()) * scale);
    const QRectF seenOnScreen = onScreen.intersected(QRectF(game_.state().WorkArea)).translated(-QPointF(origin));
    const QRect seen = QRectF(seenOnScreen.topLeft() / scale, seenOnScreen.size() / scale).toAlignedRect() & shot.rect();
    if (seen != shot.rect()) {
      QImage cut(shot.size(), shot.format());
      cut.fill(Qt::black);
      if (!seen.isEmpty()) {
        QPainter p(&cut);
        p.drawImage(seen.topLeft(), shot, seen);
      }
      shot = cut;
    }
  }
  if (withBar) game_.Inventory2->setVisibleVb(buttonWasVisible);
  for (VbControl* item : hiddenItems) item->setVisibleVb(true);

  PicBox.cls();
  PicBox.setBackColor(0);
  PicBox.setPictureImage(shot);
}

void Transitions::CaptureCurrentFrame(PictureBoxControl& PicBox) {
  PictureBoxControl& frame = *game_.PictureBox;
  QImage out(frame.QWidget::size(), QImage::Format_RGB32);
  out.fill(Qt::black);
  {
    QPainter p(&out);
    // The background: a colour, the tiles painted on the frame picture, or its picture.
    frame.paintOwnLayers(p, out.rect());
    auto paintControl = [&p](QWidget* w) { w->render(&p, w->pos(), QRegion(), QWidget::RenderFlags()); };

    // Text boxes as they are drawn on screen.
    for (int i : game_.Text.indices())
      if (LabelControl* t = game_.Text.item(i); i != 0 && t && t->visible()) paintControl(t);

    // Hotspot pictures; a hotspot with an animated picture is drawn by it.
    for (int i : game_.Area.indices()) {
      ImageControl* a = game_.Area.item(i);
      if (i == 0 || !a || !a->hasPicture() || !a->visible() || a->whatsThisHelpId() > 0) continue;
      paintControl(a);
    }

    // Animated pictures show their first image (they start again after the transition).
    for (int i : game_.Area.indices()) {
      const ImageControl* a = game_.Area.item(i);
      const int link = i != 0 && a ? a->whatsThisHelpId() : 0;
      if (link <= 0 || !game_.AniGifBox.exists(link) || !game_.AniGif.exists(link)) continue;
      const PictureBoxControl& box = game_.AniGifBox[link];
      const AnimatedPictureControl& gif = game_.AniGif[link];
      if (!box.visible() || gif.fileName().isEmpty() || !platform::fileExists(gif.fileName())) continue;
      p.drawImage(box.pos() + gif.pos(), gif.stillImage());
    }

    if (game_.PicRipplingWater->visible()) paintControl(game_.PicRipplingWater);
  }
  PicBox.cls();
  PicBox.setPictureImage(out);
}

}  // namespace qm::engine
