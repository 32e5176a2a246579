// A game window with its logic and script host, on a small game folder built
// per test, with message boxes recorded.
#pragma once

#include <QCoreApplication>
#include <QElapsedTimer>
#include <memory>
#include <tuple>

#include "engine/Game.h"
#include "logic/GameLogic.h"
#include "script/ScriptHost.h"
#include "startup/InitializeProject.h"
#include "startup/Project.h"
#include "support/ActionRecords.h"
#include "support/FrameRecords.h"
#include "support/GameFolderBuilder.h"
#include "support/HotspotRecords.h"
#include "support/ProjectTest.h"
#include "support/VariablesRecords.h"

namespace qm::testing {

class ScriptGameFixture : public ProjectTest {
 protected:
  void TearDown() override {
    game_.reset();
    ProjectTest::TearDown();
  }

  // The project information of a game whose initial frame is "Hall".
  static GeneralFields basicFields() {
    GeneralFields g;
    g.initialFrame = "Hall";
    g.width = 400;
    g.height = 300;
    g.windowedMode = true;
    return g;
  }
  static void basicGame(GameFolderBuilder& folder, const QStringList& integers = {},
                        const std::optional<QStringList>& variants = std::nullopt,
                        const GeneralFields& fields = basicFields()) {
    folder.general(fields);
    folder.file("Config/Variables", variablesFileBytes(integers, variants));
  }
  static void frame(GameFolderBuilder& folder, const QString& name, const std::vector<HotspotSpec>& hotspots = {},
                    const std::vector<ActionSpec>& actions = {}, const FrameSpec& spec = {}) {
    folder.file("Frames/" + name + ".fme", frameFileBytes(spec));
    if (!hotspots.empty()) folder.file("FramesData/" + name + ".fm2", hotspotFileBytes(hotspots));
    if (!actions.empty()) folder.file("FramesData/" + name + ".fm3", actionFileBytes(actions));
  }
  // A click action that runs the script ("|" stands for a double quote).
  static ActionSpec scriptAction(const QString& code) {
    ActionSpec a;
    a.runScript = true;
    a.script = code;
    return a;
  }
  // The procedures file: three header lines, then the code.
  static void procedures(GameFolderBuilder& folder, const QString& code) {
    folder.file("Config/Procedures", ("h1\r\nh2\r\nh3\r\n" + code + "\r\n").toLatin1());
  }

  engine::Game& startGame(GameFolderBuilder& folder) {
    startup::InitializeProject(folder.root());
    game_ = std::make_unique<engine::Game>();
    game_->ResetAll();
    game_->StartNewGame();
    return *game_;
  }
  engine::Game& game() { return *game_; }
  void resetGame() { game_.reset(); }
  logic::GameLogic& logic() { return game_->logic(); }
  script::ScriptHost& host() { return game_->scripts(); }
  void click(int n) { logic().AreaClick(n, engine::kLeftButton); }
  QString frameName() { return startup::CurrentFrameName(); }
  // Runs code as the debug command does.
  void run(const QString& code) { std::ignore = logic().ExecuteVBScriptAndConsequences(code, true); }
  int16_t var(const QString& name) { return logic().GetVariableValue(name); }
  // Runs code and expects it to show no message.
  void ok(const QString& code) {
    const auto before = boxCount();
    run(code);
    EXPECT_EQ(boxCount(), before) << allMessages().toStdString();
  }
  // The value of the variant variable named exactly so (invalid when there is none).
  QVariant variant(const QString& name) {
    for (auto& v : logic().variables.VariablesVariant)
      if (v.Name == name) return v.Value;
    return {};
  }

  std::size_t messagesContaining(const QString& text) {
    std::size_t n = 0;
    for (const auto& s : dialogs().shown())
      if (s.text.contains(text)) ++n;
    return n;
  }
  QString allMessages() {
    QString all;
    for (const auto& s : dialogs().shown()) all += s.title + ": " + s.text + "\n";
    return all;
  }
  static void runEvents(int ms) {
    QElapsedTimer t;
    t.start();
    while (t.elapsed() < ms) QCoreApplication::processEvents(QEventLoop::AllEvents, 5);
  }

 private:
  std::unique_ptr<engine::Game> game_;
};

}  // namespace qm::testing
