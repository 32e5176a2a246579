#include "engine/controls/MenuItem.h"

#include "engine/controls/VbControl.h"
#include "platform/InterfaceFont.h"
#include "platform/InterfaceScale.h"

namespace qm::engine {

namespace {
const PropertyDef kProps[] = {
    QM_PROP(MenuItem, "Caption", caption, setCaption, toString),
    QM_PROP(MenuItem, "Visible", visible, setVisible, toBool),
    QM_PROP(MenuItem, "Checked", checked, setChecked, toBool),
    QM_PROP(MenuItem, "Enabled", enabled, setEnabled, toBool),
    QM_PROP(MenuItem, "Tag", tag, setTag, toString),
    QM_PROP_RO(MenuItem, "Name", vbName),
    QM_PROP_RO(MenuItem, "Index", vbIndex),
};
const PropertyTable kTable{kProps, nullptr};
}  // namespace

MenuItem::MenuItem(QString name, int index, const QString& caption, bool withSubMenu, QObject* parent)
    : QObject(parent), name_(std::move(name)), index_(index) {
  if (withSubMenu) {
    menu_ = new QMenu(caption);
    menu_->setFont(platform::InterfaceFont());
    action_ = menu_->menuAction();
    connect(menu_, &QMenu::aboutToShow, this, [this] {
      // At the interface's size of the moment: it follows the game picture.
      platform::ScaleInterfaceWindow(*menu_);
      if (onOpen) onOpen();
    });
  } else {
    action_ = new QAction(caption, this);
    // The check mark is the program's to set, as the Checked property: a
    // click only runs the click handler. A checkable action has already
    // flipped its mark when it reports the click, so that flip is undone first.
    connect(action_, &QAction::triggered, this, [this](bool checkedNow) {
      if (action_->isCheckable()) action_->setChecked(!checkedNow);
      click();
    });
  }
}

MenuItem::~MenuItem() { delete menu_; }

const PropertyTable& MenuItem::propertyTable() const { return kTable; }

void MenuItem::setChecked(bool c) {
  action_->setCheckable(true);
  action_->setChecked(c);
}

void MenuItem::click() {
  if (onClick) onClick();
}

}  // namespace qm::engine
