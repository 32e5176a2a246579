#include "media/MidiDecoder.h"

#include <fluidsynth.h>

#include <QFile>
#include <QFileInfo>

#include "platform/FileConfinement.h"
#include "platform/NativeFile.h"
#include "platform/NativeName.h"
#include <algorithm>
#include <cmath>
#include <mutex>
#include <thread>
#include <vector>

#include "media/AudioFormat.h"
#include "media/Soundfont.h"

namespace qm::media {

namespace {

constexpr int kBlockFrames = 512;
// Largest silence after the last event that a repeat keeps before starting over.
constexpr double kMaxLoopGap = 2.0;
// Below this a sample cannot be heard (-80 dB).
constexpr float kSilence = 1e-4f;
constexpr qint64 kMaxMidiFileSize = 64 * 1024 * 1024;

void quietFluidSynth() {
  static std::once_flag once;
  std::call_once(once, [] {
    for (int level : {FLUID_PANIC, FLUID_ERR, FLUID_WARN, FLUID_INFO, FLUID_DBG}) fluid_set_log_function(level, nullptr, nullptr);
  });
}

// Synthesizers with the soundfont loaded, kept for reuse: a game loads its music again
// for every play, and loading a soundfont costs far more than resetting a synthesizer.
class SynthPool {
 public:
  // Never destroyed: a decoder ends on its decoder thread, maybe while the program
  // is ending, and still gives its synthesizer back here.
  static SynthPool& instance() {
    static SynthPool* pool = new SynthPool;
    return *pool;
  }
  // Loads one synthesizer for `font` on a thread of its own, unless one is ready or loading.
  void warmUp(const QString& font) {
    std::lock_guard lock(mutex_);
    if (warming_) return;
    for (const auto& e : idle_) {
      if (e.font == font) return;
    }
    if (warmer_.joinable()) warmer_.join();  // an earlier warm-up, long finished
    warming_ = true;
    warmer_ = std::thread([this, font] {
      Entry e = create(font, nullptr);
      if (e.synth) give(e);
      std::lock_guard lock(mutex_);
      warming_ = false;
    });
  }
  struct Entry {
    fluid_settings_t* settings = nullptr;
    fluid_synth_t* synth = nullptr;
    QString font;
  };
  // A ready synthesizer for `font`, or an empty entry.
  Entry take(const QString& font) {
    std::lock_guard lock(mutex_);
    for (auto it = idle_.begin(); it != idle_.end(); ++it) {
      if (it->font == font) {
        Entry e = *it;
        idle_.erase(it);
        return e;
      }
    }
    return {};
  }
  void give(Entry e) {
    fluid_synth_all_sounds_off(e.synth, -1);
    fluid_synth_system_reset(e.synth);
    std::lock_guard lock(mutex_);
    if (idle_.size() < kKeep) {
      idle_.push_back(e);
      return;
    }
    destroy(e);
  }
  static void destroy(Entry& e) {
    if (e.synth) delete_fluid_synth(e.synth);
    if (e.settings) delete_fluid_settings(e.settings);
    e = {};
  }
  // A new synthesizer with the soundfont loaded; empty with `error` set on failure.
  static Entry create(const QString& font, QString* error) {
    quietFluidSynth();
    Entry e;
    e.font = font;
    e.settings = new_fluid_settings();
    if (!e.settings) return {};
    fluid_settings_setnum(e.settings, "synth.sample-rate", kOutputRate);
    fluid_settings_setnum(e.settings, "synth.gain", 0.6);
    fluid_settings_setint(e.settings, "synth.threadsafe-api", 0);  // one thread drives each synth
    e.synth = new_fluid_synth(e.settings);
    if (!e.synth) {
      if (error) *error = QStringLiteral("cannot start the MIDI synthesizer");
      destroy(e);
      return {};
    }
    if (fluid_synth_sfload(e.synth, QFile::encodeName(font).constData(), 1) == FLUID_FAILED) {
      if (error) *error = QStringLiteral("cannot load the soundfont %1").arg(font);
      destroy(e);
      return {};
    }
    return e;
  }

