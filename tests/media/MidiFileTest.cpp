// Reading MIDI files: times through the tempo map, running status, the RIFF wrapping,
// the end of the music against the end-of-track mark, and damaged files.
#include <gtest/gtest.h>

#include "MediaTestSupport.h"
#include "media/MidiFile.h"

namespace qm::media {
namespace {

QByteArray bytes(std::initializer_list<int> list) {
  QByteArray b;
  for (int v : list) b.append(static_cast<char>(v));
  return b;
}

QByteArray smf(int division, const QList<QByteArray>& tracks, int format = 1) {
  QByteArray b = "MThd" + bytes({0, 0, 0, 6, 0, format, 0, static_cast<int>(tracks.size()), (division >> 8) & 0xff, division & 0xff});
  for (const auto& t : tracks) {
    const auto n = t.size();
    b += "MTrk" + bytes({static_cast<int>((n >> 24) & 0xff), static_cast<int>((n >> 16) & 0xff), static_cast<int>((n >> 8) & 0xff), static_cast<int>(n & 0xff)}) + t;
  }
  return b;
}

TEST(MidiFileTest, TempoChangesRetimeTheFollowingEvents) {
  // 100 ticks a beat; 120 bpm (0.5 s a beat) for one beat, then 60 bpm (1 s a beat).
  const QByteArray track = bytes({0x00, 0x90, 60, 100,
                                  0x64, 0xFF, 0x51, 0x03, 0x0F, 0x42, 0x40,  // at beat 1: 1,000,000 us a beat
                                  0x00, 0x80, 60, 0,
                                  0x64, 0x90, 62, 100,                       // one more beat: +1 s
                                  0x00, 0xFF, 0x2F, 0x00});
  QString error;
  const auto song = parseMidi(smf(100, {track}, 0), &error);
  ASSERT_TRUE(song) << error.toStdString();
  ASSERT_EQ(song->events.size(), 3u);
  EXPECT_DOUBLE_EQ(song->events[0].seconds, 0.0);
  EXPECT_DOUBLE_EQ(song->events[1].seconds, 0.5);
  EXPECT_DOUBLE_EQ(song->events[2].seconds, 1.5);
  EXPECT_DOUBLE_EQ(song->lastEventTime, 1.5);
}

TEST(MidiFileTest, RunningStatusRepeatsTheLastStatus) {
  const QByteArray track = bytes({0x00, 0x90, 60, 100, 0x10, 62, 100, 0x10, 64, 0, 0x00, 0xFF, 0x2F, 0x00});
  const auto song = parseMidi(smf(96, {track}), nullptr);
  ASSERT_TRUE(song);
  ASSERT_EQ(song->events.size(), 3u);
  EXPECT_EQ(song->events[2].status, 0x90);
  EXPECT_EQ(song->events[2].data1, 64);
  EXPECT_EQ(song->events[2].data2, 0);
}

TEST(MidiFileTest, TracksMergeInTimeOrder) {
  const QByteArray a = bytes({0x00, 0x90, 60, 100, 0x60, 0x80, 60, 0, 0x00, 0xFF, 0x2F, 0x00});
  const QByteArray b = bytes({0x30, 0x91, 64, 100, 0x00, 0xFF, 0x2F, 0x00});
  const auto song = parseMidi(smf(96, {a, b}), nullptr);
  ASSERT_TRUE(song);
  ASSERT_EQ(song->events.size(), 3u);
  EXPECT_EQ(song->events[1].status, 0x91);
  EXPECT_DOUBLE_EQ(song->events[1].seconds, 0.25);
}

TEST(MidiFileTest, EndOfTrackMarkIsKeptApartFromTheLastNote) {
  const auto song = parseMidi(testing::makeMidiBytes({{0.0, 0.5}}, 10.0), nullptr);
  ASSERT_TRUE(song);
  EXPECT_NEAR(song->lastEventTime, 0.5, 1e-6);
  EXPECT_NEAR(song->endOfTrackTime, 10.0, 1e-6);
}

TEST(MidiFileTest, RiffWrappingIsUnwrapped) {
  const auto plain = parseMidi(testing::makeMidiBytes({{0.0, 0.5}, {0.5, 0.25, 64}}), nullptr);
  const QByteArray riff = testing::makeMidiBytes({{0.0, 0.5}, {0.5, 0.25, 64}}, 0.0, true);
  EXPECT_TRUE(looksLikeMidi(riff));
  const auto wrapped = parseMidi(riff, nullptr);
  ASSERT_TRUE(plain && wrapped);
  EXPECT_TRUE(wrapped->wrappedInRiff);
  EXPECT_EQ(wrapped->events.size(), plain->events.size());
  EXPECT_DOUBLE_EQ(wrapped->lastEventTime, plain->lastEventTime);
}

// A chunk that claims nearly 4 GiB once made the chunk walk stand still for ever.
TEST(MidiFileTest, RiffChunkOfNearlyFourGibibytesEndsTheWalk) {
  QByteArray riff("RIFF\x00\x00\x00\x06RMID", 12);
  riff += QByteArray("junk\xf8\xff\xff\xff", 8);
  riff += QByteArray(32, '\xff');
  QString why;
  EXPECT_FALSE(parseMidi(riff, &why));
}

TEST(MidiFileTest, SmpteDivisionCountsTicksPerSecond) {
  // 25 frames a second, 40 ticks a frame: 1000 ticks a second.
  const QByteArray track = bytes({0x00, 0x90, 60, 100, 0x87, 0x68, 0x80, 60, 0, 0x00, 0xFF, 0x2F, 0x00});  // 1000 ticks later
  const auto song = parseMidi(smf((0xE7 << 8) | 40, {track}), nullptr);
  ASSERT_TRUE(song);
  EXPECT_NEAR(song->lastEventTime, 1.0, 1e-9);
}

TEST(MidiFileTest, SysexIsKeptWithoutItsFraming) {
  const QByteArray track = bytes({0x00, 0xF0, 0x05, 0x7E, 0x7F, 0x09, 0x01, 0xF7, 0x00, 0x90, 60, 1, 0x00, 0xFF, 0x2F, 0x00});
  const auto song = parseMidi(smf(96, {track}), nullptr);
  ASSERT_TRUE(song);
  ASSERT_EQ(song->events.size(), 2u);
  EXPECT_EQ(song->events[0].status, 0xF0);
  EXPECT_EQ(song->events[0].sysex, (std::vector<std::uint8_t>{0x7E, 0x7F, 0x09, 0x01}));
}

TEST(MidiFileTest, TrackCutShortKeepsWhatCameBefore) {
  QByteArray file = smf(96, {bytes({0x00, 0x90, 60, 100, 0x60, 0x80, 60, 0, 0x00, 0xFF, 0x2F, 0x00})});
  file.chop(6);  // the note-off's last byte and the end-of-track mark are gone
  const auto song = parseMidi(file, nullptr);
  ASSERT_TRUE(song);
  EXPECT_EQ(song->events.size(), 1u);
}

TEST(MidiFileTest, NonMidiIsRefusedWithAReason) {
  QString error;
  EXPECT_FALSE(parseMidi("RIFF\x04\x00\x00\x00WAVE", &error));
  EXPECT_FALSE(error.isEmpty());
  EXPECT_FALSE(parseMidi(QByteArray(), &error));
  EXPECT_FALSE(parseMidi(bytes({'M', 'T', 'h', 'd', 0, 0, 0, 6, 0, 1, 0, 1, 0, 0}), &error));  // no time division
  EXPECT_FALSE(parseMidi(bytes({'M', 'T', 'h', 'd', 0x7f, 0, 0, 6, 0, 1, 0, 1, 0, 96}), &error));  // header longer than the file
  EXPECT_FALSE(looksLikeMidi("ID3\x04"));
}

}  // namespace
}  // namespace qm::media
