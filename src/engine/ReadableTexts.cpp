#include "engine/ReadableTexts.h"

#include <QRect>

#include "engine/Game.h"

namespace qm::engine {

namespace {

// Shown on the picture: the widget and every container up to the picture.
bool shownOnPicture(const QWidget* widget, const QWidget* picture) {
  for (const QWidget* w = widget; w; w = w->parentWidget()) {
    if (w->isHidden()) return false;
    if (w == picture) return true;
  }
  return false;
}

// The part of `widget` its containers let show, in picture pixels.
QRect visiblePart(const QWidget* widget, const QWidget* picture) {
  QRect part(widget->mapTo(picture, QPoint(0, 0)), widget->size());
  for (const QWidget* w = widget->parentWidget(); w && w != picture; w = w->parentWidget())
    part &= QRect(w->mapTo(picture, QPoint(0, 0)), w->size());
  return part & picture->rect();
}

// True when `a` is an ancestor of `b` (or `b` itself).
bool contains(const QWidget* a, const QWidget* b) {
  for (const QWidget* w = b; w; w = w->parentWidget())
    if (w == a) return true;
  return false;
}

// Whether `other` is stacked in front of `widget`: the first containers of
// each below their nearest shared container are compared in its stacking
// order (later children are painted over earlier ones).
bool inFront(const QWidget* other, const QWidget* widget) {
  for (const QWidget* a = widget; a; a = a->parentWidget()) {
    const QWidget* shared = a->parentWidget();
    if (!shared || !contains(shared, other)) continue;
    const QWidget* b = other;
    while (b->parentWidget() != shared) b = b->parentWidget();
    const QObjectList& order = shared->children();
    return order.indexOf(const_cast<QWidget*>(b)) > order.indexOf(const_cast<QWidget*>(a));
  }
  return false;
}

void addIfShown(Game& game, std::vector<ReadableText>& out, LabelControl* label, const QString& where) {
  if (!label || label->caption().isEmpty() || !shownOnPicture(label, game.PictureBox)) return;
  QWidget* front = controlInFrontOf(game, label);
  out.push_back({label->caption(), where, front ? controlName(front) : QString()});
}

}  // namespace

QString controlName(QWidget* widget) {
  if (auto* control = dynamic_cast<VbControl*>(widget)) {
    if (control->vbIndex() >= 0) return control->vbName() + QStringLiteral("(%1)").arg(control->vbIndex());
    return control->vbName();
  }
  if (!widget->objectName().isEmpty()) return widget->objectName();
  return QString::fromLatin1(widget->metaObject()->className());
}

QWidget* controlInFrontOf(Game& game, QWidget* widget) {
  QWidget* picture = game.PictureBox;
  const QRect part = visiblePart(widget, picture);
  if (part.isEmpty()) return nullptr;
  for (QWidget* other : picture->findChildren<QWidget*>()) {
    // Overlays that take no clicks (the keyboard's focus ring) draw no control.
    if (other->testAttribute(Qt::WA_TransparentForMouseEvents)) continue;
    if (contains(other, widget) || contains(widget, other)) continue;
    if (!shownOnPicture(other, picture)) continue;
    if (!visiblePart(other, picture).intersects(part)) continue;
    if (inFront(other, widget)) return other;
  }
  return nullptr;
}

std::vector<ReadableText> shownTexts(Game& game) {
  std::vector<ReadableText> out;
  addIfShown(game, out, game.LabelMessageBox, QStringLiteral("the message panel"));
  for (int i : game.lblDialogue.indices())
    if (i > 0) addIfShown(game, out, game.lblDialogue.item(i), QStringLiteral("dialogue question %1").arg(i));
  for (int i : game.Text.indices())
    if (i > 0) addIfShown(game, out, game.Text.item(i), QStringLiteral("text box %1").arg(i));
  return out;
}

QStringList readableTexts(Game& game) {
  QStringList texts;
  for (const ReadableText& t : shownTexts(game))
    if (t.coveredBy.isEmpty()) texts << t.text;
  return texts;
}

}  // namespace qm::engine
