// Building the hotspot controls of a frame and showing them by the rules.
#include <gtest/gtest.h>

#include "LogicGameFixture.h"

namespace qm::testing {
namespace {

class HotspotLoadingTest : public LogicGameFixture {};

TEST_F(HotspotLoadingTest, PlainHotspotIsShrunkBy30TwipsOnEverySide) {
  GameFolderBuilder folder;
  basicGame(folder);
  HotspotSpec a;
  a.x = 1500; a.y = 3000; a.w = 600; a.h = 450;
  HotspotSpec thin;
  thin.w = 50; thin.h = 50;
  frame(folder, "Hall", {a, thin});
  auto& g = startGame(folder);
  ASSERT_TRUE(g.Area.exists(2));
  EXPECT_EQ(g.Area[1].left(), 1530);
  EXPECT_EQ(g.Area[1].top(), 3030);
  EXPECT_EQ(g.Area[1].width(), 540);
  EXPECT_EQ(g.Area[1].height(), 390);
  EXPECT_LT(g.Area[2].width(), 15);  // 1 twip: less than a pixel
  EXPECT_TRUE(shown(1));
  EXPECT_TRUE(shown(2));
  EXPECT_EQ(boxCount(), 0u) << allMessages().toStdString();
}

TEST_F(HotspotLoadingTest, PictureStretchAndCursor) {
  GameFolderBuilder folder;
  basicGame(folder);
  folder.picture("Areas/door.png", 20, 10, Qt::red);
  folder.file("Icons/hand.cur", QByteArray());
  HotspotSpec stretched;
  stretched.hasPicture = true; stretched.pictureFile = "door.png"; stretched.stretch = 1; stretched.cursor = "hand.cur";
  HotspotSpec ownSize = stretched;
  ownSize.stretch = 0; ownSize.cursor = "DEFAULT";
  frame(folder, "Hall", {stretched, ownSize});
  auto& g = startGame(folder);
  EXPECT_TRUE(g.Area[1].stretch());
  EXPECT_TRUE(g.Area[1].hasPicture());
  EXPECT_EQ(g.Area[1].width(), 1440);
  EXPECT_EQ(g.Area[1].mousePointer(), engine::kPointerCustom);
  EXPECT_FALSE(g.Area[2].stretch());
  EXPECT_EQ(g.Area[2].width(), 20 * 15);  // the picture's own size
  EXPECT_NE(g.Area[2].mousePointer(), engine::kPointerCustom);
}

TEST_F(HotspotLoadingTest, MergedFileIsPreferredAndSetsTheMergedIndex) {
  GameFolderBuilder folder;
  basicGame(folder);
  frame(folder, "Hall", {HotspotSpec{}});
  HotspotSpec own, merged;
  merged.mergedMark = 1;
  folder.file("FramesData/Hall.mr2", hotspotFileBytes({own, own, merged, merged}));
  auto& g = startGame(folder);
  EXPECT_TRUE(g.Area.exists(4));
  EXPECT_EQ(logic().MergedHotspotIndex(), 3);
}

TEST_F(HotspotLoadingTest, VideoHotspotGetsItsPlayer) {
  GameFolderBuilder folder;
  basicGame(folder);
  HotspotSpec v;
  v.x = 300; v.y = 300; v.w = 1500; v.h = 900;
  v.hasVideo = true; v.videoFile = "clip.avi"; v.videoSize = 1; v.videoVolume = 8; v.videoRate = 0; v.videoPlayCount = 2;
  frame(folder, "Hall", {v});
  auto& g = startGame(folder);
  ASSERT_TRUE(g.VideoPlayer.exists(1));
  const auto& p = g.VideoPlayer[1];
  EXPECT_EQ(g.Area[1].whatsThisHelpId(), -1);
  EXPECT_EQ(p.left(), 330);
  EXPECT_EQ(p.width(), 1440);
  EXPECT_FALSE(p.autoSize());
  EXPECT_EQ(p.volume(), -800);
  EXPECT_EQ(p.rate(), 1.0);
  EXPECT_EQ(p.playCount(), 2);
  EXPECT_TRUE(p.visible());
  EXPECT_EQ(messagesContaining("clip.avi"), 1u);  // the missing-file warning
}

TEST_F(HotspotLoadingTest, AnimatedHotspotStandsInABoxAndItsAreaIsTiny) {
  GameFolderBuilder folder;
  basicGame(folder, {"off"});
  folder.picture("Areas/bird.png", 8, 8, Qt::blue);
  HotspotSpec a;
  a.pictureKind = 1; a.hasPicture = true; a.pictureFile = "bird.png"; a.x = 600; a.y = 900;
  a.useConditions = 1; a.mustBeTrue = {"off"};
  frame(folder, "Hall", {HotspotSpec{}, a});
  auto& g = startGame(folder);
  const int link = g.Area[2].whatsThisHelpId();
  ASSERT_GT(link, 0);
  EXPECT_EQ(g.Area[2].width(), 15);
  ASSERT_TRUE(g.AniGifBox.exists(link));
  EXPECT_EQ(g.AniGifBox[link].left(), 630);
  EXPECT_FALSE(g.AniGifBox[link].visible());  // "off" is 0, list B wants 1
  logic().ChangeVariableValue("off", 1);
  logic().ShowOrNotShowAreas();
  EXPECT_TRUE(g.AniGifBox[link].visible());
}

// Notes what the visibility pass asks of a hotspot's video player.
struct PlayerLog : engine::MediaBackend {
  QStringList* log;
  int state = 0;
  explicit PlayerLog(QStringList* l) : log(l) {}
  void open(const QString&) override {}
  void play() override { *log << "play", state = 2; }
  void stop() override { *log << "stop", state = 0; }
  int playState() const override { return state; }
  void setVolume(int) override {}
  void setPlayCount(int) override {}
  void setRate(double) override {}
  double currentPosition() const override { return 0; }
  void setCurrentPosition(double s) override { *log << QString("rewind %1").arg(s); }
};

TEST_F(HotspotLoadingTest, VideoHotspotRestartsOnlyWhenItBecomesVisible) {
  GameFolderBuilder folder;
  basicGame(folder, {"tv"});
  HotspotSpec v;
  v.hasVideo = true; v.videoFile = "news.avi";
  v.useConditions = 1; v.mustBeTrue = {"tv"};
  frame(folder, "Hall", {v});
  auto& g = startGame(folder);
  QStringList log;
  g.VideoPlayer[1].attachBackend(std::make_unique<PlayerLog>(&log));
  EXPECT_FALSE(g.VideoPlayer[1].visible());
  logic().ChangeVariableValue("tv", 1);
  logic().ShowOrNotShowAreas();
  EXPECT_EQ(log, (QStringList{"rewind 0", "play"}));
  EXPECT_TRUE(g.VideoPlayer[1].visible());
  logic().ShowOrNotShowAreas();  // stays visible: keeps playing, not rewound
  EXPECT_EQ(log.size(), 2);
  logic().ChangeVariableValue("tv", 0);
  logic().ShowOrNotShowAreas();
  EXPECT_EQ(log.last(), "stop");
  EXPECT_FALSE(g.VideoPlayer[1].visible());
}

TEST_F(HotspotLoadingTest, FrameChangeRemovesEveryHotspotControl) {
  GameFolderBuilder folder;
  basicGame(folder);
  HotspotSpec v;
  v.hasVideo = true;
  frame(folder, "Hall", {HotspotSpec{}, v, HotspotSpec{}});
  frame(folder, "Empty");
  auto& g = startGame(folder);
  ASSERT_EQ(g.Area.UBound(), 3);
  g.OpenFrame("Empty", false, 0, 0);
  EXPECT_EQ(g.Area.UBound(), 0);
  EXPECT_EQ(g.VideoPlayer.UBound(), 0);
  EXPECT_EQ(g.AniGif.UBound(), 0);
  EXPECT_EQ(g.AniGifBox.UBound(), 0);
}

TEST_F(HotspotLoadingTest, ConditionsFollowTheVariables) {
  GameFolderBuilder folder;
  basicGame(folder, {"door", "lamp"});
  HotspotSpec closed;  // shown while door is 0
  closed.useConditions = 1; closed.mustBeFalse = {"door"};
  HotspotSpec open;  // shown while door is 1 and lamp 0
  open.useConditions = 1; open.mustBeTrue = {"door"}; open.mustBeFalse = {"lamp"};
  HotspotSpec ignored = open;
  ignored.useConditions = 0;
  frame(folder, "Hall", {closed, open, ignored});
  startGame(folder);
  EXPECT_TRUE(shown(1));
  EXPECT_FALSE(shown(2));
  EXPECT_TRUE(shown(3));
  logic().ChangeVariableValue("door", 1);
  logic().ShowOrNotShowAreas();
  EXPECT_FALSE(shown(1));
  EXPECT_TRUE(shown(2));
  logic().ShowOrNotShowAreas();
  EXPECT_TRUE(shown(2));
}

TEST_F(HotspotLoadingTest, MalformedHotspotFileReportsAndTheGameGoesOn) {
  GameFolderBuilder folder;
  basicGame(folder);
  QByteArray bytes = hotspotFileBytes({HotspotSpec{}, HotspotSpec{}});
  bytes.replace(bytes.lastIndexOf("1500"), 4, "\"wide\"");  // a text where a number belongs
  folder.file("FramesData/Hall.fm2", bytes);
  folder.file("Frames/Hall.fme", frameFileBytes(FrameSpec{}));
  auto& g = startGame(folder);
  EXPECT_EQ(messagesContaining(" Unable to load hotspot #2. "), 1u) << allMessages().toStdString();
  EXPECT_TRUE(g.Area.exists(1));
  EXPECT_TRUE(g.Area.exists(2));
  EXPECT_TRUE(shown(1));
  EXPECT_EQ(frameName(), "Hall");
}

TEST_F(HotspotLoadingTest, FrameWithoutHotspotFileHasNoHotspots) {
  GameFolderBuilder folder;
  basicGame(folder);
  frame(folder, "Hall");
  auto& g = startGame(folder);
  EXPECT_EQ(g.Area.UBound(), 0);
  EXPECT_EQ(boxCount(), 0u);
}

}  // namespace
}  // namespace qm::testing

namespace qm::testing {
namespace {

// Every hotspot is a sibling widget of the window, and the toolkit paints
// overlapping siblings recursively: 30,000 of them overflowed the stack.
TEST_F(HotspotLoadingTest, AFrameHoldsAtMostTenThousandHotspots) {
  GameFolderBuilder folder;
  basicGame(folder);
  HotspotSpec spot;
  spot.x = 100; spot.y = 100; spot.w = 600; spot.h = 600;
  frame(folder, "Hall", std::vector<HotspotSpec>(30000, spot));
  auto& g = startGame(folder);
  EXPECT_TRUE(g.Area.exists(10000));
  EXPECT_FALSE(g.Area.exists(10001));
  EXPECT_EQ(messagesContaining("Too many hotspots in this frame: only the first 10000 are loaded."), 1u);
  g.show();
  EXPECT_FALSE(g.grab().isNull());  // painting all of them overlapping
}

}  // namespace
}  // namespace qm::testing
