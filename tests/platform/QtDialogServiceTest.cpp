#include <gtest/gtest.h>

#include <QApplication>
#include <QFontInfo>
#include <QInputDialog>
#include <QLineEdit>
#include <QMessageBox>
#include <QPushButton>
#include <QTimer>

#include "platform/QtDialogService.h"
#include "support/ProjectTest.h"

using namespace qm::platform;

namespace {

// Runs `act` on the modal box once it is up.
template <typename W, typename F>
void whenShown(F act) {
  QTimer::singleShot(20, [act] {
    if (auto* w = qobject_cast<W*>(QApplication::activeModalWidget())) {
      act(w);
    } else {
      whenShown<W>(act);
    }
  });
}

}  // namespace

TEST(QtDialogs, TheBoxShowsTheTextAndAnswersWithTheClickedButton) {
  qm::testing::ensureQtApplication();
  QtDialogService service;
  QString seenText, seenTitle;
  whenShown<QMessageBox>([&](QMessageBox* box) {
    seenText = box->text();
    seenTitle = box->windowTitle();
    box->button(QMessageBox::No)->click();
  });
  MessageBoxRequest request{"Line 1\r\nLine 2", "!!!", MsgIcon::Warning, MsgButtons::YesNo, 0};
  EXPECT_EQ(service.showMessage(request), MsgResult::No);
  EXPECT_EQ(seenText, "Line 1\nLine 2");
  EXPECT_EQ(seenTitle, "!!!");
}

TEST(QtDialogs, TheDefaultButtonIsTheOneAsked) {
  qm::testing::ensureQtApplication();
  QtDialogService service;
  whenShown<QMessageBox>([](QMessageBox* box) { box->defaultButton()->click(); });
  MessageBoxRequest request{"q", "t", MsgIcon::Question, MsgButtons::YesNoCancel, 2};
  EXPECT_EQ(service.showMessage(request), MsgResult::Cancel);
}

TEST(QtDialogs, InputBoxes) {
  qm::testing::ensureQtApplication();
  QtDialogService service;
  whenShown<QInputDialog>([](QInputDialog* d) {
    d->setTextValue("typed");
    d->accept();
  });
  EXPECT_EQ(service.askText({"Name?", "Save", "x"}), QString("typed"));
  whenShown<QInputDialog>([](QInputDialog* d) { d->reject(); });
  EXPECT_EQ(service.askText({"Name?", "Save", "x"}), std::nullopt);
}

TEST(QtDialogs, BoxesUseTheGamesFontFamily) {
  qm::testing::ensureQtApplication();
  QtDialogService service;
  QString boxFamily, inputFamily, inputLabel, inputDefault, inputTitle;
  whenShown<QMessageBox>([&](QMessageBox* box) {
    boxFamily = QFontInfo(box->font()).family();
    box->defaultButton()->click();
  });
  service.showMessage({"text", "title", MsgIcon::Information, MsgButtons::OK, 0});
  whenShown<QInputDialog>([&](QInputDialog* d) {
    inputFamily = QFontInfo(d->font()).family();
    inputLabel = d->labelText();
    inputDefault = d->textValue();
    inputTitle = d->windowTitle();
    d->accept();
  });
  EXPECT_EQ(service.askText({"Your name?\r\nPlease", "Save", "Ann"}), QString("Ann"));
  EXPECT_EQ(boxFamily, "Liberation Sans");
  EXPECT_EQ(inputFamily, "Liberation Sans");
  EXPECT_EQ(inputLabel, "Your name?\nPlease");
  EXPECT_EQ(inputDefault, "Ann");
  EXPECT_EQ(inputTitle, "Save");
}
