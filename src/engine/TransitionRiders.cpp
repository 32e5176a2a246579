#include "engine/TransitionRiders.h"

#include <QApplication>
#include <algorithm>

#include "engine/Game.h"
#include "script/AdditionalComponents.h"

namespace qm::engine {

TransitionRiders::TransitionRiders(Game& game) : game_(game) {}

void TransitionRiders::liftBeforeCapture(media::TransitionKind kind) {
  if (kind == media::TransitionKind::CrossFade) lift(true);
}

void TransitionRiders::liftAfterCapture(media::TransitionKind kind) {
  if (kind != media::TransitionKind::None) lift(false);
}

void TransitionRiders::lift(bool disappearBeforeCrossFade) {
  QWidget* frame = game_.PictureBox;
  QWidget* where = game_.picWhere;
  if (!frame || !where) return;
  if (riders_.empty()) {
    // The layers of the frame picture as they are before anything moves.
    layers_.clear();
    for (QObject* child : frame->children())
      if (child->isWidgetType()) layers_.emplace_back(static_cast<QWidget*>(child));
  }
  for (const auto& p : game_.components().placements()) {
    if (!p.control || !p.appearDuringTransitions) continue;
    if (disappearBeforeCrossFade && !p.disappearBeforeAlphablending) continue;
    if (p.control->parentWidget() != frame) continue;  // already lifted
    VbControl* c = p.control;
    const bool shown = !c->isHidden();
    QWidget* focus = QApplication::focusWidget();
    const bool hadFocus = focus && (focus == c || c->isAncestorOf(focus));
    c->setParent(where);
    c->QWidget::move(twipsToPixels(c->left()), twipsToPixels(c->top()));
    c->setVisible(shown);
    if (hadFocus) focus->setFocus();
    riders_.push_back({c, hadFocus ? QPointer<QWidget>(focus) : QPointer<QWidget>()});
  }
}

void TransitionRiders::follow(media::TransitionKind kind, double fraction) {
  if (riders_.empty() || !game_.picWhere) return;
  const QPoint offset = media::newPictureOffset(kind, fraction, game_.picWhere->QWidget::size());
  for (const auto& r : riders_)
    if (r.control)
      r.control->QWidget::move(twipsToPixels(r.control->left()) + offset.x(),
                               twipsToPixels(r.control->top()) + offset.y());
}

void TransitionRiders::putBack() {
  QWidget* frame = game_.PictureBox;
  if (riders_.empty() || !frame) {
    riders_.clear();
    layers_.clear();
    return;
  }
  auto isRider = [&](const QWidget* w) {
    return std::any_of(riders_.begin(), riders_.end(), [&](const Rider& r) { return r.control == w; });
  };
  for (const auto& r : riders_) {
    if (!r.control) continue;
    VbControl* c = r.control;
    const bool shown = !c->isHidden();
    c->setParent(frame);
    c->QWidget::move(twipsToPixels(c->left()), twipsToPixels(c->top()));
    c->setVisible(shown);
    if (r.focus) r.focus->setFocus();
  }
  // Each goes back into its layer: from the top down, just under the nearest
  // widget that was above it and is on the frame picture again.
  std::vector<QWidget*> restored;
  for (auto it = layers_.rbegin(); it != layers_.rend(); ++it) {
    QWidget* w = *it;
    if (!w || !isRider(w)) continue;
    QWidget* above = nullptr;
    for (auto up = it.base(); up != layers_.end() && !above; ++up) {
      QWidget* candidate = *up;
      if (!candidate || candidate->parentWidget() != frame) continue;
      if (!isRider(candidate) || std::find(restored.begin(), restored.end(), candidate) != restored.end())
        above = candidate;
    }
    if (above) w->stackUnder(above);
    else w->raise();
    restored.push_back(w);
  }
  riders_.clear();
  layers_.clear();
}

}  // namespace qm::engine
