// Welcome-screen schemes: the description file as read, and its effect on the
// welcome window (picture buttons, colours, tiled background, title, logo).
#include <QBuffer>
#include <QImage>
#include <QPainter>

#include "WelcomeFixture.h"
#include "startup/RecordWriter.h"
#include "startup/SchemeDescription.h"
#include "startup/frmWelcomeLabel.h"

namespace qm::testing {
namespace {

using startup::ParseSchemeDescription;
using startup::RecordWriter;

// Three skipped fields, then P and the picture names.
RecordWriter schemeHead(const QStringList& pictures) {
  RecordWriter w;
  w.str("skip").str("skip").num(1).endRecord();
  w.integer(pictures.size());
  for (const QString& p : pictures) w.str(p);
  w.endRecord();
  return w;
}

TEST(SchemeFile, CountZeroMakesTheSchemeUnusableAndReadsNothingMore) {
  RecordWriter w;
  w.str("a").str("b").str("c").integer(0).str("start.bmp").integer(4).integer(255);
  const auto d = ParseSchemeDescription(w.bytes());
  EXPECT_TRUE(d.found);
  EXPECT_EQ(d.pictureCount, 0);
  EXPECT_TRUE(d.pictures.empty());
  EXPECT_EQ(d.colourLevel, 0);
  EXPECT_FALSE(d.backColour);
}

TEST(SchemeFile, NoneAndDefaultInAnyCaseMeanNoPicture) {
  RecordWriter w = schemeHead({"start.bmp", "[NONE]", "[Default]", "back.bmp"});
  w.integer(0);
  const auto d = ParseSchemeDescription(w.bytes());
  ASSERT_EQ(d.pictures.size(), 4u);
  EXPECT_EQ(d.pictures[0], "start.bmp");
  EXPECT_EQ(d.pictures[1], "");
  EXPECT_EQ(d.pictures[2], "");
  EXPECT_EQ(d.pictures[3], "back.bmp");
}

TEST(SchemeFile, ColourLevelZeroIgnoresEverythingAfterIt) {
  RecordWriter w = schemeHead({"a.bmp", "b.bmp", "c.bmp", "d.bmp"});
  w.integer(0).integer(1).integer(2).integer(3).str("x").str("x").str("x").integer(1).str("x").integer(1).boolean(true);
  const auto d = ParseSchemeDescription(w.bytes());
  EXPECT_EQ(d.colourLevel, 0);
  EXPECT_FALSE(d.backColour);
  EXPECT_FALSE(d.hideTitle);
  EXPECT_FALSE(d.logoSelector1);
  EXPECT_FALSE(d.logoSelector2);
}

TEST(SchemeFile, ColourLevelThreeReadsNoButtonColour) {
  RecordWriter w = schemeHead({"a.bmp", "b.bmp", "c.bmp", "d.bmp"});
  // C = 3: back, title, label colours; the next field (99) is the first of the
  // three skipped ones, then the title switch 1.
  w.integer(3).integer(0x112233).integer(0x445566).integer(0x778899);
  w.integer(99).str("x").str("x").integer(1);
  w.str("x").integer(1).boolean(true);
  const auto d = ParseSchemeDescription(w.bytes());
  EXPECT_EQ(d.colourLevel, 3);
  EXPECT_EQ(d.backColour, 0x112233);
  EXPECT_EQ(d.titleColour, 0x445566);
  EXPECT_EQ(d.labelColour, 0x778899);
  EXPECT_FALSE(d.buttonColour);
  EXPECT_EQ(d.hideTitle, true);
  EXPECT_EQ(d.logoSelector1, 1);
  EXPECT_EQ(d.logoSelector2, true);
}

TEST(SchemeFile, ColourLevelFourReadsTheButtonColour) {
  RecordWriter w = schemeHead({"a.bmp", "b.bmp", "c.bmp", "d.bmp"});
  w.integer(4).integer(1).integer(2).integer(3).integer(4);
  w.str("x").str("x").str("x").integer(0);
  const auto d = ParseSchemeDescription(w.bytes());
  EXPECT_EQ(d.buttonColour, 4);
  EXPECT_EQ(d.hideTitle, false);
  EXPECT_FALSE(d.logoSelector1);
}

TEST(SchemeFile, FileEndingAfterTheColoursKeepsTitleAndLogoDefaults) {
  RecordWriter w = schemeHead({"a.bmp", "b.bmp", "c.bmp", "d.bmp"});
  w.integer(4).integer(1).integer(2).integer(3).integer(4);
  const auto d = ParseSchemeDescription(w.bytes());
  EXPECT_FALSE(d.hideTitle);
  EXPECT_FALSE(d.logoSelector1);
  EXPECT_FALSE(d.logoSelector2);
}

TEST(SchemeFile, AHugePictureCountInAShortFileEndsAtTheEnd) {
  RecordWriter w;
  w.str("a").str("b").str("c").integer(30000).str("start.bmp");
  const auto d = ParseSchemeDescription(w.bytes());
  EXPECT_EQ(d.pictureCount, 30000);
  ASSERT_EQ(d.pictures.size(), 4u);
  EXPECT_EQ(d.pictures[0], "start.bmp");
  EXPECT_EQ(d.pictures[3], "");
  EXPECT_EQ(d.colourLevel, 0);
}

TEST(SchemeFile, GarbageNeverThrows) {
  for (const char* bytes : {"", "\"", "1,2,3,abc", "\"a\",\"b\",\"c\",4,#TRUE#,\"x", ",,,,,,,,,,,,,,,,",
                            "1,1,1,2,\"a\",\"b\",5,99999999999,\"q\",-1"}) {
    EXPECT_NO_THROW(ParseSchemeDescription(QByteArray(bytes))) << bytes;
  }
}

TEST(SchemeColours, StoredColoursAreBlueGreenRed) {
  EXPECT_EQ(startup::ColourFromStored(0x0000FF), QColor(255, 0, 0));
  EXPECT_EQ(startup::ColourFromStored(0xFF0000), QColor(0, 0, 255));
  EXPECT_EQ(startup::ColourFromStored(0x336699), QColor(0x99, 0x66, 0x33));
}

class SchemeOnWindow : public WelcomeTest {
 protected:
  GameFolderBuilder game;

