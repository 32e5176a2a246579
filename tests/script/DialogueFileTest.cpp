// The dialogue file reader: every field in order, scripts decoded, and
// damaged files (truncated, negative or huge counts, text for numbers) that
// fail cleanly and keep what was read.
#include <gtest/gtest.h>

#include <QList>

#include "platform/VbError.h"
#include "script/DialogueFile.h"
#include "startup/RecordReader.h"
#include "support/DialogueRecords.h"

namespace qm::testing {
namespace {

using script::DialogueQuestions;

DialogueQuestions read(const QByteArray& bytes, int* errorNumber = nullptr) {
  DialogueQuestions q;
  startup::RecordReader reader(bytes, "Talk.dlg");
  try {
    script::ReadDialogueQuestions(reader, q);
    if (errorNumber) *errorNumber = 0;
  } catch (const VbError& e) {
    if (errorNumber) *errorNumber = e.number;
  }
  return q;
}

TEST(DialogueFileTest, ReadsEveryFieldInOrder) {
  QuestionSpec a;
  a.question = "Who are you?";
  a.answer = "The keeper.";
  a.script1 = "MsgBox |one|";
  a.script2 = "x = |a|";
  a.script3 = "y = 3";
  a.id = 7;
  a.shown = false;
  a.endsDialogue = true;
  a.hotspot1 = 1, a.hotspot2 = 2, a.hotspot3 = 3;
  a.showIds = {4, 5};
  a.hideIds = {7};
  a.answerSeconds = 2.5;
  a.timedAnswer = true;
  QuestionSpec b;
  b.question = "Caf\u00e9?";
  int error = -1;
  const DialogueQuestions q = read(dialogueFileBytes({a, b}), &error);
  ASSERT_EQ(error, 0);
  ASSERT_EQ(q.count(), 2);
  const auto& r = q.items[1];
  EXPECT_EQ(r.question, "Who are you?");
  EXPECT_EQ(r.answer, "The keeper.");
  EXPECT_EQ(r.script1, "MsgBox \"one\"");
  EXPECT_EQ(r.script2, "x = \"a\"");
  EXPECT_EQ(r.script3, "y = 3");
  EXPECT_EQ(r.id, 7);
  EXPECT_FALSE(r.initiallyShown);
  EXPECT_FALSE(r.shown);
  EXPECT_TRUE(r.endsDialogue);
  EXPECT_EQ(r.hotspot1, 1);
  EXPECT_EQ(r.hotspot2, 2);
  EXPECT_EQ(r.hotspot3, 3);
  EXPECT_EQ(r.showList, (std::vector<int16_t>{4, 5}));
  EXPECT_EQ(r.hideList, (std::vector<int16_t>{7}));
  EXPECT_DOUBLE_EQ(r.answerSeconds, 2.5);
  EXPECT_TRUE(r.timedAnswer);
  EXPECT_FALSE(r.asked);
  EXPECT_EQ(q.items[2].question, QString::fromUtf8("Caf\u00e9?")) << "Windows-1252 text";
  EXPECT_TRUE(q.items[2].shown);
}

TEST(DialogueFileTest, NoQuestionsIsAnEmptyDialogue) {
  int error = -1;
  EXPECT_EQ(read(dialogueFileBytes({}), &error).count(), 0);
  EXPECT_EQ(error, 0);
}

TEST(DialogueFileTest, ATruncatedFileKeepsTheQuestionsReadBefore) {
  QuestionSpec a, b;
  a.question = "First";
  b.question = "Second";
  const QByteArray whole = dialogueFileBytes({a, b});
  int error = 0;
  const DialogueQuestions q = read(whole.left(whole.size() - 12), &error);
  EXPECT_EQ(error, 62);
  ASSERT_EQ(q.count(), 1);
  EXPECT_EQ(q.items[1].question, "First");
}

TEST(DialogueFileTest, EveryTruncationFailsCleanly) {
  QuestionSpec a;
  a.question = "Q";
  a.showIds = {1, 2};
  const QByteArray whole = dialogueFileBytes({a, a});
  // Up to the timed-answer flag; the unused last field may be cut short.
  for (qsizetype n = 0; n < whole.size() - 12; ++n) {
    int error = 0;
    const DialogueQuestions q = read(whole.left(n), &error);
    EXPECT_NE(error, 0) << n;
    EXPECT_LE(q.count(), 1) << n;
  }
}

TEST(DialogueFileTest, ANegativeCountIsABadSubscript) {
  int error = 0;
  EXPECT_EQ(read(dialogueFileBytes({}, -3), &error).count(), 0);
  EXPECT_EQ(error, 9);
}

TEST(DialogueFileTest, AHugeCountStopsAtTheEndOfTheFile) {
  QuestionSpec a;
  a.question = "Only one";
  int error = 0;
  const DialogueQuestions q = read(dialogueFileBytes({a}, 30000), &error);
  EXPECT_EQ(error, 62);
  EXPECT_EQ(q.count(), 1);
  EXPECT_LE(q.items.capacity(), 8u) << "nothing sized by the count";
}

TEST(DialogueFileTest, AHugeOrNegativeListLengthFailsCleanly) {
  QuestionSpec a;
  a.question = "Q";
  QByteArray bytes = dialogueFileBytes({a});
  // The show list's length is the first field of the question's third line.
  QList<QByteArray> lines = bytes.split('\n');
  ASSERT_GE(lines.size(), 6);
  lines[4] = "30000\r";
  int error = 0;
  read(lines.join('\n'), &error);
  EXPECT_NE(error, 0);
  lines[4] = "-1\r";
  read(lines.join('\n'), &error);
  EXPECT_EQ(error, 9);
}

TEST(DialogueFileTest, TextWhereANumberBelongsIsATypeMismatch) {
  QuestionSpec a;
  a.question = "Q";
  QByteArray bytes = dialogueFileBytes({a});
  QList<QByteArray> lines = bytes.split('\n');
  lines[3] = "\"seven\"," + lines[3].mid(lines[3].indexOf(',') + 1);
  int error = 0;
  const DialogueQuestions q = read(lines.join('\n'), &error);
  EXPECT_EQ(error, 13);
  EXPECT_EQ(q.count(), 0);
}

}  // namespace
}  // namespace qm::testing
