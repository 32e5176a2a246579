// Bad media: missing, empty, random, truncated or damaged files fail cleanly or play
// what they hold; the player stays idle, says why, and can load another file after.
#include <gtest/gtest.h>

#include <QDir>
#include <QFile>
#include <QRandomGenerator>

#include "MediaTestSupport.h"
#include "media/MediaPlayer.h"

namespace qm::media {
namespace {

using testing::ManualCapture;

class FailureTest : public ::testing::Test {
 protected:
  void SetUp() override { testing::ensureApplication(); }

  static QByteArray randomBytes(int n, quint32 seed) {
    QRandomGenerator gen(seed);
    QByteArray b(n, '\0');
    for (auto& c : b) c = static_cast<char>(gen.bounded(256));
    return b;
  }

  static QByteArray readAll(const QString& path) {
    QFile f(path);
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
  }

  void expectRefused(const QString& path) {
    MediaPlayer player;
    EXPECT_FALSE(player.setFileName(path));
    EXPECT_FALSE(player.errorString().isEmpty());
    EXPECT_EQ(player.PlayState(), 0);
    EXPECT_FALSE(player.Play());
    EXPECT_EQ(player.PlayState(), 0);
    EXPECT_EQ(player.FileName(), path);
  }

  // Loads (if it can) and plays; the play must end by itself.
  void expectPlaysAndEnds(const QString& path, double atMost) {
    ManualCapture capture;
    MediaPlayer player;
    if (!player.setFileName(path)) {
      EXPECT_FALSE(player.errorString().isEmpty());
      return;
    }
    player.Play();
    const double played = capture.renderWhile([&] { return player.PlayState() == 2; }, atMost + 2.0);
    EXPECT_LE(played, atMost);
    EXPECT_EQ(player.PlayState(), 0);
  }
};

TEST_F(FailureTest, MissingFileIsRefusedWithItsName) {
  const QString path = testing::scratchDir() + "/no-such-sound.223";
  expectRefused(path);
  MediaPlayer player;
  player.setFileName(path);
  EXPECT_TRUE(player.errorString().contains("no-such-sound.223"));
}

TEST_F(FailureTest, EmptyRandomAndFolderPathsAreRefused) {
  expectRefused(testing::writeFile("empty.223", {}));
  expectRefused(testing::writeFile("random.223", randomBytes(4096, 7)));
  expectRefused(testing::writeFile("random.wav", randomBytes(20000, 11)));
  expectRefused(testing::scratchDir());
}

TEST_F(FailureTest, TextAndPlayListsAreNotMedia) {
  // A play list would make the decoder open other files or addresses: refused.
  testing::makeTone("listed.wav", 440, 0.3);
  expectRefused(testing::writeFile("list.223", "#EXTM3U\n#EXT-X-TARGETDURATION:1\n#EXTINF:1,\nlisted.wav\n#EXT-X-ENDLIST\n"));
  expectRefused(testing::writeFile("concat.223", "ffconcat version 1.0\nfile listed.wav\n"));
  expectRefused(testing::writeFile("notes.223", "This is a text file, not a sound.\nIt has two lines.\n"));
}

TEST_F(FailureTest, DamagedMidiIsRefused) {
  expectRefused(testing::writeFile("bad.mid", QByteArray("MThd\x00\x00\x00\x06\x00\x01\x00\x01\x00\x00", 14)));
  expectRefused(testing::writeFile("bad.rmi", QByteArray("RIFF\x10\x00\x00\x00RMIDjunkjunk", 20)));
  expectRefused(testing::writeFile("headonly.mid", QByteArray("MThd", 4)));
}

TEST_F(FailureTest, TruncatedFilesPlayWhatTheyHoldAndEnd) {
  const QString dir = testing::scratchDir();
  ASSERT_TRUE(testing::runFfmpeg({"-f", "lavfi", "-i", "sine=frequency=440:duration=2", "-c:a", "libmp3lame", "-f", "mp3", dir + "/whole.mp3"}));
  ASSERT_TRUE(testing::runFfmpeg({"-f", "lavfi", "-i", "testsrc=size=160x120:rate=25:duration=2", "-f", "lavfi", "-i",
                                  "sine=frequency=440:duration=2", "-c:v", "mpeg1video", "-c:a", "mp2", "-f", "mpeg", dir + "/whole.mpg"}));
  const QString tone = testing::makeTone("whole.wav", 440, 2.0);
  for (const QString& whole : {dir + "/whole.mp3", dir + "/whole.mpg", tone}) {
    const QByteArray bytes = readAll(whole);
    SCOPED_TRACE(whole.toStdString());
    expectPlaysAndEnds(testing::writeFile("half.223", bytes.left(bytes.size() / 2)), 1.8);
    expectPlaysAndEnds(testing::writeFile("header.223", bytes.left(60)), 0.2);
  }
}

TEST_F(FailureTest, GarbageInTheMiddleIsSkippedOrEndsThePlay) {
  const QString dir = testing::scratchDir();
  ASSERT_TRUE(testing::runFfmpeg({"-f", "lavfi", "-i", "testsrc=size=160x120:rate=25:duration=2", "-f", "lavfi", "-i",
                                  "sine=frequency=440:duration=2", "-c:v", "msmpeg4", "-c:a", "libmp3lame", "-f", "avi", dir + "/mid.avi"}));
  QByteArray bytes = readAll(dir + "/mid.avi");
  const QByteArray junk = randomBytes(bytes.size() / 4, 3);
  bytes.replace(bytes.size() / 3, junk.size(), junk);
  expectPlaysAndEnds(testing::writeFile("garbled.223", bytes), 2.5);
}

TEST_F(FailureTest, APlayerThatFailedLoadsTheNextFile) {
  ManualCapture capture;
  MediaPlayer player;
  EXPECT_FALSE(player.setFileName(testing::scratchDir() + "/missing.wav"));
  ASSERT_TRUE(player.setFileName(testing::makeTone("after-failure.wav", 440, 0.3)));
  EXPECT_TRUE(player.errorString().isEmpty());
  EXPECT_TRUE(player.Play());
  EXPECT_NEAR(capture.renderWhile([&] { return player.PlayState() == 2; }, 2.0), 0.3, 0.02);
}

TEST_F(FailureTest, EmptyNameUnloads) {
  MediaPlayer player;
  ASSERT_TRUE(player.setFileName(testing::makeTone("unload.wav", 440, 0.3)));
  EXPECT_TRUE(player.setFileName(QString()));
  EXPECT_FALSE(player.Play());
  EXPECT_EQ(player.PlayState(), 0);
}

}  // namespace
}  // namespace qm::media