  void withScheme(const QString& name, const RecordWriter& description) {
    GeneralFields f;
    f.gameTitle = "Scheme Game";
    f.schemeName = name;
    game.general(f);
    game.records("Schemes/" + name + "/Scheme.txt", description);
  }
};

TEST_F(SchemeOnWindow, WithoutSchemeFileTheButtonsAreText) {
  GeneralFields f;
  f.schemeName = "Missing";
  game.general(f);
  auto w = load(game);
  for (int i = 0; i < 3; ++i) {
    EXPECT_FALSE(shown(w->Img[i]));
    EXPECT_TRUE(shown(w->lblButton[i]));
  }
  EXPECT_EQ(w->lblButton[0]->text(), "Start");
  EXPECT_EQ(w->lblButton[1]->text(), "  Load...");
  EXPECT_EQ(w->lblButton[2]->text(), "Exit");
}

TEST_F(SchemeOnWindow, PictureButtonsReplaceTextButtonsExceptWhereNone) {
  game.picture("Schemes/Blue/start.bmp", 90, 30, Qt::red);
  game.picture("Schemes/Blue/exit.png", 80, 28, Qt::green);
  RecordWriter w = schemeHead({"start.bmp", "[none]", "EXIT.PNG", "[none]"});
  w.integer(0);
  withScheme("Blue", w);
  auto win = load(game);

  EXPECT_TRUE(shown(win->Img[0]));
  EXPECT_EQ(win->Img[0]->pixmap().size(), QSize(90, 30));
  EXPECT_FALSE(shown(win->lblButton[0]));
  EXPECT_FALSE(shown(win->Img[1]));
  EXPECT_TRUE(shown(win->lblButton[1]));
  EXPECT_EQ(win->lblButton[1]->text(), "  Load...");
  // Found although the scheme names it in another letter case.
  EXPECT_TRUE(shown(win->Img[2]));
  EXPECT_EQ(win->Img[2]->size(), QSize(80, 28));
  EXPECT_FALSE(shown(win->lblButton[2]));
}

TEST_F(SchemeOnWindow, ATextExitButtonStaysInItsPlaceBelowPictureButtons) {
  game.picture("Schemes/Two/start.bmp", 90, 30, Qt::red);
  game.picture("Schemes/Two/load.bmp", 90, 30, Qt::red);
  RecordWriter w = schemeHead({"start.bmp", "load.bmp", "[none]", "[none]"});
  w.integer(0);
  withScheme("Two", w);
  auto win = load(game);
  EXPECT_TRUE(shown(win->Img[1]));
  EXPECT_TRUE(shown(win->lblButton[2]));
  EXPECT_EQ(startup::frmWelcome::twipsGeometry(win->lblButton[2]).y(), 2040);
}

TEST_F(SchemeOnWindow, AMissingOrBrokenPictureFallsBackToTheTextButton) {
  game.file("Schemes/Broken/start.bmp", "this is not a picture");
  RecordWriter w = schemeHead({"start.bmp", "load.bmp", "[none]", "[none]"});
  w.integer(0);
  withScheme("Broken", w);
  auto win = load(game);
  for (int i = 0; i < 3; ++i) {
    EXPECT_FALSE(shown(win->Img[i])) << i;
    EXPECT_TRUE(shown(win->lblButton[i])) << i;
  }
  EXPECT_EQ(dialogs->count(), 0u);
}

TEST_F(SchemeOnWindow, ColoursGoToWindowTitleLabelsAndButtons) {
  RecordWriter w = schemeHead({"[none]", "[none]", "[none]", "[none]"});
  w.integer(4).integer(0x000080).integer(0x00FF00).integer(0xFF0000).integer(0x00FFFF);
  withScheme("Colours", w);
  auto win = load(game);
  EXPECT_EQ(win->backColour(), QColor(0x80, 0, 0));
  EXPECT_EQ(win->txtAdventureName->palette().color(QPalette::WindowText), QColor(0, 0xFF, 0));
  EXPECT_EQ(win->lblResolution->palette().color(QPalette::WindowText), QColor(0, 0, 0xFF));
  EXPECT_EQ(win->txtEmail->palette().color(QPalette::WindowText), QColor(0, 0, 0xFF));
  EXPECT_EQ(win->lblAuthor->palette().color(QPalette::WindowText), QColor(0, 0, 0xFF));
  for (int i = 0; i < 3; ++i) {
    EXPECT_EQ(win->lblButton[i]->palette().color(QPalette::WindowText), QColor(0xFF, 0xFF, 0)) << i;
  }
}

TEST_F(SchemeOnWindow, ColourLevelThreeLeavesTheButtonColourAlone) {
  RecordWriter w = schemeHead({"[none]", "[none]", "[none]", "[none]"});
  w.integer(3).integer(0x000080).integer(0x00FF00).integer(0xFF0000);
  w.str("x").str("x").str("x").integer(1);
  withScheme("Three", w);
  auto win = load(game);
  const QColor designButton = startup::frmWelcome().lblButton[0]->palette().color(QPalette::WindowText);
  EXPECT_EQ(win->lblButton[0]->palette().color(QPalette::WindowText), designButton);
  EXPECT_FALSE(shown(win->txtAdventureName));
}

TEST_F(SchemeOnWindow, BackgroundPictureIsTiledAndTheBackColourIsNotUsed) {
  // A 16 x 12 tile, red with a blue top-left pixel.
  QImage tile(16, 12, QImage::Format_RGB32);
  tile.fill(Qt::red);
  tile.setPixel(0, 0, qRgb(0, 0, 255));
  game.file("Schemes/Tiled/back.png", [&] {
    QByteArray bytes;
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::WriteOnly);
    tile.save(&buffer, "PNG");
    return bytes;
  }());
  RecordWriter w = schemeHead({"[none]", "[none]", "[none]", "back.png"});
  w.integer(3).integer(0x00FF00).integer(0).integer(0);
  withScheme("Tiled", w);
  auto win = load(game);

