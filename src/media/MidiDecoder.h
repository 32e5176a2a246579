// MIDI files played on a FluidSynth synthesizer of their own, with the events
// sequenced here (not by FluidSynth's file player), so that the end of a piece is
// known: a single run ends when its last note has died away, a repeated run starts
// over at the piece's end-of-track mark.
#pragma once

#include <QString>
#include <memory>

#include "media/Decoder.h"
#include "media/MidiFile.h"

struct _fluid_hashtable_t;
struct _fluid_synth_t;

namespace qm::media {

// Loads a synthesizer with the soundfont in the background, so that the first MIDI
// player started afterwards sounds at once (loading a soundfont takes about 0.1 s).
// Synthesizers of unloaded MIDI players are kept for the next ones as well.
void prepareMidiSynthesizer();

class MidiDecoder final : public Decoder {
 public:
  // Reads and checks the file (the soundfont is loaded later, on the decoding thread).
  static std::unique_ptr<MidiDecoder> open(const QString& path, QString* error);
  ~MidiDecoder() override;

  bool decode(DecodedChunk& chunk) override;
  bool seek(double seconds) override;
  bool restart() override;
  void setRate(double rate) override { rate_ = rate > 0.0 ? rate : 1.0; }
  void setMoreRunsFollow(bool more) override { moreRunsFollow_ = more; }
  QString errorString() const override { return error_; }
  double duration() const override { return song_.lastEventTime; }
  const MidiSong& song() const { return song_; }

  // Longest time a piece may ring on after its last event.
  static constexpr double kMaxTail = 4.0;

 private:
  MidiDecoder() = default;
  bool ensureSynth();
  void send(const MidiEvent& e);
  void silenceAll();

  MidiSong song_;
  QString error_;
  _fluid_hashtable_t* settings_ = nullptr;
  _fluid_synth_t* synth_ = nullptr;
  bool synthFailed_ = false;
  QString font_;
  size_t next_ = 0;        // next event to send
  double time_ = 0.0;      // media time of the next frame rendered
  double rate_ = 1.0;
  bool moreRunsFollow_ = false;
  double quietSince_ = -1.0;
};

}  // namespace qm::media
