#include <gtest/gtest.h>

#include <QApplication>
#include <QFontInfo>
#include <QInputDialog>
#include <QLineEdit>
#include <QMessageBox>
#include <QPushButton>
#include <QTimer>

#include "platform/InterfaceScale.h"
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

// ---- Drawn at the game picture's scale ----------------------------------------------------

namespace {

struct BoxLook {
  double pointSize = 0;
  QSize size, buttonSize, iconSize;
};

// How a message box and an input box look at an interface scale.
std::pair<BoxLook, BoxLook> looksAt(double scale) {
  qm::testing::ensureQtApplication();
  SetInterfaceScale(scale);
  QtDialogService service;
  BoxLook box, input;
  whenShown<QMessageBox>([&](QMessageBox* b) {
    box.pointSize = QFontInfo(b->font()).pointSizeF();
    box.size = b->size();
    box.buttonSize = b->defaultButton()->size();
    box.iconSize = b->iconPixmap().deviceIndependentSize().toSize();
    b->defaultButton()->click();
  });
  service.showMessage({"The keeper opens the drawer: an old sea chart.", "Study", MsgIcon::Information,
                       MsgButtons::OKCancel, 0});
  whenShown<QInputDialog>([&](QInputDialog* d) {
    input.pointSize = QFontInfo(d->font()).pointSizeF();
    input.size = d->size();
    input.buttonSize = d->findChild<QLineEdit*>()->size();
    d->accept();
  });
  service.askText({"Your name?", "Save", "Ann"});
  SetInterfaceScale(1.0);
  return {box, input};
}

}  // namespace

TEST(QtDialogs, AtTwiceTheSizeTheBoxesTextButtonsAndIconAreTwiceAsLarge) {
  const auto [box1, input1] = looksAt(1.0);
  const auto [box2, input2] = looksAt(2.0);
  EXPECT_NEAR(box2.pointSize, 2 * box1.pointSize, 0.6);
  EXPECT_NEAR(input2.pointSize, 2 * input1.pointSize, 0.6);
  EXPECT_GE(box2.iconSize.height(), 2 * box1.iconSize.height());
  // Fonts come in whole pixels: sizes grow by about the scale. (The boxes'
  // widths are bounded by the toolkit to a share of the screen's.)
  EXPECT_GE(box2.buttonSize.height(), 1.8 * box1.buttonSize.height());
  EXPECT_GE(box2.size.height(), 1.8 * box1.size.height());
  EXPECT_GE(input2.buttonSize.height(), 1.8 * input1.buttonSize.height());  // the text field
  EXPECT_GE(input2.size.height(), 1.8 * input1.size.height());
}
