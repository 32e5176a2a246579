// The walkthrough runner: its step language and its reports.
#include <gtest/gtest.h>

#include "GameFixture.h"
#include "engine/Walkthrough.h"
#include "platform/DialogService.h"

namespace qm::testing {
namespace {

using engine::countSteps;
using engine::printable;
using engine::splitStepLine;

TEST(WalkthroughSteps, WordsQuotesAndEscapes) {
  QString error;
  EXPECT_FALSE(splitStepLine("   ", &error));
  EXPECT_FALSE(splitStepLine("# a comment", &error));
  EXPECT_EQ(*splitStepLine("  click   3 ", &error), QStringList({"click", "3"}));
  EXPECT_EQ(*splitStepLine(R"(expect message "Say \"hi\"\nnow \\ then")", &error),
            QStringList({"expect", "message", "Say \"hi\"\r\nnow \\ then"}));
  EXPECT_EQ(*splitStepLine(R"(input "")", &error), QStringList({"input", ""}));
  EXPECT_TRUE(error.isEmpty());
  splitStepLine(R"(input "open)", &error);
  EXPECT_FALSE(error.isEmpty());
}

TEST(WalkthroughSteps, OnlyStepLinesCount) {
  EXPECT_EQ(countSteps(""), 0);
  EXPECT_EQ(countSteps("\n  \n# start\n\r\n"), 0);
  EXPECT_EQ(countSteps("# a game\nstart\n\nclick 1\r\n"), 2);
  EXPECT_EQ(countSteps("input \"open"), 1);  // a broken step is still a step: it fails
}

TEST(WalkthroughSteps, ReportTextPrintsOnOneLineWithoutRawControlCharacters) {
  EXPECT_EQ(printable("Hall"), "Hall");
  EXPECT_EQ(printable("Caf\u00E9 \u00B7 \\ \"q\""), "Caf\u00E9 \u00B7 \\ \"q\"");  // printable text stays
  EXPECT_EQ(printable("a\r\nb\tc"), "a\\r\\nb\\tc");
  EXPECT_EQ(printable(QString("x") + QChar(0) + QChar(7) + QChar(0x1B) + QChar(0x7F)), "x\\x00\\x07\\x1B\\x7F");
  EXPECT_EQ(printable(QString(QChar(0x85)) + QChar(0x2028) + QChar(0xFEFF)), "\\x85\\u2028\\uFEFF");
  EXPECT_EQ(printable(QString(QChar(0xD800)) + "z"), "\\uD800z");  // a lone surrogate
  EXPECT_EQ(printable(QString::fromUtf8("\xF0\x9F\x8E\xB2")), QString::fromUtf8("\xF0\x9F\x8E\xB2"));
}

class WalkthroughRunnerTest : public GameFixture {
 protected:
  QString play(const QString& steps, int* failed = nullptr) {
    GeneralFields g;
    g.initialFrame = initialFrame_;
    g.width = 320;
    g.height = 240;
    folder_.general(g);
    frame(folder_, "Hall", hall_);
    if (!hallTexts_.empty()) folder_.file("FramesData/Hall.fm1", textFileBytes(hallTexts_));
    frame(folder_, "Room", FrameSpec{});
    withVariablesFile(folder_);
    startup::InitializeProject(folder_.root());
    if (beforeSteps_) beforeSteps_();
    QString output;
    QTextStream out(&output);
    engine::WalkthroughRunner runner(dialogs(), out, [this] { return game_.get(); });
    runner.setStartAction([this] {
      game_ = std::make_unique<engine::Game>();
      game_->ResetAll();
      game_->StartNewGame();
      game_->show();
      return QString();
    });
    const int f = runner.run(steps);
    if (failed) *failed = f;
    game_.reset();
    return output;
  }
  void TearDown() override {
    game_.reset();
    GameFixture::TearDown();
  }
  GameFolderBuilder folder_;
  QString initialFrame_ = "Hall";
  FrameSpec hall_;
  std::vector<TextBoxSpec> hallTexts_;
  // What happens while the game loads, before the first step.
  std::function<void()> beforeSteps_;
  std::unique_ptr<engine::Game> game_;
};

TEST_F(WalkthroughRunnerTest, PassingStepsPrintOkAndTheSummary) {
  int failed = -1;
  const QString out = play("start\nexpect frame Hall\nexpect nomessage\n", &failed);
  EXPECT_EQ(failed, 0);
  EXPECT_TRUE(out.contains("ok    line 2: expect frame Hall"));
  EXPECT_TRUE(out.endsWith("3 passed, 0 failed\n"));
}

TEST_F(WalkthroughRunnerTest, FailuresGiveTheReason) {
  int failed = 0;
  const QString out = play("click 1\nstart\nexpect frame Room\nclick 4\nfly away\nexpect var Nope 1\n", &failed);
  EXPECT_EQ(failed, 5);
  EXPECT_TRUE(out.contains("FAIL  line 1: click 1 -- the game is not running"));
  EXPECT_TRUE(out.contains("FAIL  line 3: expect frame Room -- the current frame is 'Hall'"));
  EXPECT_TRUE(out.contains("FAIL  line 4: click 4 -- the frame has no hotspot 4"));
  EXPECT_TRUE(out.contains("unknown step 'fly'"));
  EXPECT_TRUE(out.contains("there is no variable named 'Nope'"));
}

// The Debug menu's frame list: every frame file, whatever the letter case of
// its extension, and each item can be chosen.
TEST_F(WalkthroughRunnerTest, DebugMenuGoesToEveryFrameOfTheGame) {
  folder_.file("Frames/Cellar.FME", frameFileBytes(FrameSpec{}));
  int failed = -1;
  const QString out = play(
      "start\nkey F9\nkey F10\nkey F11\nkey F12\nmenu \"Room\"\nexpect frame Room\n"
      "key F9\nkey F10\nkey F11\nkey F12\nmenu \"Cellar\"\nexpect frame Cellar\n",
      &failed);
  EXPECT_EQ(failed, 0) << out.toStdString();
}

TEST_F(WalkthroughRunnerTest, MessagesBelongToTheLastStepThatIsNotAnExpect) {
  hall_.timerOn = true;
  hall_.timerSeconds = "0.1";
  hall_.timerTarget = "Missing";
  int failed = -1;
  const QString out = play(
      "start\nexpect nomessage\nwait 0.3\nexpect message \"could not be found\"\nexpect message \"could not\"\n"
      "key Esc\nexpect nomessage\n",
      &failed);
  EXPECT_EQ(failed, 0) << out.toStdString();
}

TEST_F(WalkthroughRunnerTest, AMessageBoxLoopFailsItsStepAndKeepsLittle) {
  folder_.moreIni("General", "ScriptTimeOut", "1");
  int failed = -1;
  const QString out = play("start\nrun \"Do : MsgBox \\\"hi\\\" : Loop\"\nrun \"MsgBox \\\"once\\\"\"\n"
                           "expect message \"once\"\n",
                           &failed);
  EXPECT_EQ(failed, 1) << out.toStdString();
  EXPECT_TRUE(out.contains("-- message box loop")) << out.toStdString();
  // Only the boxes of the last step are kept.
  EXPECT_LE(dialogs().count(), 2u);
}

TEST_F(WalkthroughRunnerTest, KeysAndAnswersReachTheGame) {
  int failed = -1;
  const QString out = play("start\nanswer No\nkey Ctrl+Q\nexpect message \"quit\"\nexpect frame Hall\n"
                           "key Nope+A\nkey Hyper\n",
                           &failed);
  EXPECT_EQ(failed, 2) << out.toStdString();
  EXPECT_TRUE(out.contains("unknown modifier 'Nope'"));
  EXPECT_TRUE(out.contains("unknown key 'Hyper'"));
}

TEST_F(WalkthroughRunnerTest, StartFailsWhenTheGameOpensNoFrameAndSaysWhatWasShown) {
  initialFrame_ = "Nowhere";
  int failed = -1;
  const QString out = play("start\nexpect visible 1\n", &failed);
  EXPECT_EQ(failed, 2) << out.toStdString();
  EXPECT_TRUE(out.contains("FAIL  line 1: start -- the game did not start; it showed: \"")) << out.toStdString();
  EXPECT_TRUE(out.contains("The frame named \"Nowhere\" could not be found.")) << out.toStdString();
  EXPECT_FALSE(out.contains("ok    line 1"));
}

TEST_F(WalkthroughRunnerTest, AStepThatShowsAnErrorReportSaysSoInItsOkLine) {
  int failed = -1;
  const QString out = play("start\nrun \"x = 1 / 0\"\nexpect frame Hall\n", &failed);
  EXPECT_EQ(failed, 0) << out.toStdString();
  const QString line2 = out.split('\n').value(1);
  EXPECT_TRUE(line2.startsWith("ok    line 2: run")) << line2.toStdString();
  EXPECT_TRUE(line2.contains(" -- ok, but showed: \"")) << line2.toStdString();
  EXPECT_TRUE(line2.contains("Division by zero")) << line2.toStdString();
  // The report's line breaks are written out, so it stays one line.
  EXPECT_TRUE(line2.contains("\\r\\n")) << line2.toStdString();
  EXPECT_TRUE(out.contains("ok    line 3: expect frame Hall\n"));
  EXPECT_FALSE(out.contains("ok    line 1: start --"));
}

TEST_F(WalkthroughRunnerTest, FailLinesEscapeWhatTheyQuote) {
  int failed = -1;
  const QString out =
      play(QString("start\nrun \"MsgBox \\\"bell\\\" & Chr(7) & vbTab\"\nexpect message \"x") + QChar(1) + "\"\n",
           &failed);
  EXPECT_EQ(failed, 1) << out.toStdString();
  EXPECT_TRUE(out.contains("FAIL  line 3: expect message \"x\\x01\" -- shown instead: \"bell\\x07\\t\""))
      << out.toStdString();
  for (QChar c : out) EXPECT_TRUE(c == '\n' || c.isPrint()) << "raw character " << int(c.unicode());
}

TEST_F(WalkthroughRunnerTest, ScreenshotWritesTheFramePicture) {
  hall_.background = QString::number(0x00FF00);
  QTemporaryDir dir;
  const QString file = dir.filePath("shot.png");
  int failed = -1;
  play("start\nscreenshot \"" + file + "\"\n", &failed);
  EXPECT_EQ(failed, 0);
  QImage shot(file);
  ASSERT_FALSE(shot.isNull());
  EXPECT_EQ(shot.size(), QSize(320, 240));
  EXPECT_EQ(shot.pixel(5, 5), qRgb(0, 255, 0));
}

// ---- Messages the player can read --------------------------------------------

TEST_F(WalkthroughRunnerTest, BoxesShownWhileTheGameLoadsBelongToTheFirstStart) {
  beforeSteps_ = [] {
    platform::messageBox("The soundfont is missing", platform::MsgButtons::OK, platform::MsgIcon::Warning, "Game");
  };
  int failed = -1;
  const QString out = play("answer Yes\nstart\nexpect message \"soundfont is missing\"\nexpect onscreen \"soundfont\"\n"
                           "wait 0.1\nexpect nomessage\n",
                           &failed);
  EXPECT_EQ(failed, 0) << out.toStdString();
}

TEST_F(WalkthroughRunnerTest, ABooleanVariantReadsAsVbShowsIt) {
  folder_.file("Config/Variables", variablesFileBytes({}, QStringList{"Flag"}));
  int failed = -1;
  const QString out = play("start\nrun \"Flag = True\"\nexpect var Flag True\nrun \"Flag = 1 = 2\"\n"
                           "expect var Flag False\nexpect var Flag false\n",
                           &failed);
  EXPECT_EQ(failed, 1) << out.toStdString();
  EXPECT_TRUE(out.contains("FAIL  line 6: expect var Flag false -- its value is False")) << out.toStdString();
}

TEST_F(WalkthroughRunnerTest, AMessageShownAndHiddenBeforeAPaintWasNeverSeen) {
  int failed = -1;
  const QString out = play("start\nrun \"Message \\\"Gone at once\\\" : Message \\\"[hide]\\\"\"\n"
                           "expect message \"Gone at once\"\nexpect onscreen \"Gone at once\"\n"
                           "run \"Message \\\"Here to stay\\\"\"\nexpect message \"Here to stay\"\n"
                           "expect onscreen \"to stay\"\n",
                           &failed);
  EXPECT_EQ(failed, 2) << out.toStdString();
  EXPECT_TRUE(out.contains("FAIL  line 3: expect message \"Gone at once\" -- \"Gone at once\" was put in the message "
                           "panel, but no picture painted during the step showed it"))
      << out.toStdString();
  EXPECT_TRUE(out.contains("FAIL  line 4: expect onscreen")) << out.toStdString();
}

TEST_F(WalkthroughRunnerTest, ACoveredTextIsNotOnScreen) {
  // A text box low on the picture, where the message panel comes up.
  TextBoxSpec low;
  low.caption = "Mind the step";
  low.left = 300;
  low.top = 3300;
  hallTexts_ = {low};
  int failed = -1;
  const QString out = play("start\nexpect onscreen \"Mind the step\"\nrun \"Message \\\"A long message\\\"\"\n"
                           "expect onscreen \"A long message\"\nexpect onscreen \"Mind the step\"\n"
                           // The text box brought in front covers the message in turn.
                           "run \"Text(1).ZOrder 0\"\nexpect onscreen \"A long message\"\nexpect onscreen \"Mind\"\n",
                           &failed);
  EXPECT_EQ(failed, 2) << out.toStdString();
  EXPECT_TRUE(out.contains("FAIL  line 5: expect onscreen \"Mind the step\" -- \"Mind the step\" (text box 1) is covered "
                           "by FrameMessageBox"))
      << out.toStdString();
  EXPECT_TRUE(out.contains("FAIL  line 7: expect onscreen \"A long message\" -- \"A long message\" (the message "
                           "panel) is covered by Text(1)"))
      << out.toStdString();
}

TEST_F(WalkthroughRunnerTest, OnScreenSaysWhatCanBeReadInstead) {
  TextBoxSpec title;
  title.caption = "The Hall";
  hallTexts_ = {title};
  int failed = -1;
  const QString out = play("expect onscreen \"Hall\"\nstart\nexpect onscreen \"Garden\"\n", &failed);
  EXPECT_EQ(failed, 2) << out.toStdString();
  EXPECT_TRUE(out.contains("FAIL  line 1: expect onscreen \"Hall\" -- the game is not running")) << out.toStdString();
  EXPECT_TRUE(out.contains("FAIL  line 3: expect onscreen \"Garden\" -- readable now: \"The Hall\"")) << out.toStdString();
}

TEST_F(WalkthroughRunnerTest, AScreenshotOnlyLooksAndKeepsTheMessagesOfTheStepBefore) {
  QTemporaryDir dir;
  ASSERT_TRUE(dir.isValid());
  const QString file = dir.filePath("shot.png");
  int failed = -1;
  const QString out = play("start\nrun \"MsgBox \\\"The bell rings.\\\"\"\nscreenshot \"" + file +
                               "\"\nexpect message \"The bell rings.\"\nscreenshot \"" + file +
                               "\"\nexpect message \"The bell rings.\"\n",
                           &failed);
  EXPECT_EQ(failed, 0) << out.toStdString();
  // And a game step after it starts afresh.
  const QString later = play("start\nrun \"MsgBox \\\"The bell rings.\\\"\"\nscreenshot \"" + file +
                                 "\"\nwait 0\nexpect nomessage\n",
                             &failed);
  EXPECT_EQ(failed, 0) << later.toStdString();
}

}  // namespace
}  // namespace qm::testing
