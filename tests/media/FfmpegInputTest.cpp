// Opening media files: a file whose first bytes name its container is read by that
// container's reader alone, without trying every reader on its start; others are
// still recognised from their content.
#include "media/FfmpegInput.h"

#include <gtest/gtest.h>

#include "MediaTestSupport.h"

extern "C" {
#include <libavformat/avformat.h>
}

namespace qm::media {
namespace {

struct Opened {
  AVFormatContext* format = nullptr;
  ~Opened() { avformat_close_input(&format); }
};

TEST(FfmpegInputTest, AWavHeaderPicksTheWavReaderWithoutProbing) {
  testing::ensureApplication();
  Opened in;
  QString error;
  ASSERT_EQ(openMediaInput(testing::makeTone("probe.223", 440, 0.2), &in.format, &error), 0) << error.toStdString();
  EXPECT_STREQ(in.format->iformat->name, "wav");
  EXPECT_EQ(in.format->probe_score, 0) << "the start of the file was probed";
  EXPECT_NEAR(static_cast<double>(in.format->duration) / AV_TIME_BASE, 0.2, 0.01);
}

TEST(FfmpegInputTest, OtherFilesAreRecognisedFromTheirContent) {
  testing::ensureApplication();
  const QString mp3 = testing::scratchDir() + QStringLiteral("/tone.mus");
  ASSERT_TRUE(testing::runFfmpeg({"-f", "lavfi", "-i", "sine=frequency=440:duration=0.5", "-c:a", "libmp3lame", "-f", "mp3", mp3}));
  Opened in;
  QString error;
  ASSERT_EQ(openMediaInput(mp3, &in.format, &error), 0) << error.toStdString();
  EXPECT_STREQ(in.format->iformat->name, "mp3");
  EXPECT_GT(in.format->probe_score, 0);
}

}  // namespace
}  // namespace qm::media
