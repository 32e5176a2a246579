// The menu bar: which items show, and the items' own actions.
#include <QMenuBar>

#include "engine/Game.h"
#include "engine/GameDisplay.h"
#include "engine/Transitions.h"
#include "engine/RipplingWater.h"
#include "logic/SavedGames.h"
#include "logic/VariablesViewer.h"
#include "script/ScriptHost.h"
#include "platform/DialogService.h"
#include "startup/Project.h"

namespace qm::engine {

using startup::GameStopped;
using startup::project;

void Game::createMenus() {
  mnuExit = new MenuItem(QStringLiteral("mnuExit"), -1, QStringLiteral("Exit"), false, this);
  mnuOptions = new MenuItem(QStringLiteral("mnuOptions"), -1, QStringLiteral("Options"), true, this);
  mnuDisableTransitions = new MenuItem(QStringLiteral("mnuDisableTransitions"), -1, QStringLiteral("Disable Transitions"), false, this);
  mnuDisableEffects = new MenuItem(QStringLiteral("mnuDisableEffects"), -1, QStringLiteral("Disable Real-Time Effects"), false, this);
  mnuDisableTransitions->setChecked(false);
  mnuDisableEffects->setChecked(false);
  mnuOptions->menu()->addAction(mnuDisableTransitions->action());
  mnuOptions->menu()->addAction(mnuDisableEffects->action());
  mnuLoadGame = new MenuItem(QStringLiteral("mnuLoadGame"), -1, QStringLiteral("Load game..."), false, this);
  mnuSaveGame = new MenuItem(QStringLiteral("mnuSaveGame"), -1, QStringLiteral("Save game..."), false, this);
  mnuDebug = new MenuItem(QStringLiteral("mnuDebug"), -1, QStringLiteral("Debug"), true, this);
  mnuGoToFrame = new MenuItem(QStringLiteral("mnuGoToFrame"), -1, QStringLiteral("Go to another frame"), true, this);
  mnuCancel = new MenuItem(QStringLiteral("mnuCancel"), -1, QStringLiteral("Cancel"), false, this);
  mnuGoToFrame->menu()->addAction(mnuCancel->action());
  mnuGoToFrame->menu()->addSeparator();
  mnuFrameName.init([this](int i) {
    auto* item = new MenuItem(QStringLiteral("mnuFrameName"), i, QString(), false, this);
    mnuGoToFrame->menu()->addAction(item->action());
    return item;
  }, [this](MenuItem& item, int i) {
    if (i == 0) return;
    item.onClick = [this, &item] { openDebugFrame(item.caption()); };
  });
  mnuExecuteVBScript = new MenuItem(QStringLiteral("mnuExecuteVBScript"), -1, QStringLiteral("Execute VBS code..."), false, this);
  mnuEditProcedures = new MenuItem(QStringLiteral("mnuEditProcedures"), -1, QStringLiteral("Edit VBS Procedures..."), false, this);
  mnuViewVariables = new MenuItem(QStringLiteral("mnuViewVariables"), -1, QStringLiteral("View variables status..."), false, this);
  mnuDebug->menu()->addAction(mnuGoToFrame->action());
  mnuDebug->menu()->addAction(mnuExecuteVBScript->action());
  mnuDebug->menu()->addAction(mnuEditProcedures->action());
  mnuDebug->menu()->addAction(mnuViewVariables->action());
  mnuDebug->setVisible(false);

  for (MenuItem* top : {mnuExit, mnuOptions, mnuLoadGame, mnuSaveGame, mnuDebug}) display().menuBar()->addAction(top->action());

  mnuExit->onClick = [this] { askToQuit(); };
  mnuLoadGame->onClick = [this] { savedGames().ShowLoadGameWindow(false); };
  mnuSaveGame->onClick = [this] { savedGames().ShowSaveGameWindow(); };
  mnuDisableTransitions->onClick = [this] { transitions().EnableOrDisableTransitions(); };
  mnuDisableEffects->onClick = [this] { effects().EnableOrDisableEffects(); };
  mnuCancel->onClick = [this] { HideMenus(); };
  mnuExecuteVBScript->onClick = [this] { scripts().ExecuteCodeCommand(); };
  mnuEditProcedures->onClick = [this] { scripts().EditProceduresCommand(); };
  mnuViewVariables->onClick = [this] { logic::ViewVariablesStatus(*this); };
  auto opened = [this] {
    if (!display().fullScreen()) return;
    state_.MenuOpened = true;
  };
  mnuOptions->onOpen = opened;
  mnuDebug->onOpen = opened;
}

void Game::ShowMenus() {
  const auto& info = project().info;
  if (info.noMenuBar) return;
  mnuExit->setVisible(true);
  mnuSaveGame->setVisible(!info.noSaving);
  mnuLoadGame->setVisible(!info.noLoading);
  const bool a = info.noDisableTransitionsItem;
  const bool b = info.noDisableEffectsItem;
  if (a && b) {
    mnuOptions->setVisible(false);
  } else {
    mnuDisableTransitions->setVisible(!a);
    mnuDisableEffects->setVisible(!b);
    mnuOptions->setVisible(true);
  }
  mnuDebug->setVisible(false);
  state_.MenuOpened = false;
  display().menusChanged();
}

void Game::HideMenus() {
  if (!display().windowedPlay() && !GameStopped()) {
    for (MenuItem* top : {mnuExit, mnuSaveGame, mnuLoadGame, mnuOptions, mnuDebug})
      if (top->visible()) top->setVisible(false);
  }
  state_.MenuOpened = false;
  display().menusChanged();
}

void Game::askToQuit() {
  const auto answer = platform::messageBox(startup::InterfaceText(10), platform::MsgButtons::YesNo,
                                           platform::MsgIcon::Question, project().info.gameTitle);
  if (answer == platform::MsgResult::Yes) StartUnloading();
}

void Game::openDebugFrame(const QString& name) { OpenFrame(name, false, 0, 0); }

}  // namespace qm::engine
