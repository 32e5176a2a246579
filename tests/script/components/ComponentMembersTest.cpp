// The members of the components the player provides, as scripts use them:
// lists, check and option buttons, scroll bar, progress bar, slider, labels
// and pictures, and the two media players playing a real sound, paused and
// resumed around transitions.
#include <gtest/gtest.h>

#include <QApplication>
#include <QComboBox>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QMouseEvent>
#include <QPlainTextEdit>
#include <QListWidget>
#include <QSlider>
#include <algorithm>
#include <cmath>

#include "media/WavWriter.h"
#include "script/AdditionalComponents.h"
#include "script/ScriptGameFixture.h"
#include "script/components/ComponentRegistry.h"
#include "startup/Settings.h"

namespace qm::testing {
namespace {

class ComponentMembersTest : public ScriptGameFixture {
 protected:
  void SetUp() override {
    ScriptGameFixture::SetUp();
    basicGame(folder_, {"hits"});
    procedures(folder_, procedures_);
    frame(folder_, "Hall");
    startGame(folder_);
  }
  // The value of an expression as text, or the message its run showed.
  std::string eval(const QString& expression) {
    dialogs().clear();
    run("Action.SaveParameter \"probe\", " + expression);
    return (boxCount() ? "ERROR: " + lastBox().text : startup::LoadSetting("_probe")).toStdString();
  }
  script::AdditionalComponents& components() { return game().components(); }
  // What the event procedures logged (they run in the event engine).
  std::string eventLog() {
    return script::toQ(vbs::toString(host().ScriptControl2.run(u"GetLog"))).toStdString();
  }
  GameFolderBuilder folder_;
  QString procedures_ =
      "Dim log\r\n"
      "Sub s_Change(p)\r\n  log = log & \"C\"\r\nEnd Sub\r\n"
      "Sub s_Scroll(p)\r\n  log = log & \"S\"\r\nEnd Sub\r\n"
      "Sub mp_PlayStateChange(p)\r\n  log = log & p(\"NewState\") & \",\"\r\nEnd Sub\r\n"
      "Sub old_PlayStateChange(p)\r\n  log = log & p(0) & \">\" & p(1) & \",\"\r\nEnd Sub\r\n"
      "Sub cb_KeyPress(p)\r\n  log = log & Chr(p(\"KeyAscii\"))\r\n"
      "  If p(\"KeyAscii\") = Asc(\"z\") Then p(\"KeyAscii\").Value = 0\r\nEnd Sub\r\n"
      "Sub t_KeyPress(p)\r\n  log = log & \"K\"\r\nEnd Sub\r\n"
      "Sub t_Change(p)\r\n  log = log & \"C\"\r\nEnd Sub\r\n"
      "Sub t_MouseDown(p)\r\n  log = log & \"M\" & p(\"X\") & \",\"\r\nEnd Sub\r\n"
      "Function GetLog()\r\n  GetLog = log\r\n  log = \"\"\r\nEnd Function";
};

TEST_F(ComponentMembersTest, EveryIdentifierMakesAComponentAndTheListIsDocumented) {
  const QStringList ids = script::ProvidedComponentIdentifiers();
  EXPECT_GE(ids.size(), 17);
  for (const QString& id : ids) {
    dialogs().clear();
    const QString name = "c" + QString::number(components().ComponentsList.Count());
    components().AddAdditionalComponent(id, name, false, false);
    EXPECT_EQ(boxCount(), 0u) << id.toStdString();
    EXPECT_NE(components().control(name), nullptr) << id.toStdString();
  }
}

TEST_F(ComponentMembersTest, ListBoxItemsByIndexWithTheControlsErrors) {
  run("AddComponent \"Forms.ListBox.1\", \"l\", False, False\r\nSet l = Component(\"l\")\r\n"
      "l.AddItem \"oak\"\r\nl.AddItem \"elm\"\r\nl.AddItem \"ash\", 0");
  EXPECT_EQ(eval("Component(\"l\").ListCount"), "3");
  EXPECT_EQ(eval("Component(\"l\").List(0) & Component(\"l\").List(2)"), "ashelm");
  EXPECT_EQ(eval("Component(\"l\").ListIndex"), "-1");
  run("Component(\"l\").ListIndex = 1");
  EXPECT_EQ(eval("Component(\"l\").Text"), "oak");
  EXPECT_EQ(eval("Component(\"l\")"), "oak");  // Value is the default member
  run("Component(\"l\").List(1) = \"yew\"\r\nComponent(\"l\").RemoveItem 0");
  EXPECT_EQ(eval("Component(\"l\").List(0)"), "yew");
  EXPECT_NE(eval("Component(\"l\").List(5)").find("Invalid property array index"), std::string::npos);
  dialogs().clear();
  run("Component(\"l\").ListIndex = 9");
  EXPECT_EQ(boxCount(), 1u);
  run("Component(\"l\").Clear");
  EXPECT_EQ(eval("Component(\"l\").ListCount"), "0");
}

TEST_F(ComponentMembersTest, ComboBoxAddsWithoutSelectingAndTakesTypedText) {
  run("AddComponent \"Forms.ComboBox.1\", \"c\", False, False\r\nSet c = Component(\"c\")\r\n"
      "c.AddItem \"north\"\r\nc.AddItem \"south\"");
  EXPECT_EQ(eval("Component(\"c\").ListIndex"), "-1");
  run("Component(\"c\").Text = \"SOUTH\"");
  EXPECT_EQ(eval("Component(\"c\").ListIndex"), "1");
  run("Component(\"c\").Text = \"west\"");
  EXPECT_EQ(eval("Component(\"c\").Value"), "west");
}

void typeKey(QWidget* w, Qt::Key key, const QString& text, Qt::KeyboardModifiers mods = Qt::NoModifier) {
  QKeyEvent press(QEvent::KeyPress, key, mods, text);
  QApplication::sendEvent(w, &press);
  QKeyEvent release(QEvent::KeyRelease, key, mods, text);
  QApplication::sendEvent(w, &release);
}

TEST_F(ComponentMembersTest, ComboBoxRaisesKeyPressOnceForEachKeyWhereverItLandsAndCanSwallowIt) {
  run("AddComponent \"Forms.ComboBox.1\", \"cb\", False, False\r\nComponent(\"cb\").Visible = True");
  auto* combo = components().control("cb")->findChild<QComboBox*>();
  ASSERT_NE(combo, nullptr);
  ASSERT_NE(combo->lineEdit(), nullptr);
  // Typed into the edit field, and sent to the combo box itself.
  for (QWidget* target : {static_cast<QWidget*>(combo->lineEdit()), static_cast<QWidget*>(combo)}) {
    combo->setEditText(QString());
    eventLog();
    for (const char* k : {"a", "z", "b"}) typeKey(target, Qt::Key_A, QString::fromLatin1(k));
    EXPECT_EQ(eventLog(), "azb") << target->metaObject()->className();
    EXPECT_EQ(combo->currentText(), "ab") << "KeyAscii 0 swallows the key";
  }
  // A drop-down list has no edit field; made editable again, the new field raises it too.
  run("Component(\"cb\").Style = 2\r\nComponent(\"cb\").AddItem \"x\"");
  typeKey(combo, Qt::Key_Q, "q");
  EXPECT_EQ(eventLog(), "q");
  run("Component(\"cb\").Style = 0");
  ASSERT_NE(combo->lineEdit(), nullptr);
  typeKey(combo->lineEdit(), Qt::Key_R, "r");
  EXPECT_EQ(eventLog(), "r");
}

TEST_F(ComponentMembersTest, TextBoxIsSingleLineUntilMultiLineAndKeepsItsTextAcrossTheChange) {
  run("AddComponent \"Forms.TextBox.1\", \"t\", False, False\r\nSet t = Component(\"t\")\r\n"
      "t.Visible = True\r\nt.MaxLength = 12\r\nt.Text = \"one\"");
  auto* box = components().control("t");
  EXPECT_EQ(eval("Component(\"t\").MultiLine & Component(\"t\").LineCount"), "False1");
  EXPECT_NE(box->findChild<QLineEdit*>(), nullptr);
  EXPECT_EQ(box->findChild<QPlainTextEdit*>(), nullptr);
  eventLog();

  run("Component(\"t\").MultiLine = True");
  QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);  // the single-line field goes
  auto* area = box->findChild<QPlainTextEdit*>();
  ASSERT_NE(area, nullptr);
  EXPECT_EQ(box->findChild<QLineEdit*>(), nullptr);
  EXPECT_EQ(eval("Component(\"t\").Text"), "one");
  EXPECT_EQ(eventLog(), "") << "changing MultiLine is no change of the text";

