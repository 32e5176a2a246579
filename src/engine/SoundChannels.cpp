#include "engine/SoundChannels.h"

#include <stdexcept>

#include "engine/Game.h"
#include "engine/LegacySoundBlock.h"
#include "media/MediaOpener.h"
#include "platform/Clock.h"
#include "platform/DialogService.h"
#include "platform/FileResolver.h"
#include "startup/ErrorReport.h"
#include "startup/MediaFiles.h"
#include "startup/Project.h"
#include "startup/RecordReader.h"

namespace qm::engine {

namespace {

constexpr int kFadeTickMs = 100;

// A player operation that failed; ends the application of the records.
struct PlayerFailure : std::runtime_error {
  using std::runtime_error::runtime_error;
};

QString extensionOf(const QString& path) {
  const int dot = path.lastIndexOf('.');
  const int slash = std::max(path.lastIndexOf('/'), path.lastIndexOf('\\'));
  return dot > slash ? path.mid(dot + 1).toLower() : QString();
}

// Built projects store media under numbered extensions ("theme.011"): what
// such a file holds is told by its first bytes instead of its name.
bool hasStoredName(const QString& path) {
  const QString ext = extensionOf(path);
  if (ext.size() != 3) return false;
  for (QChar c : ext)
    if (!c.isDigit()) return false;
  return true;
}

// `contentPath` is where the file lies when `path` is only its name in the game.
bool isMidiFile(const QString& path, const QString& contentPath) {
  if (path.size() <= 4) return false;
  if (path.right(3).toLower() == QLatin1String("mid")) return true;
  return hasStoredName(path) && media::detectMediaKind(contentPath) == media::MediaKind::Midi;
}

// Sampled audio: what StopAnyWavOrMP3 stops.
bool isSampledAudioFile(const QString& path) {
  static const QStringList kSampled = {"wav", "mp3", "wma", "ogg", "au", "snd", "rmi", "mpa", "mp2", "wm", "asf"};
  if (path.size() <= 4) return false;
  if (kSampled.contains(extensionOf(path))) return true;
  return hasStoredName(path) && media::detectMediaKind(path) == media::MediaKind::Other;
}

// Fades follow the game clock (virtual time in walkthroughs at machine speed).
double steadySeconds() { return static_cast<double>(platform::Clock::instance().nsecs()) / 1e9; }

const char* const kAudioProblemText =
    "WARNING: Another program may be using the audio hardware resources, an audio file may be damaged, or your "
    "audio drivers may be unable to play at the same time an audio file and the audio track of a video file. "
    "Although this error can be safely ignored, it may result in some sound files not being played. It is "
    "recommended that you close all the other Windows applications that are running, and that you restart the "
    "program.";

}  // namespace

QString locateSoundFile(const QString& fileName) {
  if (fileName.isEmpty()) return {};
  return startup::locatedMedia(startup::project().paths.areas, fileName);
}

SoundChannels::SoundChannels(Game& game) : game_(game), table_(game.state().channelTable), clock_(steadySeconds) {
  game_.TimerAudioFade.setInterval(kFadeTickMs);
  game_.TimerAudioFade.setEnabled(false);
  game_.TimerAudioFade.onTimer = [this] { TimerAudioFade_Timer(); };
}

MediaPlayerControl& SoundChannels::player(int index) const { return game_.MPlayer[index]; }

MediaPlayerControl& SoundChannels::ChannelPlayer(int channel) const {
  return player(table_.channel(channel).player);
}

// ---- Records ------------------------------------------------------------------

void SoundChannels::StoreFrameRecords(const std::vector<FrameSoundRecord>& records, double fadeMilliseconds) {
  if (table_.applyFrameRecords(records)) table_.fadeSeconds = fadeMilliseconds / 1000.0;
}

void SoundChannels::StoreHotspotRecord(int channel, const FrameSoundRecord& record) {
  table_.storeHotspotRecord(channel, record);
}

// ---- Performing them --------------------------------------------------------------

void SoundChannels::ApplySoundChannels() {
  for (int c = 1; c <= SoundChannelTable::kChannels; ++c) {
    SoundChannel& ch = table_.channel(c);
    try {
      MediaPlayerControl& p = player(ch.player);
      if (ch.fade) {
        const QString file = locateSoundFile(ch.soundFile);
        if (file.isEmpty() || !platform::fileExists(file)) {
          // Still pending: the fade moves a stop or a volume change.
          ch.soundFile.clear();
          continue;
        }
        StopMidiPlayers(c);
        const int q = p.playState() == 2 ? FindIdlePlayer() : -1;
        if (q > 0) {
          // Cross-fade: the new sound comes in on an idle player while the
          // old one fades out; the channel that had that player takes ours.
          const int old = ch.player;
          ch.previousPlayer = old;
          ch.player = q;
          loadAndPlay(player(q), file, ch.loop ? 0 : 1, ToPlayerVolume(0));
          for (int other = 1; other <= SoundChannelTable::kChannels; ++other)
            if (other != c && table_.channel(other).player == q) table_.channel(other).player = old;
          continue;
        }
        ch.previousPlayer = 0;
        loadAndPlay(p, file, ch.loop ? 0 : 1, ToPlayerVolume(0));
        continue;  // the fade-in is still to come
      }

      if (ch.action == 3) p.stop();
      const QString file = locateSoundFile(ch.soundFile);
      if (!file.isEmpty() && platform::fileExists(file)) {
        if (!(ch.keepIfPlaying && IsFilePlaying(file))) {
          StopMidiPlayers(c);
          loadAndPlay(p, file, ch.loop ? 0 : 1, ToPlayerVolume(ch.targetVolume));
        }
      }
      if (ch.action == 4) p.setVolume(ToPlayerVolume(ch.targetVolume));
      ch.action = 0;
      ch.soundFile.clear();
      ch.previousPlayer = 0;
    } catch (const std::exception&) {
      // The channel's record is dropped so that it cannot block the channels
      // after it at every later application; the others still play.
      ch.action = 0;
      ch.fade = false;
      ch.soundFile.clear();
      ch.previousPlayer = 0;
      showAudioWarningOnce();
    }
  }
  fadeStart_.reset();
}

void SoundChannels::showAudioWarningOnce() {
  if (startup::GameStopped() || audioWarningShown_) return;
  audioWarningShown_ = true;
  platform::messageBox(QString::fromLatin1(kAudioProblemText) +
                           QStringLiteral("\r\n\r\nThis message will not reappear until you restart the program."),
                       platform::MsgButtons::OK, platform::MsgIcon::Warning, QStringLiteral("AUDIO PROBLEM"));
}

void SoundChannels::EnableAudioFade() { game_.TimerAudioFade.setEnabled(true); }

void SoundChannels::TimerAudioFade_Timer() {
  const double now = clock_();
  if (!fadeStart_) {
    fadeStart_ = now;
    return;
  }
  const double elapsed = now - *fadeStart_;
  if (elapsed < 0 || elapsed >= table_.fadeSeconds) {
    AudioFadeStep(1);
    game_.TimerAudioFade.setEnabled(false);
  } else {
    AudioFadeStep(elapsed / table_.fadeSeconds);
  }
}

void SoundChannels::setLevel(int playerIndex, double level) {
  if (game_.MPlayer.exists(playerIndex)) player(playerIndex).setVolume(ToPlayerVolume(level));
}

void SoundChannels::AudioFadeStep(double f) {
  bool fading = false;
  for (int c = 1; c <= SoundChannelTable::kChannels; ++c) {
    SoundChannel& ch = table_.channel(c);
    if (ch.fade) {
      fading = true;
      if (f < 1) {
        if (ch.action == 3) setLevel(ch.player, (1 - f) * ch.startVolume);
        if (ch.action == 4) setLevel(ch.player, ch.startVolume + f * (ch.targetVolume - ch.startVolume));
        if (!ch.soundFile.isEmpty()) {
          setLevel(ch.player, f * ch.targetVolume);
          if (ch.previousPlayer != 0) setLevel(ch.previousPlayer, (1 - f) * ch.startVolume);
        }
      } else {
        if (ch.action == 3) player(ch.player).stop();
        if (ch.action == 4) setLevel(ch.player, ch.targetVolume);
        if (!ch.soundFile.isEmpty()) {
          setLevel(ch.player, ch.targetVolume);
          if (ch.previousPlayer != 0 && game_.MPlayer.exists(ch.previousPlayer)) player(ch.previousPlayer).stop();
        }
        ch.action = 0;
        ch.soundFile.clear();
        ch.previousPlayer = 0;
        ch.fade = false;
      }
    } else if (f >= 1) {
      ch.action = 0;
      ch.soundFile.clear();
      ch.previousPlayer = 0;
    }
  }
  if (f < 1 && fading) return;
  game_.TimerAudioFade.setEnabled(false);
}

// ---- The players -------------------------------------------------------------------

void SoundChannels::loadAndPlay(MediaPlayerControl& p, const QString& nativePath, int playCount,
                                media::Centibels volume) {
  p.stop();
  p.setFileName(nativePath);
  if (!p.errorString().isEmpty()) throw PlayerFailure(p.errorString().toStdString());
  p.setVolume(volume);
  p.setPlayCount(playCount);
  p.play();
  if (!p.errorString().isEmpty()) throw PlayerFailure(p.errorString().toStdString());
}

int SoundChannels::FindIdlePlayer() const {
  for (int i = 1; i <= kPlayers; ++i)
    if (player(i).playState() != 2) return i;
  return -1;
}

void SoundChannels::StopMidiPlayers(int channel) {
  const QString& file = table_.channel(channel).soundFile;
  if (!isMidiFile(file, hasStoredName(file) ? locateSoundFile(file) : file)) return;
  for (int i = 1; i <= kPlayers; ++i)
    if (isMidiFile(player(i).fileName(), player(i).fileName())) player(i).stop();
}

bool SoundChannels::IsFilePlaying(const QString& nativePath) const {
  for (int i = 1; i <= kPlayers; ++i)
    if (player(i).fileName() == nativePath && player(i).playState() == 2) return true;
  return false;
}

void SoundChannels::StopAnyWavOrMP3() {
  for (int i = 1; i <= kPlayers; ++i) {
    MediaPlayerControl& p = player(i);
    if (p.playState() == 2 && isSampledAudioFile(p.fileName())) p.stop();
  }
}

void SoundChannels::ResetSoundChannels() {
  for (int i = 1; i <= kPlayers; ++i)
    if (game_.MPlayer.exists(i)) player(i).stop();
  table_.reset();
}

void SoundChannels::ClearAudioState() {
  fadeStart_.reset();
  audioWarningShown_ = false;
}

bool SoundChannels::ChannelPlaying(int channel) const { return ChannelPlayer(channel).playState() == 2; }

void SoundChannels::StopChannel(int channel) { ChannelPlayer(channel).stop(); }

void SoundChannels::PlayOnChannel(int channel, const QString& nativePath, int playCount, media::Centibels volume) {
  try {
    loadAndPlay(ChannelPlayer(channel), nativePath, playCount, volume);
  } catch (const PlayerFailure&) {
    // A damaged music or sound file stays silent; the game goes on.
  }
}

// ---- Older projects --------------------------------------------------------------------

void SoundChannels::PlaySoundChannels(startup::RecordReader& reader) { PlaySoundChannels(readLegacySoundBlock(reader)); }

void SoundChannels::PlaySoundChannels(const LegacySoundBlock& block) {
  int channel = 0;
  try {
    for (const LegacyChannelEntry& entry : block.entries) {
      ++channel;
      MediaPlayerControl& p = ChannelPlayer(channel);
      if (entry.stop) p.stop();
      if (entry.play && !entry.soundFile.isEmpty())
        loadAndPlay(p, locateSoundFile(entry.soundFile), entry.loop ? 0 : 1, ToPlayerVolume(kSoundLevel));
    }
    if (!block.error) return;
  } catch (const std::exception&) {
  }
  startup::ShowStandardErrorReport(QStringLiteral(" Unable to load old sound system information."));
}

}  // namespace qm::engine
