// The project's default pointer on the game's controls, and pointers read from
// cursor, icon and picture files.
#include <gtest/gtest.h>

#include <QFile>
#include <QImage>
#include <QWidget>
#include <memory>

#include "engine/CursorFile.h"
#include "engine/controls/ImageControl.h"
#include "startup/InterfaceTexts.h"
#include "startup/Project.h"
#include "support/GameFolderBuilder.h"
#include "support/ProjectTest.h"

namespace qm::engine {
namespace {

class CursorFileTest : public testing::ProjectTest {
 protected:
  void SetUp() override {
    ProjectTest::SetUp();
    startup::SetDefaultInterfaceTexts(false);
    startup::setProjectFolder(game_.root());
    parent_ = std::make_unique<QWidget>();
  }
  testing::GameFolderBuilder game_;
  std::unique_ptr<QWidget> parent_;  // made once the application exists
};

TEST_F(CursorFileTest, TheDefaultPointerIsTheArrowWhateverItsCase) {
  ImageControl c("Area", 1, parent_.get());
  c.setMousePointer(kPointerHourglass);
  startup::project().info.defaultMousePointer = "Default";
  ApplyDefaultCursor(c);
  EXPECT_EQ(c.mousePointer(), kPointerDefault);
  EXPECT_TRUE(c.mouseIcon().isEmpty());
  EXPECT_EQ(c.cursor().shape(), Qt::ArrowCursor);
  EXPECT_EQ(boxCount(), 0u);
}

TEST_F(CursorFileTest, AnIconFileFromIconsIsFoundIgnoringCase) {
  QImage icon(32, 32, QImage::Format_ARGB32);
  icon.fill(Qt::red);
  ASSERT_TRUE(icon.save(game_.path("Icons/Hand.ico"), "ICO"));
  startup::project().info.defaultMousePointer = "hand.ico";
  ImageControl c("Area", 1, parent_.get());
  ApplyDefaultCursor(c);
  EXPECT_EQ(c.mousePointer(), kPointerCustom);
  EXPECT_FALSE(c.mouseIcon().isEmpty());
  EXPECT_EQ(c.cursor().pixmap().width(), 32);
  EXPECT_EQ(boxCount(), 0u);
}

TEST_F(CursorFileTest, CursorFilesKeepTheirHotSpotAndBadFilesGiveNone) {
  QImage icon(32, 32, QImage::Format_ARGB32);
  icon.fill(Qt::blue);
  ASSERT_TRUE(icon.save(game_.path("Icons/arrow.ico"), "ICO"));
  QFile f(game_.path("Icons/arrow.ico"));
  ASSERT_TRUE(f.open(QIODevice::ReadOnly));
  QByteArray bytes = f.readAll();
  f.close();
  bytes[2] = 2;  // a cursor file: the two words after the size are its hot spot
  bytes[10] = 5;
  bytes[11] = 0;
  bytes[12] = 7;
  bytes[13] = 0;
  game_.file("Icons/arrow.cur", bytes);
  const auto cursor = loadCursorFile(game_.path("Icons/arrow.cur"));
  ASSERT_TRUE(cursor);
  EXPECT_EQ(cursor->hotSpot(), QPoint(5, 7));
  EXPECT_FALSE(loadCursorFile(game_.path("Icons/none.cur")));
  game_.file("Icons/junk.cur", "not a picture");
  EXPECT_FALSE(loadCursorFile(game_.path("Icons/junk.cur")));
}

TEST_F(CursorFileTest, AMissingPointerFileIsReportedAndKeepsTheArrow) {
  startup::project().info.defaultMousePointer = "gone.cur";
  ImageControl c("Area", 1, parent_.get());
  ApplyDefaultCursor(c);
  EXPECT_EQ(c.cursor().shape(), Qt::ArrowCursor);
  ASSERT_EQ(boxCount(), 1u);
  EXPECT_TRUE(lastBox().text.startsWith("The following file is missing:\r\n" + startup::project().paths.icons + "gone.cur"))
      << lastBox().text.toStdString();
}

}  // namespace
}  // namespace qm::engine