  // Lines are separated by CR LF both ways; MaxLength still holds.
  run("Component(\"t\").Text = \"ab\" & vbCrLf & \"cd\" & vbCrLf & \"efghijk\"");
  EXPECT_EQ(area->toPlainText(), "ab\ncd\nefgh");
  EXPECT_EQ(eval("Len(Component(\"t\").Text) & \"/\" & Component(\"t\").LineCount & \"/\" & "
                 "(Split(Component(\"t\").Text, vbCrLf)(1) = \"cd\")"),
            "12/3/True");

  // Enter is left alone unless EnterKeyBehavior; Ctrl+Enter always makes a line.
  run("Component(\"t\").Text = \"\"");
  eventLog();
  typeKey(area, Qt::Key_Return, "\r");
  EXPECT_EQ(area->toPlainText(), "");
  typeKey(area, Qt::Key_Return, "\r", Qt::ControlModifier);
  EXPECT_EQ(area->toPlainText(), "\n");
  run("Component(\"t\").EnterKeyBehavior = True");
  typeKey(area, Qt::Key_Return, "\r");
  typeKey(area, Qt::Key_X, "x");
  EXPECT_EQ(eval("Component(\"t\").Text"), "\r\n\r\nx");
  const std::string log = eventLog();
  EXPECT_EQ(std::count(log.begin(), log.end(), 'K'), 4) << log;  // every key, Enter included
  EXPECT_EQ(std::count(log.begin(), log.end(), 'C'), 3) << log;  // three of them changed the text