  EXPECT_FALSE(shown(win->Img[3]));
  EXPECT_EQ(win->backgroundTile().size(), QSize(16, 12));
  EXPECT_NE(win->backColour(), QColor(0, 0xFF, 0));

  // Hide the controls and look at the painted window: the tile repeats in both directions.
  for (QObject* child : win->children()) {
    if (auto* widget = qobject_cast<QWidget*>(child)) widget->hide();
  }
  const QImage painted = win->grab().toImage();
  ASSERT_GE(painted.width(), 64);
  ASSERT_GE(painted.height(), 48);
  for (const QPoint& p : {QPoint(0, 0), QPoint(16, 0), QPoint(0, 12), QPoint(48, 36)}) {
    EXPECT_EQ(QColor(painted.pixel(p)), QColor(0, 0, 255)) << p.x() << "," << p.y();
  }
  EXPECT_EQ(QColor(painted.pixel(QPoint(8, 6))), QColor(255, 0, 0));
  EXPECT_EQ(QColor(painted.pixel(QPoint(17, 13))), QColor(255, 0, 0));
}

TEST_F(SchemeOnWindow, SchemeChoosesTheLogoVariant) {
  RecordWriter w = schemeHead({"[none]", "[none]", "[none]", "[none]"});
  w.integer(3).integer(0).integer(0).integer(0);
  w.str("x").str("x").str("x").integer(0);
  w.str("x").integer(1).boolean(true);
  withScheme("Logo", w);
  auto win = load(game);
  EXPECT_EQ(startup::project().info.logoSelector1, 1);
  EXPECT_TRUE(startup::project().info.logoSelector2);
  EXPECT_EQ(win->logoVariant(), 3);
  EXPECT_EQ(win->imgLogo->pixmap().toImage(), win->imgLogos[3].toImage());
  EXPECT_TRUE(shown(win->txtAdventureName));
}

TEST_F(SchemeOnWindow, OutOfRangeSelectorsKeepTheDesignLogo) {
  RecordWriter w = schemeHead({"[none]", "[none]", "[none]", "[none]"});
  w.integer(3).integer(0).integer(0).integer(0);
  w.str("x").str("x").str("x").integer(0);
  w.str("x").integer(5).boolean(true);
  withScheme("OddLogo", w);
  auto win = load(game);
  EXPECT_EQ(win->logoVariant(), 0);
}

TEST_F(SchemeOnWindow, EmptySchemeNameLooksInTheSchemesFolderItself) {
  game.picture("Schemes/start.bmp", 40, 20, Qt::blue);
  RecordWriter w = schemeHead({"start.bmp"});
  w.integer(0);
  game.records("Schemes/Scheme.txt", w);
  GeneralFields f;
  f.schemeName = "";
  game.general(f);
  auto win = load(game);
  EXPECT_TRUE(shown(win->Img[0]));
  EXPECT_FALSE(shown(win->lblButton[0]));
  EXPECT_TRUE(shown(win->lblButton[1]));
}

TEST_F(SchemeOnWindow, CountZeroKeepsTextButtons) {
  RecordWriter w;
  w.str("a").str("b").str("c").integer(0);
  withScheme("Zero", w);
  auto win = load(game);
  for (int i = 0; i < 3; ++i) EXPECT_TRUE(shown(win->lblButton[i])) << i;
  EXPECT_EQ(win->lblButton[0]->text(), "Start");
}

}  // namespace
}  // namespace qm::testing

namespace qm::testing {
namespace {

TEST_F(SchemeOnWindow, WithoutColoursTheBackgroundPictureIsShownOnceNotTiled) {
  game.picture("Schemes/Plain/back.bmp", 30, 20, Qt::blue);
  RecordWriter w = schemeHead({"[none]", "[none]", "[none]", "back.bmp"});
  w.integer(0);
  withScheme("Plain", w);
  auto win = load(game);
  EXPECT_TRUE(shown(win->Img[3]));
  EXPECT_EQ(win->Img[3]->pos(), QPoint(0, 0));
  EXPECT_TRUE(win->backgroundTile().isNull());
}

}  // namespace
}  // namespace qm::testing
