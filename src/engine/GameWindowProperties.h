// The game window's own VB properties, declared in one property table as the
// controls' are: its caption, place and size in twips, state, colours, font,
// pointer and the number of inventory items held. The window paints its back
// colour around the game picture.
#pragma once

#include <QCursor>
#include <optional>

#include "engine/controls/VbFont.h"
#include "engine/controls/VbObject.h"

namespace qm::engine {

class Game;

// VB's window states.
enum class VbWindowState { Normal = 0, Minimized = 1, Maximized = 2 };

class GameWindowProperties : public VbObject {
 public:
  explicit GameWindowProperties(Game& game) : game_(game) {}
  const PropertyTable& propertyTable() const override;
  QString vbName() const override { return QStringLiteral("Game"); }
  int vbIndex() const override { return -1; }

  QString caption() const;
  void setCaption(const QString& c);
  double left() const;
  void setLeft(double twips);
  double top() const;
  void setTop(double twips);
  double width() const;
  void setWidth(double twips);
  double height() const;
  void setHeight(double twips);
  bool visible() const;
  void setVisible(bool v);
  bool enabled() const;
  void setEnabled(bool e);
  // The inside of the window in twips.
  double scaleWidth() const;
  double scaleHeight() const;
  // Full screen counts as maximised; maximising a game shown full screen keeps it so.
  int windowState() const;
  void setWindowState(int state);
  // The window sees every key before its controls whatever this says; scripts may read back what they set.
  bool keyPreview() const { return keyPreview_; }
  void setKeyPreview(bool k) { keyPreview_ = k; }

  int backColor() const { return backColor_; }
  void setBackColor(int c);
  int foreColor() const { return foreColor_; }
  void setForeColor(int c) { foreColor_ = c; }
  const VbFont& vbFont() const { return font_; }
  void setVbFont(const VbFont& f) { font_ = f; }
  QString tag() const { return tag_; }
  void setTag(const QString& t) { tag_ = t; }
  int mousePointer() const { return mousePointer_; }
  void setMousePointer(int pointer);
  // Native path of the icon or cursor file; "" for none.
  QString mouseIcon() const { return mouseIconPath_; }
  void setMouseIcon(const QString& path);
  int objectsCount() const;

 private:
  void applyPointer();
  Game& game_;
  bool keyPreview_ = false;
  int backColor_ = 0;  // black around the picture
  int foreColor_ = 0x80000012;
  VbFont font_;
  QString tag_;
  int mousePointer_ = 0;
  QString mouseIconPath_;
  std::optional<QCursor> mouseIcon_;
};

}  // namespace qm::engine
