// Components scripts add to the frame canvas: the component list and its name
// rules, every message, the event pairs built from the event engine's
// procedures, events forwarded with their parameters and the requests they
// make, removal, reset, and pausing around transitions. Real components only.
#include <gtest/gtest.h>

#include <QApplication>
#include <QLineEdit>
#include <QPushButton>
#include <QKeyEvent>

#include "ScriptGameFixture.h"
#include "script/AdditionalComponents.h"
#include "script/components/HostedComponent.h"
#include "startup/ErrorReport.h"
#include "startup/Settings.h"

namespace qm::testing {
namespace {

class AdditionalComponentsTest : public ScriptGameFixture {
 protected:
  // A game with a Hall and a Cellar frame and these global procedures.
  engine::Game& startWith(const QString& code) {
    basicGame(folder_, {"hits"});
    procedures(folder_, code);
    frame(folder_, "Hall");
    frame(folder_, "Cellar");
    return startGame(folder_);
  }
  script::AdditionalComponents& components() { return game().components(); }
  QString errorText(const QString& specific) { return startup::StandardErrorReportText(specific); }
  // The value of an expression as text, or the message its run showed.
  std::string eval(const QString& expression) {
    const std::size_t before = boxCount();
    run("Action.SaveParameter \"probe\", " + expression);
    if (boxCount() > before) return "ERROR: " + lastBox().text.toStdString();
    return startup::LoadSetting("_probe").toStdString();
  }
  template <class W>
  W* innerOf(const QString& name) {
    auto* c = components().control(name);
    return c ? c->findChild<W*>() : nullptr;
  }
  GameFolderBuilder folder_;
};

TEST_F(AdditionalComponentsTest, AddedComponentIsAHiddenControlOfTheCanvasUnderItsLowerCasedName) {
  startWith("");
  run("AddComponent \"Forms.CommandButton.1\", \"Door\", True, False");
  EXPECT_EQ(boxCount(), 0u) << allMessages().toStdString();
  ASSERT_EQ(components().ComponentsList.Count(), 1);
  const auto& row = components().ComponentsList.Item(1);
  EXPECT_EQ(script::MultiColumnsList::column(row, 1).toString(), "door");
  EXPECT_EQ(script::MultiColumnsList::column(row, 2).toInt(), 1);  // entry 0 is never used
  EXPECT_TRUE(script::MultiColumnsList::column(row, 3).toBool());
  EXPECT_FALSE(script::MultiColumnsList::column(row, 4).toBool());
  script::HostedComponent* door = components().control("door");
  ASSERT_NE(door, nullptr);
  EXPECT_EQ(door->parentWidget(), game().PictureBox);
  EXPECT_FALSE(door->visible());
  // Scripts place and show it in twips, through the object Component hands out.
  run("Set b = Component(\"DOOR\")\r\nb.Move 1500, 750, 1500, 450\r\nb.Caption = \"Open\"\r\nb.Visible = True");
  EXPECT_EQ(door->geometry(), QRect(100, 50, 100, 30));
  EXPECT_TRUE(door->visible());
  EXPECT_EQ(eval("TypeName(Component(\"door\"))"), "CommandButton");
  EXPECT_EQ(eval("Component(\"door\").Object.Caption"), "Open");
  EXPECT_EQ(eval("DoesComponentExist(\"DoOr\")"), "True");
}

TEST_F(AdditionalComponentsTest, NameDifferingOnlyInCaseIsRefusedWithTheAlreadyExistsMessage) {
  startWith("");
  run("AddComponent \"Forms.Label.1\", \"Sign\", False, False\r\nAddComponent \"Forms.Label.1\", \"SIGN\", False, False");
  ASSERT_EQ(boxCount(), 1u);
  EXPECT_EQ(lastBox().text, errorText(" A component named \"SIGN\" already exists. Please use a different name."));
  EXPECT_EQ(components().ComponentsList.Count(), 1);
}

TEST_F(AdditionalComponentsTest, OnlyTheSpaceIsRefusedInNames) {
  startWith("");
  run("AddComponent \"Forms.Label.1\", \"two words\", False, False");
  ASSERT_EQ(boxCount(), 1u);
  EXPECT_EQ(lastBox().text, errorText(" The component name must not contain spaces or other special characters."));
  EXPECT_EQ(components().ComponentsList.Count(), 0);
  run("AddComponent \"Forms.Label.1\", \"sign#1-(a)!\", False, False");
  EXPECT_EQ(boxCount(), 1u) << allMessages().toStdString();
  EXPECT_NE(components().control("sign#1-(a)!"), nullptr);
}

TEST_F(AdditionalComponentsTest, UnknownIdentifierFailsAndKeepsItsRowWhileIsComponentInstalledSaysFalseSilently) {
  startWith("");
  run("AddComponent \"Shell.Explorer.2\", \"web\", False, False");
  ASSERT_EQ(boxCount(), 1u);
  EXPECT_EQ(lastBox().text, errorText(" Error in Game.AddAdditionalComponent. The component is probably not installed "
                                      "properly.  ActiveX component can't create object"));
  // The row made before the control stays: the name is taken, there is no control.
  EXPECT_EQ(components().ComponentsList.Count(), 1);
  EXPECT_EQ(eval("DoesComponentExist(\"web\")"), "True");
  // Asking for it is reported, like any failure of the look-up.
  const std::string noControl = eval("Component(\"web\") Is Nothing");
  EXPECT_NE(noControl.find(" Error in Game.GetComponentRef\". Object variable or With block variable not set"), std::string::npos)
      << noControl;
  dialogs().clear();
  EXPECT_EQ(eval("IsComponentInstalled(\"Shell.Explorer.2\")"), "False");
  EXPECT_EQ(eval("IsComponentInstalled(\"\")"), "False");
  EXPECT_EQ(eval("IsComponentInstalled(\"forms.commandbutton.1\")"), "True");
  EXPECT_EQ(eval("IsComponentInstalled(\"WMPlayer.OCX\")"), "True");
  EXPECT_EQ(boxCount(), 0u) << allMessages().toStdString();
  // The probe leaves nothing behind.
  EXPECT_EQ(game().PictureBox->findChildren<script::HostedComponent*>().size(), 0);
  // Removing the failed name works and frees it.
  run("RemoveComponent \"web\"");
  EXPECT_EQ(boxCount(), 0u) << allMessages().toStdString();
  EXPECT_EQ(eval("DoesComponentExist(\"web\")"), "False");
}

// The window's own controls keep their names, in any letter case.
TEST_F(AdditionalComponentsTest, ANameOfOneOfTheWindowsOwnControlsIsRefused) {
  startWith("");
  for (const char* name : {"Timer1", "AREA", "framemessagebox", "mnuExit"}) {
    dialogs().clear();
    components().AddAdditionalComponent("Forms.Label.1", name, false, false);
    ASSERT_EQ(boxCount(), 1u) << name;
    EXPECT_EQ(lastBox().text, errorText(" Error in Game.AddAdditionalComponent. The component is probably not "
                                        "installed properly.  There is already a control with the name '" +
                                        QString(name).toLower() + "'"))
        << name;
    EXPECT_EQ(components().control(QString(name).toLower()), nullptr) << name;
  }
}

TEST_F(AdditionalComponentsTest, HostileIdentifiersAndNamesGiveMessagesAndNothingBreaks) {
  startWith("");
  for (const char* id : {"", "..\\..\\evil.ocx", "Forms.CommandButton.1 ", "Forms.Label.1\r\nx"}) {
    dialogs().clear();
    components().AddAdditionalComponent(id, QString("c%1").arg(components().ComponentsList.Count()), false, false);
    ASSERT_EQ(boxCount(), 1u) << id;
    EXPECT_TRUE(lastBox().text.contains("probably not installed properly")) << id;
  }
  dialogs().clear();
  const QString longName(5000, QChar('x'));
  components().AddAdditionalComponent("Forms.Label.1", longName, false, false);
  components().AddAdditionalComponent("Forms.Label.1", "quote\"and\ttab", false, false);
  EXPECT_EQ(boxCount(), 0u) << allMessages().toStdString();
  EXPECT_NE(components().control(longName), nullptr);
}

TEST_F(AdditionalComponentsTest, RemovingTwiceShowsTheCouldNotBeRemovedMessage) {
  startWith("");
  run("AddComponent \"Forms.TextBox.1\", \"Note\", False, False");
  QPointer<script::HostedComponent> note = components().control("note");
  run("RemoveComponent \"NOTE\"");
  EXPECT_EQ(boxCount(), 0u) << allMessages().toStdString();
  EXPECT_EQ(components().ComponentsList.Count(), 0);
  EXPECT_EQ(components().control("note"), nullptr);
  QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
  EXPECT_TRUE(note.isNull());
  // The forwarder entry stays, empty, until the next reset.
  ASSERT_EQ(components().ComponentEventForwarders.size(), 2u);
  EXPECT_EQ(components().ComponentEventForwarders[1], nullptr);
  run("RemoveComponent \"Note\"");
  ASSERT_EQ(boxCount(), 1u);
  EXPECT_EQ(lastBox().text,
            errorText(" The component named \"Note\" could not be removed because it could not be found."));
  run("Set x = Component(\"Note\")");
  EXPECT_EQ(lastBox().text, errorText(" The component named \"Note\" could not be found."));
}

TEST_F(AdditionalComponentsTest, ReferenceKeptByAScriptFailsCleanlyOnceTheComponentIsGone) {
  startWith("");
  run("AddComponent \"Forms.Label.1\", \"l\", False, False");
  dialogs().clear();
  run("Set keep = Component(\"l\")\r\nRemoveComponent \"l\"\r\nkeep.Caption = \"x\"");
  ASSERT_EQ(boxCount(), 1u);
  EXPECT_TRUE(lastBox().text.contains("no longer exists")) << lastBox().text.toStdString();
}

TEST_F(AdditionalComponentsTest, EventPairsSplitProcedureNamesAtTheFirstUnderscore) {
  startWith(
      "Sub door_click(p)\r\nEnd Sub\r\nSub my_door_click(p)\r\nEnd Sub\r\nSub door_key_press(p)\r\nEnd Sub\r\n"
      "Sub NoUnderscore()\r\nEnd Sub");
  const auto& pairs = components().ComponentEventsList;
  std::vector<std::pair<QString, QString>> got;
  for (const auto& row : pairs)
    got.emplace_back(script::MultiColumnsList::column(row, 1).toString(), script::MultiColumnsList::column(row, 2).toString());
  EXPECT_NE(std::find(got.begin(), got.end(), std::make_pair(QString("door"), QString("click"))), got.end());
  EXPECT_NE(std::find(got.begin(), got.end(), std::make_pair(QString("my"), QString("door_click"))), got.end());
  EXPECT_NE(std::find(got.begin(), got.end(), std::make_pair(QString("door"), QString("key_press"))), got.end());
  for (const auto& [c, e] : got) EXPECT_NE(c, "nounderscore");
}

TEST_F(AdditionalComponentsTest, EventWithAnUnderscoreReachesItsProcedureButAComponentWithOneNeverDoes) {
  startWith(
      "Sub door_key_press(p)\r\n  hits = hits + 1\r\nEnd Sub\r\n"
      "Sub my_door_click(p)\r\n  hits = hits + 100\r\nEnd Sub");
  run("AddComponent \"Forms.Label.1\", \"door\", False, False\r\nAddComponent \"Forms.Label.1\", \"my_door\", False, False");
  components().control("door")->raiseEvent("Key_Press");
  components().control("my_door")->raiseEvent("Click");
  EXPECT_EQ(var("hits"), 1);
}

TEST_F(AdditionalComponentsTest, ClickingTheButtonRunsItsProcedureAndTheFrameItAsksForOpens) {
  startWith("Sub door_click(p)\r\n  hits = hits + p.Count + 1\r\n  GoToFrame \"Cellar\", 0, 0\r\nEnd Sub");
  run("AddComponent \"Forms.CommandButton.1\", \"door\", False, False\r\nComponent(\"door\").Visible = True");
  auto* button = innerOf<QPushButton>("door");
  ASSERT_NE(button, nullptr);
  button->click();
  EXPECT_EQ(var("hits"), 1);
  EXPECT_EQ(frameName(), "Cellar");
  EXPECT_EQ(boxCount(), 0u) << allMessages().toStdString();
  // Components stay when the frame changes.
  EXPECT_NE(components().control("door"), nullptr);
}

TEST_F(AdditionalComponentsTest, MouseEventsPassTheirParametersByNameAndPosition) {
  startWith(
      "Sub pad_MouseDown(p)\r\n"
      "  If p.Count = 4 And p(0).Name = \"Button\" And p.Item(\"button\").Value = 1 And p(\"X\") = 150 Then hits = 7\r\n"
      "  For Each q In p\r\n    hits = hits + 1\r\n  Next\r\nEnd Sub");
  run("AddComponent \"Forms.Image.1\", \"pad\", False, False\r\nComponent(\"pad\").Visible = True");
  auto* pad = components().control("pad");
  QWidget* inner = pad->findChild<QWidget*>();
  QMouseEvent press(QEvent::MouseButtonPress, QPointF(10, 5), inner->mapToGlobal(QPointF(10, 5)), Qt::LeftButton,
                    Qt::LeftButton, Qt::NoModifier);
  QApplication::sendEvent(inner, &press);
  EXPECT_EQ(var("hits"), 11) << allMessages().toStdString();
}

TEST_F(AdditionalComponentsTest, KeyPressHandlerCanSwallowTheKeyThroughItsParameter) {
  startWith("Sub entry_KeyPress(p)\r\n  If p(\"KeyAscii\") = Asc(\"x\") Then p(\"KeyAscii\").Value = 0\r\nEnd Sub");
  run("AddComponent \"Forms.TextBox.1\", \"entry\", False, False\r\nComponent(\"entry\").Visible = True");
  auto* edit = innerOf<QLineEdit>("entry");
  ASSERT_NE(edit, nullptr);
  for (const char* k : {"a", "x", "b"}) {
    QKeyEvent key(QEvent::KeyPress, Qt::Key_A, Qt::NoModifier, QString::fromLatin1(k));
    QApplication::sendEvent(edit, &key);
  }
  EXPECT_EQ(edit->text(), "ab");
}

TEST_F(AdditionalComponentsTest, ErrorInsideTheProcedureIsReportedAndItsRequestsAreDropped) {
  startWith("Sub door_click(p)\r\n  GoToFrame \"Cellar\", 0, 0\r\n  x = 1 / 0\r\nEnd Sub");
  run("AddComponent \"Forms.CommandButton.1\", \"door\", False, False");
  innerOf<QPushButton>("door")->click();
  ASSERT_EQ(boxCount(), 1u);
  EXPECT_TRUE(lastBox().text.startsWith(errorText("Error in Component_ObjectEvent. "))) << lastBox().text.toStdString();
  EXPECT_EQ(frameName(), "Hall");
}

TEST_F(AdditionalComponentsTest, ProcedureWithoutTheParameterIsAnErrorAsTheEngineCallsItWithOne) {
  startWith("Sub door_click()\r\n  hits = 1\r\nEnd Sub");
  run("AddComponent \"Forms.CommandButton.1\", \"door\", False, False");
  innerOf<QPushButton>("door")->click();
  EXPECT_EQ(var("hits"), 0);
  ASSERT_EQ(boxCount(), 1u);
  EXPECT_TRUE(lastBox().text.contains("Error in Component_ObjectEvent. "));
}

TEST_F(AdditionalComponentsTest, HandlerThatRemovesItsOwnComponentIsSafe) {
  startWith("Sub door_click(p)\r\n  RemoveComponent \"door\"\r\n  hits = 5\r\nEnd Sub");
  run("AddComponent \"Forms.CommandButton.1\", \"door\", False, False");
  innerOf<QPushButton>("door")->click();
  QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
  EXPECT_EQ(var("hits"), 5);
  EXPECT_EQ(components().ComponentsList.Count(), 0);
  EXPECT_EQ(boxCount(), 0u) << allMessages().toStdString();
}

TEST_F(AdditionalComponentsTest, ANewGameRemovesEveryComponentAndShrinksTheForwarders) {
  startWith("");
  run("AddComponent \"Forms.Label.1\", \"a\", False, False\r\nAddComponent \"Forms.ListBox.1\", \"b\", False, False\r\n"
      "RemoveComponent \"a\"");
  EXPECT_EQ(components().ComponentEventForwarders.size(), 3u);
  game().ResetAll();
  EXPECT_EQ(components().ComponentsList.Count(), 0);
  EXPECT_EQ(components().ComponentEventForwarders.size(), 1u);
  EXPECT_EQ(components().control("b"), nullptr);
  run("AddComponent \"Forms.Label.1\", \"a\", False, False");
  EXPECT_EQ(boxCount(), 0u) << allMessages().toStdString();
  EXPECT_EQ(script::MultiColumnsList::column(components().ComponentsList.Item(1), 2).toInt(), 1);
}

TEST_F(AdditionalComponentsTest, PlacementsCarryTheTransitionFlagsOfLiveComponents) {
  startWith("");
  run("AddComponent \"Forms.Label.1\", \"a\", True, True\r\nAddComponent \"No.Such.1\", \"b\", True, False\r\n"
      "AddComponent \"MSComctlLib.Slider.2\", \"c\", False, True");
  const auto placed = components().placements();
  ASSERT_EQ(placed.size(), 2u);
  EXPECT_EQ(placed[0].control->vbName(), "a");
  EXPECT_TRUE(placed[0].appearDuringTransitions && placed[0].disappearBeforeAlphablending);
  EXPECT_EQ(placed[1].control->vbName(), "c");
  EXPECT_FALSE(placed[1].appearDuringTransitions);
  EXPECT_TRUE(placed[1].disappearBeforeAlphablending);
}

}  // namespace
}  // namespace qm::testing
