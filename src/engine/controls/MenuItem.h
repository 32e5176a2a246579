// A menu item of the game window's menu bar, with its caption, visibility and
// check mark. Items with sub-items own a menu.
#pragma once

#include <QAction>
#include <QMenu>
#include <QObject>
#include <functional>

#include "engine/controls/VbObject.h"

namespace qm::engine {

class MenuItem : public QObject, public VbObject {
  Q_OBJECT
 public:
  // A plain item (action) or, with withSubMenu, an item that opens a menu.
  MenuItem(QString name, int index, const QString& caption, bool withSubMenu, QObject* parent = nullptr);
  ~MenuItem() override;
  const PropertyTable& propertyTable() const override;
  QString vbName() const override { return name_; }
  int vbIndex() const override { return index_; }
  void setVbIndex(int i) { index_ = i; }

  QString caption() const { return action_->text(); }
  void setCaption(const QString& c) { action_->setText(c); }
  bool visible() const { return action_->isVisible(); }
  void setVisible(bool v) { action_->setVisible(v); }
  bool checked() const { return action_->isChecked(); }
  void setChecked(bool c);
  // Enabled is the item's own setting: the toolkit also greys out an item
  // while it is hidden, and elements loaded from the hidden template must not
  // copy that.
  bool enabled() const { return enabled_; }
  void setEnabled(bool e) {
    enabled_ = e;
    action_->setEnabled(e);
  }
  QString tag() const { return tag_; }
  void setTag(const QString& t) { tag_ = t; }

  QAction* action() const { return action_; }
  QMenu* menu() const { return menu_; }  // nullptr for a plain item
  // Runs the click handler, as a click on the item does.
  void click();

  std::function<void()> onClick;
  // Called when the item's sub-menu opens.
  std::function<void()> onOpen;

  // For control arrays of menu items.
  void placeOnTop() { }
  void hideControl() { setVisible(false); }
  void detachHandlers() { onClick = nullptr, onOpen = nullptr; }

 private:
  QString name_;
  int index_;
  QString tag_;
  bool enabled_ = true;
  QMenu* menu_ = nullptr;
  QAction* action_ = nullptr;
};

}  // namespace qm::engine
