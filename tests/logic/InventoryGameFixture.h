// A game with items: LogicGameFixture plus item files, a private user data
// folder for saved-game previews, and no fixed waits while loading.
#pragma once

#include <QFile>
#include <QTemporaryDir>

#include "LogicGameFixture.h"
#include "logic/Inventory.h"
#include "logic/SavedGames.h"

namespace qm::testing {

class InventoryGameFixture : public LogicGameFixture {
 protected:
  void SetUp() override {
    LogicGameFixture::SetUp();
    ASSERT_TRUE(dataHome_.isValid());
    oldDataHome_ = qgetenv("XDG_DATA_HOME");
    qputenv("XDG_DATA_HOME", QFile::encodeName(dataHome_.path()));
    logic::SavedGames::setSkipFixedWaits(true);
  }
  void TearDown() override {
    logic::SavedGames::setSkipFixedWaits(false);
    logic::SavedGames::setWindowHook({});
    logic::SavedGames::setBeforeReplaceHook({});
    logic::SavedGames::setProjectFolderWritableOverride(std::nullopt);
    qputenv("XDG_DATA_HOME", oldDataHome_);
    LogicGameFixture::TearDown();
  }

  // Areas/<name>.obj naming the icon Areas/<name>.png, a 32 x 32 square.
  static void item(GameFolderBuilder& folder, const QString& name, QColor color = Qt::yellow) {
    startup::RecordWriter obj;
    obj.str(name + ".png");
    folder.records("Areas/" + name + ".obj", obj);
    folder.picture("Areas/" + name + ".png", 32, 32, color);
  }
  // Areas/<dragged>_on_<target>.drg.
  static void combination(GameFolderBuilder& folder, const QString& dragged, const QString& target, bool draggedGoes,
                          bool targetGoes, const QString& newItem, const QString& script = {}) {
    startup::RecordWriter drg;
    drg.integer(draggedGoes ? 1 : 0).integer(targetGoes ? 1 : 0).integer(newItem.isEmpty() ? 0 : 1).str(newItem);
    if (!script.isEmpty()) drg.integer(0).integer(0).integer(0).boolean(true).str(script);
    folder.records("Areas/" + dragged + "_on_" + target + ".drg", drg);
  }

  logic::Inventory& inventory() { return game().inventory(); }
  logic::SavedGames& saves() { return game().savedGames(); }
  QString items() { return inventory().itemNames().join('|'); }
  QString dataHome() const { return dataHome_.path(); }

 private:
  QTemporaryDir dataHome_;
  QByteArray oldDataHome_;
};

}  // namespace qm::testing
