// The seven sound channels of a game, played on the window's seven media
// players MPlayer(1..7). Frames and hotspot actions store records in the
// channel table (play a file, stop, change the volume, each with or without a
// fade); ApplySoundChannels performs them, and the fades run either on the
// 100 ms TimerAudioFade or in step with a frame transition (AudioFadeStep).
//
// A channel is not tied to one player: a fade-in while the channel's player is
// busy starts the new sound on an idle player and lets the old one fade out,
// and the two channels involved swap players. Only one MIDI tune plays at a
// time. Everything runs on the user-interface thread.
#pragma once

#include <QString>
#include <functional>
#include <optional>
#include <vector>

#include "engine/FrameFile.h"
#include "engine/SoundChannelTable.h"
#include "media/Centibels.h"

namespace qm::startup {
class RecordReader;
}

namespace qm::engine {

class Game;
class MediaPlayerControl;
struct LegacySoundBlock;

class SoundChannels {
 public:
  static constexpr int kPlayers = 7;

  explicit SoundChannels(Game& game);

  // ---- Records --------------------------------------------------------------
  // A frame's records (record n for channel n) fill the channels that have
  // nothing pending; when one of them fades, the frame's fade duration
  // (milliseconds) becomes the fade duration.
  void StoreFrameRecords(const std::vector<FrameSoundRecord>& records, double fadeMilliseconds);
  // A hotspot action's record for channel 1..7 always replaces the pending one.
  void StoreHotspotRecord(int channel, const FrameSoundRecord& record);
  void SetFadeDuration(double seconds) { table_.fadeSeconds = seconds; }
  const SoundChannelTable& table() const { return table_; }
  SoundChannelTable& table() { return table_; }

  // ---- Performing them --------------------------------------------------------
  // Performs the pending records of channels 1 to 7. Records that fade stay
  // pending until AudioFadeStep reaches 1.
  void ApplySoundChannels();
  // Starts the time-driven fade (TimerAudioFade, 100 ms ticks).
  void EnableAudioFade();
  // Sets every fading channel's volumes for a progress f (1 or more finishes).
  void AudioFadeStep(double f);
  // The TimerAudioFade tick.
  void TimerAudioFade_Timer();

  // ---- The players -------------------------------------------------------------
  // Level 0..10 to player volume.
  static media::Centibels ToPlayerVolume(double level) { return media::fromLevel(level); }
  // Music (and videos) play a little below full loudness; single sounds a
  // little louder, so they are heard over the music.
  static constexpr double kMusicLevel = 7;
  static constexpr double kSoundLevel = 8;
  // Index 1..7 of the first player that is not playing; -1 when all play.
  int FindIdlePlayer() const;
  // When the channel's pending file is a MIDI tune, stops every player holding one.
  void StopMidiPlayers(int channel);
  // A player has exactly this file loaded and is playing it.
  bool IsFilePlaying(const QString& nativePath) const;
  // Stops every player that plays sampled audio; MIDI music keeps playing.
  void StopAnyWavOrMP3();
  // Stops all seven players; channel n uses player n again; nothing pending.
  void ResetSoundChannels();
  // Game reset: the fade clock restarts and the audio warning may show again.
  void ClearAudioState();

  // The player that channel 1..7 uses now.
  MediaPlayerControl& ChannelPlayer(int channel) const;
  bool ChannelPlaying(int channel) const;
  void StopChannel(int channel);
  // Stops the channel's player, loads the file and starts it (play count 0 = endless).
  void PlayOnChannel(int channel, const QString& nativePath, int playCount, media::Centibels volume);

  // ---- Older projects ------------------------------------------------------------
  // Reads a legacy sound block at the reader's position and plays it straight on
  // the players of channels 1 to 5; a failure shows the error report.
  void PlaySoundChannels(startup::RecordReader& reader);
  void PlaySoundChannels(const LegacySoundBlock& block);

  // Seconds on a steady clock; tests replace it.
  void setClockForTests(std::function<double()> secondsNow) { clock_ = std::move(secondsNow); }
  bool audioWarningShown() const { return audioWarningShown_; }

 private:
  MediaPlayerControl& player(int index) const;
  // Stop, load, volume, play count, play; throws when the file cannot be played.
  void loadAndPlay(MediaPlayerControl& p, const QString& nativePath, int playCount, media::Centibels volume);
  void setLevel(int playerIndex, double level);
  void showAudioWarningOnce();

  Game& game_;
  SoundChannelTable& table_;  // the game's play state holds it
  std::optional<double> fadeStart_;  // when the running time-driven fade began
  bool audioWarningShown_ = false;
  std::function<double()> clock_;
};

// The path of a channel's sound file (relative to Areas\) after the media
// locator, as a native path; "" for an empty name.
QString locateSoundFile(const QString& fileName);

}  // namespace qm::engine
