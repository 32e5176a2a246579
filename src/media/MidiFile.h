// Standard MIDI files (format 0, 1 and 2) and their RIFF wrapping (.rmi), read into one
// time-ordered list of events with their times in seconds (the tempo map applied).
#pragma once

#include <QByteArray>
#include <QString>
#include <cstdint>
#include <optional>
#include <vector>

namespace qm::media {

struct MidiEvent {
  double seconds = 0.0;
  std::uint8_t status = 0;  // 0x80..0xEF channel messages, 0xF0 system exclusive
  std::uint8_t data1 = 0;
  std::uint8_t data2 = 0;
  std::vector<std::uint8_t> sysex;  // for 0xF0: the message without F0 and the closing F7
};

struct MidiSong {
  std::vector<MidiEvent> events;  // sorted by time; ties keep file order
  double lastEventTime = 0.0;     // the last message that makes or changes sound
  double endOfTrackTime = 0.0;    // the latest end-of-track mark (where a repeat starts over)
  bool wrappedInRiff = false;     // came from an .rmi file
};

// True when the bytes start like a MIDI file (plain or RIFF-wrapped).
bool looksLikeMidi(const QByteArray& head);

// Reads the whole file. nullopt with a description when it is not a usable MIDI file.
std::optional<MidiSong> parseMidi(const QByteArray& bytes, QString* error);

}  // namespace qm::media