 private:
  static constexpr size_t kKeep = 4;
  std::mutex mutex_;
  std::vector<Entry> idle_;
  std::thread warmer_;
  bool warming_ = false;
};

}  // namespace

void prepareMidiSynthesizer() {
  const QString font = findSoundfont();
  if (!font.isEmpty()) SynthPool::instance().warmUp(font);
}

std::unique_ptr<MidiDecoder> MidiDecoder::open(const QString& path, QString* error) {
  // By the name's bytes: the file may be named in a code page.
  const QString shown = platform::readableName(path);
  const auto stamp = platform::stampOf(path);
  if (!stamp || !platform::isInsideConfinement(path)) {
    if (error) *error = QStringLiteral("file not found: %1").arg(shown);
    return nullptr;
  }
  if (stamp->size > kMaxMidiFileSize) {
    if (error) *error = QStringLiteral("MIDI file too large: %1").arg(shown);
    return nullptr;
  }
  QFile file;
  if (!platform::openForReading(file, path)) {
    if (error) *error = QStringLiteral("file not readable: %1").arg(shown);
    return nullptr;
  }
  QString why;
  auto song = parseMidi(file.readAll(), &why);
  if (!song) {
    if (error) *error = QStringLiteral("%1: %2").arg(why, shown);
    return nullptr;
  }
  std::unique_ptr<MidiDecoder> d(new MidiDecoder);
  d->song_ = std::move(*song);
  return d;
}

MidiDecoder::~MidiDecoder() {
  if (synth_) SynthPool::instance().give({settings_, synth_, font_});
}

bool MidiDecoder::ensureSynth() {
  if (synth_) return true;
  if (synthFailed_) return false;
  synthFailed_ = true;
  font_ = findSoundfont();
  if (font_.isEmpty()) {
    error_ = QStringLiteral("no General MIDI soundfont found (install timgm6mb-soundfont or set %1)")
                 .arg(QString::fromLatin1(kSoundfontVariable));
    return false;
  }
  auto e = SynthPool::instance().take(font_);
  if (!e.synth) e = SynthPool::create(font_, &error_);
  if (!e.synth) return false;
  settings_ = e.settings;
  synth_ = e.synth;
  synthFailed_ = false;
  return true;
}

void MidiDecoder::send(const MidiEvent& e) {
  const int ch = e.status & 0x0f;
  switch (e.status & 0xf0) {
    case 0x80: fluid_synth_noteoff(synth_, ch, e.data1); break;
    case 0x90:
      if (e.data2 == 0) fluid_synth_noteoff(synth_, ch, e.data1);
      else fluid_synth_noteon(synth_, ch, e.data1, e.data2);
      break;
    case 0xA0: fluid_synth_key_pressure(synth_, ch, e.data1, e.data2); break;
    case 0xB0: fluid_synth_cc(synth_, ch, e.data1, e.data2); break;
    case 0xC0: fluid_synth_program_change(synth_, ch, e.data1); break;
    case 0xD0: fluid_synth_channel_pressure(synth_, ch, e.data1); break;
    case 0xE0: fluid_synth_pitch_bend(synth_, ch, e.data1 | (e.data2 << 7)); break;
    case 0xF0:
      if (!e.sysex.empty()) {
        fluid_synth_sysex(synth_, reinterpret_cast<const char*>(e.sysex.data()), static_cast<int>(e.sysex.size()),
                          nullptr, nullptr, nullptr, 0);
      }
      break;
    default: break;
  }
}

void MidiDecoder::silenceAll() {
  fluid_synth_all_sounds_off(synth_, -1);
  fluid_synth_system_reset(synth_);
}

bool MidiDecoder::decode(DecodedChunk& chunk) {
  if (!ensureSynth()) return false;
  const double loopPoint = std::min(song_.endOfTrackTime, song_.lastEventTime + kMaxLoopGap);
  const bool eventsDone = next_ >= song_.events.size();
  if (moreRunsFollow_ && eventsDone && time_ >= loopPoint - 1e-9) return false;
  const bool inTail = !moreRunsFollow_ && eventsDone;
  if (inTail && time_ > song_.lastEventTime + kMaxTail) return false;

  const double perFrame = rate_ / kOutputRate;
  chunk.audioTime = time_;
  chunk.audio.assign(static_cast<size_t>(kBlockFrames) * kOutputChannels, 0.0f);
  float* buf = chunk.audio.data();
  int done = 0;
  while (done < kBlockFrames) {
    while (next_ < song_.events.size() && song_.events[next_].seconds <= time_ + 1e-9) send(song_.events[next_++]);
    int n = kBlockFrames - done;
    if (next_ < song_.events.size()) {
      const double until = song_.events[next_].seconds - time_;
      n = std::clamp(static_cast<int>(std::ceil(until / perFrame - 1e-9)), 1, n);
    } else if (moreRunsFollow_) {
      const double until = loopPoint - time_;
      if (until <= 1e-9) break;
      n = std::clamp(static_cast<int>(std::ceil(until / perFrame - 1e-9)), 1, n);
    }
    fluid_synth_write_float(synth_, n, buf, done * 2, 2, buf, done * 2 + 1, 2);
    done += n;
    time_ += n * perFrame;
  }
  chunk.audio.resize(static_cast<size_t>(done) * kOutputChannels);

  if (inTail || (!moreRunsFollow_ && next_ >= song_.events.size())) {
    // After the last event: the piece ends when every voice has died away and nothing can be heard.
    float peak = 0.0f;
    for (float s : chunk.audio) peak = std::max(peak, std::fabs(s));
    if (fluid_synth_get_active_voice_count(synth_) == 0 && peak < kSilence) {
      if (quietSince_ < 0) quietSince_ = time_;
      chunk.audio.clear();
      return false;
    }
  }
  return !chunk.audio.empty();
}

bool MidiDecoder::seek(double seconds) {
  seconds = std::max(0.0, seconds);
  quietSince_ = -1.0;
  next_ = 0;
  time_ = seconds;
  if (!ensureSynth()) return false;
  silenceAll();
  // Bring the channels to the state they have at that time: programs, controllers and
  // bends, and the notes held across it sound again.
  std::vector<int> held(16 * 128, 0);  // velocity of each held note, 0 = off
  while (next_ < song_.events.size() && song_.events[next_].seconds < seconds) {
    const MidiEvent& e = song_.events[next_++];
    const int kind = e.status & 0xf0;
    const int slot = (e.status & 0x0f) * 128 + e.data1;
    if (kind == 0x90) held[static_cast<size_t>(slot)] = e.data2;
    else if (kind == 0x80) held[static_cast<size_t>(slot)] = 0;
    else if (kind != 0xA0) send(e);
  }
  for (size_t slot = 0; slot < held.size(); ++slot) {
    if (held[slot] > 0) fluid_synth_noteon(synth_, static_cast<int>(slot / 128), static_cast<int>(slot % 128), held[slot]);
  }
  return true;
}

bool MidiDecoder::restart() {
  // A repeat: notes still sounding from the end of the last run ring on into the new one.
  next_ = 0;
  time_ = 0.0;
  quietSince_ = -1.0;
  return true;
}

}  // namespace qm::media
