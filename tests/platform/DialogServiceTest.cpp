#include <gtest/gtest.h>

#include "platform/DialogService.h"
#include "platform/RecordingDialogService.h"

using namespace qm::platform;

TEST(RecordingDialogs, RecordsEveryBoxAsAsked) {
  ScopedRecordingDialogs rec;
  messageBox("Text\r\nmore", MsgButtons::OK, MsgIcon::Critical, "Title");
  ASSERT_EQ(rec->count(), 1u);
  const auto& shown = rec->last();
  EXPECT_EQ(shown.kind, RecordingDialogService::Kind::Message);
  EXPECT_EQ(shown.text, "Text\r\nmore");
  EXPECT_EQ(shown.title, "Title");
  EXPECT_EQ(shown.icon, MsgIcon::Critical);
  EXPECT_EQ(shown.buttons, MsgButtons::OK);
}

TEST(RecordingDialogs, OkBoxesDoNotUseTheQueue) {
  ScopedRecordingDialogs rec;
  rec->queueAnswer(MsgResult::No);
  EXPECT_EQ(messageBox("a", MsgButtons::OK, MsgIcon::None, ""), MsgResult::OK);
  EXPECT_EQ(rec->pendingAnswers(), 1u);
  EXPECT_EQ(messageBox("q", MsgButtons::YesNo, MsgIcon::Question, ""), MsgResult::No);
  EXPECT_EQ(rec->pendingAnswers(), 0u);
}

TEST(RecordingDialogs, QuestionsWithoutQueuedAnswersTakeTheDefaultButton) {
  ScopedRecordingDialogs rec;
  EXPECT_EQ(messageBox("q", MsgButtons::YesNo, MsgIcon::Warning, "!!!", 1), MsgResult::No);
  EXPECT_EQ(messageBox("q", MsgButtons::YesNo, MsgIcon::Warning, "!!!"), MsgResult::Yes);
  EXPECT_EQ(messageBox("q", MsgButtons::OKCancel, MsgIcon::None, "", 1), MsgResult::Cancel);
  EXPECT_EQ(messageBox("q", MsgButtons::AbortRetryIgnore, MsgIcon::None, "", 2), MsgResult::Ignore);
  EXPECT_EQ(messageBox("q", MsgButtons::YesNoCancel, MsgIcon::None, "", 7), MsgResult::Yes);
}

TEST(RecordingDialogs, InputBoxesAnswerFromTheQueue) {
  ScopedRecordingDialogs rec;
  rec->queueText("Saved game 1");
  rec->queueCancel();
  InputBoxRequest request{"Name?", "Save", "default"};
  EXPECT_EQ(dialogs().askText(request), QString("Saved game 1"));
  EXPECT_EQ(dialogs().askText(request), std::nullopt);
  EXPECT_EQ(dialogs().askText(request), QString("default"));
  ASSERT_EQ(rec->count(), 3u);
  EXPECT_EQ(rec->shown()[0].kind, RecordingDialogService::Kind::Input);
  EXPECT_EQ(rec->shown()[0].text, "Name?");
  EXPECT_EQ(rec->shown()[0].defaultText, "default");
}

TEST(RecordingDialogs, CancelAnswersEitherKindOfQuestion) {
  ScopedRecordingDialogs rec;
  rec->queueCancel();
  EXPECT_EQ(messageBox("q", MsgButtons::OKCancel, MsgIcon::None, ""), MsgResult::Cancel);
  rec->queueAnswer(MsgResult::Cancel);
  EXPECT_EQ(dialogs().askText({"p", "t", "d"}), std::nullopt);
}

TEST(RecordingDialogs, ScopesNestAndRestore) {
  EXPECT_EQ(installedDialogs(), nullptr);
  {
    ScopedRecordingDialogs outer;
    {
      ScopedRecordingDialogs inner;
      messageBox("x", MsgButtons::OK, MsgIcon::None, "");
      EXPECT_EQ(inner->count(), 1u);
    }
    messageBox("y", MsgButtons::OK, MsgIcon::None, "");
    EXPECT_EQ(outer->count(), 1u);
  }
  EXPECT_EQ(installedDialogs(), nullptr);
}

TEST(VbMessageStyles, SplitIntoButtonsIconAndDefault) {
  auto r = requestFromVbStyle("t", 4 + 32 + 256, "T");
  EXPECT_EQ(r.buttons, MsgButtons::YesNo);
  EXPECT_EQ(r.icon, MsgIcon::Question);
  EXPECT_EQ(r.defaultButton, 1);
  r = requestFromVbStyle("t", 16, "T");
  EXPECT_EQ(r.buttons, MsgButtons::OK);
  EXPECT_EQ(r.icon, MsgIcon::Critical);
  r = requestFromVbStyle("t", 1 + 48 + 512, "T");  // third button of a two-button box
  EXPECT_EQ(r.buttons, MsgButtons::OKCancel);
  EXPECT_EQ(r.icon, MsgIcon::Warning);
  EXPECT_EQ(r.defaultButton, 0);
  r = requestFromVbStyle("t", 5 + 64 + 4096, "T");
  EXPECT_EQ(r.buttons, MsgButtons::RetryCancel);
  EXPECT_EQ(r.icon, MsgIcon::Information);
}
