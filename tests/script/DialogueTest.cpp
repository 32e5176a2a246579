// Dialogues in a running game: the start when a frame opens, the panel's
// layout and colours, picks with their scripts, hotspot actions, answers and
// lists, the ways a dialogue ends, keys, and damaged dialogue files.
#include <gtest/gtest.h>

#include <QKeyEvent>
#include <QTimer>

#include "ScriptGameFixture.h"
#include "engine/ReadableTexts.h"
#include "script/DialogueRunner.h"
#include "support/DialogueRecords.h"
#include "support/WalkGame.h"

namespace qm::testing {
namespace {

class DialogueTest : public ScriptGameFixture {
 protected:
  static QuestionSpec question(const QString& text, int id = 0) {
    QuestionSpec q;
    q.question = text;
    q.id = id;
    return q;
  }
  void dialogue(const QString& frameName, const std::vector<QuestionSpec>& questions) {
    folder_.file("FramesData/" + frameName + ".dlg", dialogueFileBytes(questions));
  }
  // Hall with `hotspots` hotspots whose clicks run the given scripts, and Garden.
  void frames(const QStringList& hotspotScripts = {}) {
    std::vector<HotspotSpec> spots(hotspotScripts.size());
    std::vector<ActionSpec> actions;
    for (const QString& s : hotspotScripts) actions.push_back(scriptAction(s));
    frame(folder_, "Hall", spots, actions);
    folder_.file("Frames/Hall.lks", QByteArray::number(hotspotScripts.size()) + "\r\n");
    frame(folder_, "Garden");
  }
  engine::Game& start(const QStringList& integers = {"n"}) {
    basicGame(folder_, integers, QStringList{"trace"});
    return startGame(folder_);
  }
  script::DialogueRunner& talk() { return game().dialogue(); }
  QStringList shown() { return talk().shownQuestionTexts(); }
  void choose(int n) { talk().RuntimeQuestionClick(n); }
  // The variant "trace" starts as 0; scripts append to it.
  QString trace() { return logic().VariableValueText("trace").value_or("?"); }
  GameFolderBuilder folder_;
};

TEST_F(DialogueTest, AFrameWithADialogueListsItsShownQuestionsWhenItOpens) {
  frames();
  QuestionSpec hidden = question("Hidden");
  hidden.shown = false;
  dialogue("Hall", {question("Hello"), hidden, question("Goodbye")});
  start();
  EXPECT_EQ(shown(), (QStringList{"Hello", "Goodbye"}));
  EXPECT_TRUE(talk().DialogueActive());
  EXPECT_EQ(talk().DialogueFrameName(), "Hall");
  EXPECT_EQ(game().lblDialogue[2].tag(), "3") << "a label's tag is its question's number";
}

TEST_F(DialogueTest, ThePanelSitsAtTheBottomOfTheFrameWithTheQuestionsStacked) {
  frames();
  dialogue("Hall", {question("One"), question("Two")});
  start();
  const auto& panel = *game().fmeDialogue;
  const auto& one = game().lblDialogue[1];
  const auto& two = game().lblDialogue[2];
  EXPECT_EQ(one.left(), 360);
  EXPECT_EQ(one.top(), 300);
  EXPECT_EQ(two.top(), 300 + one.height() + 90);
  EXPECT_EQ(panel.height(), two.top() + two.height() + 90 + 300);
  EXPECT_EQ(panel.left(), 0);
  EXPECT_EQ(panel.width(), game().PictureBox->width());
  EXPECT_EQ(panel.top() + panel.height(), game().PictureBox->height());
  EXPECT_TRUE(panel.visible());
  EXPECT_EQ(one.foreColor(), 0xC8C8C8);
}

TEST_F(DialogueTest, LongQuestionsWrapWithinThePanel) {
  frames();
  dialogue("Hall", {question(QString("Could you tell me about the old clock on the mantelpiece ").repeated(3)),
                    question("Short")});
  start();
  const auto& longOne = game().lblDialogue[1];
  const auto& shortOne = game().lblDialogue[2];
  EXPECT_LE(longOne.left() + longOne.width(), game().fmeDialogue->width() - 360 + 15);
  EXPECT_GT(longOne.height(), 2 * shortOne.height());
}

TEST_F(DialogueTest, AllHiddenQuestionsEndTheDialogueAtOnce) {
  frames();
  QuestionSpec a = question("A");
  a.shown = false;
  dialogue("Hall", {a});
  start();
  EXPECT_FALSE(game().fmeDialogue->visible());
  EXPECT_FALSE(talk().DialogueActive());
  EXPECT_TRUE(shown().isEmpty());
}

TEST_F(DialogueTest, AQuestionThatHidesItselfAndShowsAnotherLeavesOnlyTheOther) {
  frames();
  QuestionSpec a = question("Ask about the key", 1);
  a.hideIds = {1};
  a.showIds = {2};
  QuestionSpec b = question("Ask about the door", 2);
  b.shown = false;
  dialogue("Hall", {a, b});
  start();
  choose(1);
  EXPECT_EQ(shown(), QStringList{"Ask about the door"});
  EXPECT_TRUE(talk().questions().items[1].asked);
}

TEST_F(DialogueTest, ShowAndHideListsAffectOnlyTheFirstQuestionOfAnId) {
  frames();
  QuestionSpec pick = question("Pick", 9);
  pick.showIds = {5, 77};  // 77 matches nothing
  pick.hideIds = {6};
  QuestionSpec a = question("A5", 5), b = question("B5", 5), c = question("C6", 6), d = question("D6", 6);
  a.shown = b.shown = false;
  dialogue("Hall", {pick, a, b, c, d});
  start();
  choose(1);
  EXPECT_EQ(shown(), (QStringList{"Pick", "A5", "D6"}));
}

TEST_F(DialogueTest, APickRunsItsStepsInOrder) {
  // Scripts 1 and 2, hotspots 1 and 2, the answer, script 3, hotspot 3.
  frames({"trace = trace & |h1|", "trace = trace & |h2|", "trace = trace & |h3|"});
  QuestionSpec q = question("Go");
  q.script1 = "trace = trace & |s1|";
  q.script2 = "trace = trace & |s2|";
  q.script3 = "trace = trace & |s3|";
  q.hotspot1 = 1, q.hotspot2 = 2, q.hotspot3 = 3;
  q.answer = "Indeed.";
  q.timedAnswer = true;
  q.answerSeconds = 0.05;
  dialogue("Hall", {q});
  start();
  choose(1);
  EXPECT_EQ(trace(), "0s1h1s2h2s3h3") << allMessages().toStdString();
  EXPECT_TRUE(game().state().InFrameMessagesShown.contains("Indeed."));
  EXPECT_FALSE(game().FrameMessageBox->visible()) << "a timed answer goes by itself";
  EXPECT_EQ(shown(), QStringList{"Go"});
  EXPECT_EQ(game().lblDialogue[1].foreColor(), 0x787878) << "asked questions are darker";
}

TEST_F(DialogueTest, HotspotNumbersOutsideTheFrameAreIgnored) {
  frames({"trace = trace & |h1|"});
  QuestionSpec q = question("Go");
  q.hotspot1 = 0, q.hotspot2 = -1, q.hotspot3 = 2;
  QuestionSpec r = question("Again");
  r.hotspot1 = 1;
  dialogue("Hall", {q, r});
  start();
  choose(1);
  EXPECT_EQ(trace(), "0");
  EXPECT_EQ(boxCount(), 0u) << allMessages().toStdString();
  choose(2);
  EXPECT_EQ(trace(), "0h1");
}

TEST_F(DialogueTest, AHotspotActionOfThePickMayChangeFrameAndTheDialogueGoesOn) {
  frames({"GoToFrame |Garden|, 0, 0"});
  QuestionSpec q = question("Walk with me");
  q.hotspot1 = 1;
  dialogue("Hall", {q, question("Other")});
  start();
  choose(1);
  EXPECT_EQ(frameName(), "Garden");
  EXPECT_TRUE(talk().DialogueActive());
  EXPECT_EQ(talk().DialogueFrameName(), "Hall") << "a saved game resumes where the dialogue started";
  EXPECT_EQ(shown(), (QStringList{"Walk with me", "Other"}));
}

// A pick that performs a hotspot's action whose message goes to the frame's
// panel: once the pick is done the questions come back in front of the panel,
// at the bottom of the frame, and the message cannot be read. Given as the
// question's answer, the same text shows while the questions are away.
TEST_F(DialogueTest, AHotspotsPanelMessageEndsUpBehindTheQuestionsAndAnAnswerDoesNot) {
  ActionSpec drawer;
  drawer.showMessage = true;
  drawer.messageText = "An old sea chart.";
  drawer.messageInFrame = true;
  frame(folder_, "Hall", {HotspotSpec{}}, {drawer});
  folder_.file("Frames/Hall.lks", "1\r\n");
  QuestionSpec viaHotspot = question("What is in the drawer?");
  viaHotspot.hotspot1 = 1;
  QuestionSpec viaAnswer = question("And in the chest?");
  viaAnswer.answer = "A compass.";
  viaAnswer.timedAnswer = true;
  viaAnswer.answerSeconds = 0.2;
  dialogue("Hall", {viaHotspot, viaAnswer});
  start();
  choose(1);
  EXPECT_TRUE(game().FrameMessageBox->visible());
  EXPECT_EQ(engine::controlInFrontOf(game(), game().LabelMessageBox), game().fmeDialogue);
  EXPECT_FALSE(engine::readableTexts(game()).contains("An old sea chart."));
  EXPECT_TRUE(engine::readableTexts(game()).contains("And in the chest?"));

  QStringList readableDuringTheAnswer;
  // The first events let run during the pick come in the answer's wait.
  QTimer::singleShot(0, [&] { readableDuringTheAnswer = engine::readableTexts(game()); });
  choose(2);
  EXPECT_TRUE(readableDuringTheAnswer.contains("A compass.")) << readableDuringTheAnswer.join(" / ").toStdString();
}

TEST_F(DialogueTest, AClickOnAHotspotThatChangesFrameEndsTheDialogue) {
  frames({"GoToFrame |Garden|, 0, 0"});
  dialogue("Hall", {question("Hello")});
  start();
  click(1);
  EXPECT_EQ(frameName(), "Garden");
  EXPECT_FALSE(talk().DialogueActive());
  EXPECT_FALSE(game().fmeDialogue->visible());
}

TEST_F(DialogueTest, AnEndingQuestionEndsTheTalkAfterItsAnswerAndStillRunsScriptThree) {
  frames();
  QuestionSpec bye = question("Goodbye");
  bye.endsDialogue = true;
  bye.script3 = "trace = |after|";
  bye.showIds = {1};
  dialogue("Hall", {bye, question("Other", 1)});
  start();
  choose(1);
  EXPECT_EQ(trace(), "after");
  EXPECT_FALSE(talk().DialogueActive());
  EXPECT_EQ(talk().DialogueFrameName(), "");
  EXPECT_FALSE(game().fmeDialogue->visible());
}

TEST_F(DialogueTest, AScriptsQuitDialogueEndsTheTalkForGood) {
  frames();
  QuestionSpec q = question("Enough");
  q.script1 = "QuitDialogue";
  dialogue("Hall", {q, question("Other")});
  start();
  choose(1);
  EXPECT_FALSE(talk().DialogueActive());
  EXPECT_FALSE(game().fmeDialogue->visible());
}

TEST_F(DialogueTest, AnAnswerThatIsNotTimedWaitsUntilTheMessageIsClosed) {
  frames();
  QuestionSpec q = question("Tell me");
  q.answer = "A long story.";
  q.script3 = "trace = |done|";
  dialogue("Hall", {q});
  start();
  bool closedFirst = false;
  QTimer::singleShot(100, &game(), [&] {
    closedFirst = trace() == "0";
    game().TimerMessageBox_Timer();  // the player clicks the message
  });
  QElapsedTimer t;
  t.start();
  choose(1);
  EXPECT_TRUE(closedFirst);
  EXPECT_EQ(trace(), "done");
  EXPECT_LT(t.elapsed(), 1000) << "ended by the click, not by the message's own timer";
}

TEST_F(DialogueTest, AnEmptyTimedAnswerOnlyWaits) {
  frames();
  QuestionSpec q = question("Think");
  q.timedAnswer = true;
  q.answerSeconds = 0.2;
  dialogue("Hall", {q});
  start();
  QElapsedTimer t;
  t.start();
  choose(1);
  EXPECT_GE(t.elapsed(), 190);
  EXPECT_TRUE(game().state().InFrameMessagesShown.isEmpty());
}

TEST_F(DialogueTest, ReturningToTheActiveDialoguesFrameDoesNotReloadIt) {
  frames({"GoToFrame |Garden|, 0, 0"});
  QuestionSpec walk = question("Walk");
  walk.hotspot1 = 1;
  dialogue("Hall", {walk});
  start();
  choose(1);
  ASSERT_EQ(frameName(), "Garden");
  game().OpenFrame("Hall", false, 0, 0);
  EXPECT_TRUE(talk().questions().items[1].asked) << "not reloaded";
  // After the dialogue ended, coming back loads it afresh.
  talk().QuitDialogue();
  game().OpenFrame("Garden", false, 0, 0);
  game().OpenFrame("Hall", false, 0, 0);
  EXPECT_TRUE(talk().DialogueActive());
  EXPECT_FALSE(talk().questions().items[1].asked);
  EXPECT_EQ(game().lblDialogue[1].foreColor(), 0xC8C8C8);
}

TEST_F(DialogueTest, ResetAllEndsTheDialogue) {
  frames();
  dialogue("Hall", {question("Hello")});
  start();
  ASSERT_TRUE(talk().DialogueActive());
  game().ResetAll();
  EXPECT_FALSE(talk().DialogueActive());
  EXPECT_FALSE(game().fmeDialogue->visible());
}

TEST_F(DialogueTest, ATruncatedDialogueIsReportedAndTheFrameStillOpens) {
  frames();
  const QByteArray whole = dialogueFileBytes({question("First"), question("Second")});
  folder_.file("FramesData/Hall.dlg", whole.left(whole.size() - 10));
  start();
  EXPECT_EQ(frameName(), "Hall");
  ASSERT_EQ(messagesContaining("Error loading the dialogue.\r\n\r\nInput past end of file"), 1u)
      << allMessages().toStdString();
  EXPECT_EQ(lastBox().title, "Error");
  EXPECT_FALSE(talk().DialogueActive());
  EXPECT_EQ(shown(), QStringList{"First"}) << "what was read is still offered";
}

TEST_F(DialogueTest, HoverLightsTheQuestionUnderThePointer) {
  frames();
  QuestionSpec asked = question("Asked");
  dialogue("Hall", {question("Fresh"), asked});
  start();
  choose(2);
  auto& fresh = game().lblDialogue[1];
  auto& old = game().lblDialogue[2];
  fresh.onMouseMove(0, 0, 10, 10);
  EXPECT_EQ(fresh.foreColor(), 0xFFFFFF);
  EXPECT_EQ(old.foreColor(), 0x787878);
  old.onMouseMove(0, 0, 10, 10);
  EXPECT_EQ(fresh.foreColor(), 0xC8C8C8);
  EXPECT_EQ(old.foreColor(), 0xE6E6E6);
  game().fmeDialogue->onMouseMove(0, 0, 5, 5);
  EXPECT_EQ(old.foreColor(), 0x787878);
}

TEST_F(DialogueTest, KeysChooseQuestions) {
  frames();
  QuestionSpec a = question("A"), b = question("B");
  a.script1 = "trace = trace & |a|";
  b.script1 = "trace = trace & |b|";
  dialogue("Hall", {a, b});
  start();
  auto press = [&](int key) {
    QKeyEvent e(QEvent::KeyPress, key, Qt::NoModifier);
    game().input().keyPressed(e);
  };
  press(Qt::Key_2);
  EXPECT_EQ(trace(), "0b");
  press(Qt::Key_9);  // no ninth question
  EXPECT_EQ(trace(), "0b");
  press(Qt::Key_Down);
  EXPECT_EQ(game().lblDialogue[1].foreColor(), 0xFFFFFF) << "the highlight shows like the pointer's";
  press(Qt::Key_Down);
  press(Qt::Key_Down);
  press(Qt::Key_Return);
  EXPECT_EQ(trace(), "0ba");
}

TEST_F(DialogueTest, WalkthroughStepsChooseAndCheckQuestions) {
  frames();
  QuestionSpec a = question("Hello", 1);
  a.hideIds = {1};
  a.showIds = {2};
  QuestionSpec b = question("Bye", 2);
  b.shown = false;
  b.endsDialogue = true;
  dialogue("Hall", {a, b, question("Weather")});
  basicGame(folder_, {"n"}, QStringList{"trace"});
  int failed = 0;
  const QString out = walkGame(dialogs(), folder_.root(),
                               "start\n"
                               "expect questions \"Hello|Weather\"\n"
                               "choose 1\n"
                               "expect questions \"Bye|Weather\"\n"
                               "choose 3\n"
                               "choose 1\n"
                               "expect questions \"\"\n",
                               &failed);
  EXPECT_EQ(failed, 1) << out.toStdString();
  EXPECT_TRUE(out.contains("FAIL  line 5: choose 3 -- only 2 question(s) are shown")) << out.toStdString();
}

}  // namespace
}  // namespace qm::testing