  // The mouse on the text area's viewport is the component's.
  QMouseEvent press(QEvent::MouseButtonPress, QPointF(4, 3), area->viewport()->mapToGlobal(QPointF(4, 3)),
                    Qt::LeftButton, Qt::LeftButton, Qt::NoModifier);
  QApplication::sendEvent(area->viewport(), &press);
  const QPoint origin = area->viewport()->mapTo(box, QPoint(0, 0));
  EXPECT_EQ(eventLog(), "M" + std::to_string((4 + origin.x()) * 15) + ",");

  // Back to one line, with the text as it was.
  run("Component(\"t\").MultiLine = False");
  QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
  ASSERT_NE(box->findChild<QLineEdit*>(), nullptr);
  EXPECT_EQ(box->findChild<QPlainTextEdit*>(), nullptr);
  EXPECT_EQ(eval("Len(Component(\"t\").Text) & Component(\"t\").MultiLine"), "5False");
  EXPECT_EQ(boxCount(), 0u) << lastBox().text.toStdString();
}

TEST_F(ComponentMembersTest, OptionButtonsOfOneGroupExcludeEachOther) {
  run("AddComponent \"Forms.OptionButton.1\", \"a\", False, False\r\n"
      "AddComponent \"Forms.OptionButton.1\", \"b\", False, False\r\n"
      "AddComponent \"Forms.OptionButton.1\", \"x\", False, False\r\n"
      "Component(\"x\").GroupName = \"other\"\r\n"
      "Component(\"a\").Value = True\r\nComponent(\"x\").Value = True\r\nComponent(\"b\").Value = True");
  EXPECT_EQ(eval("Component(\"a\").Value & Component(\"b\").Value & Component(\"x\").Value"), "FalseTrueTrue");
  run("AddComponent \"Forms.CheckBox.1\", \"k\", False, False\r\nComponent(\"k\").Value = True");
  EXPECT_EQ(eval("Component(\"k\")"), "True");
}

TEST_F(ComponentMembersTest, SliderAndScrollBarRaiseChangeAndRefuseValuesOutOfRange) {
  run("AddComponent \"MSComctlLib.Slider.2\", \"s\", False, False\r\nSet s = Component(\"s\")\r\n"
      "s.Min = 0\r\ns.Max = 20\r\ns.Value = 15");
  EXPECT_EQ(eventLog(), "C");
  auto* slider = components().control("s")->findChild<QSlider*>();
  ASSERT_NE(slider, nullptr);
  emit slider->sliderMoved(3);
  EXPECT_EQ(eventLog(), "S");
  dialogs().clear();
  run("Component(\"s\").Value = 21");
  EXPECT_EQ(boxCount(), 1u);
  EXPECT_EQ(eval("Component(\"s\").Value"), "15");
  run("AddComponent \"Forms.ScrollBar.1\", \"bar\", False, False\r\nComponent(\"bar\").Max = 10\r\n"
      "Component(\"bar\").Value = 10");
  EXPECT_EQ(eval("Component(\"bar\")"), "10");
}

TEST_F(ComponentMembersTest, ProgressBarKeepsItsValueBetweenMinAndMax) {
  run("AddComponent \"COMCTL.ProgCtrl.1\", \"p\", False, False\r\nComponent(\"p\").Value = 40");
  EXPECT_EQ(eval("Component(\"p\").Value"), "40");
  dialogs().clear();
  run("Component(\"p\").Value = 101");
  EXPECT_EQ(boxCount(), 1u);
  run("Component(\"p\").Max = 30");
  EXPECT_EQ(eval("Component(\"p\").Value"), "30");
}

TEST_F(ComponentMembersTest, LabelColoursAndFontAreTheScriptsToSet) {
  run("AddComponent \"Forms.Label.1\", \"t\", False, False\r\nSet t = Component(\"t\")\r\n"
      "t.Caption = \"Hello\"\r\nt.ForeColor = RGB(255, 0, 0)\r\nt.Font.Bold = True\r\nt.Font.Size = 14\r\n"
      "t.AutoSize = True");
  auto* label = components().control("t")->findChild<QLabel*>();
  ASSERT_NE(label, nullptr);
  EXPECT_EQ(label->text(), "Hello");
  EXPECT_EQ(label->palette().color(QPalette::WindowText), QColor(255, 0, 0));
  EXPECT_TRUE(label->font().bold());
  EXPECT_EQ(eval("Component(\"t\").Font.Size"), "14");
  EXPECT_EQ(eval("Component(\"t\").FontBold"), "True");
}

TEST_F(ComponentMembersTest, PicturesComeFromTheGamesPictureFunctions) {
  folder_.picture("Areas/knob.bmp", 12, 8, Qt::red);
  run("AddComponent \"Forms.Image.1\", \"i\", False, False\r\nLoadAPicture Component(\"i\"), \"knob.bmp\"");
  EXPECT_EQ(boxCount(), 0u) << allMessages().toStdString();
  EXPECT_EQ(eval("Component(\"i\").Picture.Width"), std::to_string(std::lround(12 * 2540.0 / 96.0)));
  run("AddComponent \"Forms.CommandButton.1\", \"b\", False, False\r\n"
      "Set Component(\"b\").Picture = LoadGraphicFile(\"knob.bmp\")");
  EXPECT_EQ(boxCount(), 0u) << allMessages().toStdString();
}

// A sound of `seconds` at 440 Hz in the game's Areas folder.
QString makeTone(GameFolderBuilder& folder, const QString& name, double seconds) {
  folder.folder("Areas");
  media::WavWriter w;
  const QString path = folder.path("Areas/" + name);
  if (!w.open(path.toStdString(), nullptr)) return {};
  const int frames = static_cast<int>(seconds * 48000);
  std::vector<float> block(2 * 4800);
  for (int done = 0; done < frames; done += 4800) {
    for (int i = 0; i < 4800; ++i) block[2 * i] = block[2 * i + 1] = 0.2f * std::sin((done + i) * 440.0 * 6.283 / 48000);
    w.write(block.data(), 4800);
  }
  w.close();
  return path;
}

TEST_F(ComponentMembersTest, NewerPlayerPlaysPausesForTransitionsAndResumes) {
  ASSERT_FALSE(makeTone(folder_, "hum.wav", 3).isEmpty());
  run("AddComponent \"WMPlayer.OCX\", \"mp\", False, False\r\nSet m = Component(\"mp\")\r\n"
      "m.settings.volume = 50\r\nm.URL = GetPath(4) & \"hum.wav\"");
  EXPECT_EQ(boxCount(), 0u) << allMessages().toStdString();
  EXPECT_EQ(eval("Component(\"mp\").playState"), "3");  // autoStart plays at once
  EXPECT_EQ(eval("Component(\"mp\").settings.volume"), "50");
  components().PauseComponents();
  EXPECT_EQ(eval("Component(\"mp\").playState"), "2");
  components().ResumeComponents();
  EXPECT_EQ(eval("Component(\"mp\").playState"), "3");
  run("Component(\"mp\").controls.stop");
  EXPECT_EQ(eventLog(), "3,2,3,1,");
  // A stopped player stays stopped through a transition.
  components().PauseComponents();
  components().ResumeComponents();
  EXPECT_EQ(eval("Component(\"mp\").playState"), "1");
}

TEST_F(ComponentMembersTest, APlayerPausedForATransitionToAFrameThatCannotOpenPlaysOn) {
  ASSERT_FALSE(makeTone(folder_, "hum.wav", 3).isEmpty());
  run("AddComponent \"WMPlayer.OCX\", \"mp\", False, False\r\nComponent(\"mp\").URL = GetPath(4) & \"hum.wav\"");
  ASSERT_EQ(eval("Component(\"mp\").playState"), "3");
  game().goToFrame({"Nowhere", true, 1, 0.2});
  EXPECT_EQ(eval("Component(\"mp\").playState"), "3");
  EXPECT_EQ(eventLog(), "3,2,3,");
}

TEST_F(ComponentMembersTest, OlderPlayerHasTheGameWindowsMembersAndReportsItsStates) {
  ASSERT_FALSE(makeTone(folder_, "drum.wav", 3).isEmpty());
  run("AddComponent \"MediaPlayer.MediaPlayer.1\", \"old\", False, False\r\nSet o = Component(\"old\")\r\n"
      "o.AutoStart = False\r\no.FileName = GetPath(4) & \"drum.wav\"\r\no.Volume = -600\r\no.Play");
  EXPECT_EQ(boxCount(), 0u) << allMessages().toStdString();
  EXPECT_EQ(eval("Component(\"old\").PlayState"), "2");
  EXPECT_EQ(eval("Component(\"old\").Volume"), "-600");
  run("Component(\"old\").Pause");
  EXPECT_EQ(eval("Component(\"old\").PlayState"), "1");
  EXPECT_EQ(eventLog(), "0>2,2>1,");
  // Kinds without anything to pause are skipped silently.
  run("AddComponent \"Forms.Label.1\", \"quiet\", False, False");
  components().PauseComponents();
  EXPECT_EQ(boxCount(), 0u);
}

}  // namespace
}  // namespace qm::testing
