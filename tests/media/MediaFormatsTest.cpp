// Every sound and video format the games use loads (under a name without a telling
// extension, as built games store media), plays to its end, and is heard.
#include <gtest/gtest.h>

#include <QFileInfo>

#include "MediaTestSupport.h"
#include "media/MediaPlayer.h"
#include "media/MediaProbe.h"

namespace qm::media {
namespace {

struct FormatCase {
  const char* name;
  QStringList encode;  // ffmpeg output options
  bool audio;
  bool video;
};

void PrintTo(const FormatCase& c, std::ostream* os) { *os << c.name; }

const QStringList kTone = {"-f", "lavfi", "-i", "sine=frequency=440:duration=1:sample_rate=44100"};
const QStringList kPicture = {"-f", "lavfi", "-i", "testsrc=size=160x120:rate=25:duration=1"};

std::vector<FormatCase> formatCases() {
  return {
      {"wav_pcm16", {"-c:a", "pcm_s16le", "-f", "wav"}, true, false},
      {"wav_adpcm", {"-c:a", "adpcm_ms", "-f", "wav"}, true, false},
      {"wav_u8_11k", {"-ar", "11025", "-c:a", "pcm_u8", "-f", "wav"}, true, false},
      {"mp3", {"-c:a", "libmp3lame", "-f", "mp3"}, true, false},
      {"wma", {"-c:a", "wmav2", "-f", "asf"}, true, false},
      {"ogg", {"-c:a", "libvorbis", "-f", "ogg"}, true, false},
      {"au", {"-c:a", "pcm_s16be", "-f", "au"}, true, false},
      {"snd_mulaw_8k", {"-ar", "8000", "-c:a", "pcm_mulaw", "-f", "au"}, true, false},
      {"mpa_mp2", {"-c:a", "mp2", "-f", "mp2"}, true, false},
      {"asf_wmv1", {"-c:v", "wmv1", "-c:a", "wmav2", "-f", "asf"}, true, true},
      {"wmv_wmv2", {"-c:v", "wmv2", "-c:a", "wmav2", "-f", "asf"}, true, true},
      {"avi_cinepak", {"-c:v", "cinepak", "-c:a", "pcm_u8", "-f", "avi"}, true, true},
      {"avi_msmpeg4", {"-c:v", "msmpeg4", "-c:a", "libmp3lame", "-f", "avi"}, true, true},
      {"mpg_mpeg1", {"-c:v", "mpeg1video", "-c:a", "mp2", "-f", "mpeg"}, true, true},
      {"mpe_mpeg2", {"-c:v", "mpeg2video", "-c:a", "mp2", "-f", "vob"}, true, true},
      {"m1v_raw", {"-c:v", "mpeg1video", "-f", "mpeg1video"}, false, true},
  };
}

class FormatTest : public ::testing::TestWithParam<FormatCase> {
 protected:
  void SetUp() override { testing::ensureApplication(); }

  // The file, generated once, under a numeric extension.
  QString file() {
    const FormatCase& c = GetParam();
    const QString path = testing::scratchDir() + "/" + c.name + ".223";
    if (QFileInfo::exists(path)) return path;
    QStringList args;
    if (c.video) args += kPicture;
    if (c.audio) args += kTone;
    args += c.encode;
    args += path;
    QString log;
    EXPECT_TRUE(testing::runFfmpeg(args, &log)) << log.toStdString();
    return path;
  }
};

TEST_P(FormatTest, PlaysOnceToItsEndAndIsHeard) {
  const QString path = file();
  testing::ManualCapture capture;
  MediaPlayer player;
  ASSERT_TRUE(player.setFileName(path)) << player.errorString().toStdString();
  EXPECT_EQ(player.hasVideo(), GetParam().video);
  player.setPlayCount(1);
  ASSERT_TRUE(player.Play());
  const double played = capture.renderWhile([&] { return player.PlayState() == 2; }, 5.0);
  EXPECT_NEAR(played, 1.0, 0.12);
  EXPECT_TRUE(player.errorString().isEmpty()) << player.errorString().toStdString();
  const auto wav = capture.finish();
  if (GetParam().audio) {
    EXPECT_GT(wav.toneLevel(440, 0.2, 0.8), 0.08);
    EXPECT_LT(wav.toneLevel(1000, 0.2, 0.8), 0.01);
  } else {
    EXPECT_LT(wav.peak(0, wav.seconds()), 1e-6);
  }
}

TEST_P(FormatTest, InformationMatchesTheFile) {
  QString error;
  const auto info = probeMedia(file(), &error);
  ASSERT_TRUE(info) << error.toStdString();
  EXPECT_NEAR(info->duration, 1.0, 0.12);
  EXPECT_EQ(info->channels > 0, GetParam().audio);
  if (GetParam().video) {
    EXPECT_EQ(info->video, QSize(160, 120));
    EXPECT_NEAR(static_cast<double>(info->frames), 25.0, 1.0);
  } else {
    EXPECT_FALSE(info->video.isValid());
  }
}

INSTANTIATE_TEST_SUITE_P(Formats, FormatTest, ::testing::ValuesIn(formatCases()),
                         [](const ::testing::TestParamInfo<FormatCase>& i) { return std::string(i.param.name); });

}  // namespace
}  // namespace qm::media
