#include "media/MidiFile.h"

#include <algorithm>
#include <cstring>

namespace qm::media {

namespace {

constexpr size_t kMaxEvents = 4'000'000;  // far beyond any real piece; bounds hostile files

std::uint32_t be32(const unsigned char* p) {
  return (std::uint32_t(p[0]) << 24) | (std::uint32_t(p[1]) << 16) | (std::uint32_t(p[2]) << 8) | p[3];
}
std::uint32_t le32(const unsigned char* p) {
  return (std::uint32_t(p[3]) << 24) | (std::uint32_t(p[2]) << 16) | (std::uint32_t(p[1]) << 8) | p[0];
}

// The standard MIDI data inside a RIFF "RMID" file: the payload of its "data" chunk.
std::optional<QByteArray> unwrapRiff(const QByteArray& bytes) {
  const auto* p = reinterpret_cast<const unsigned char*>(bytes.constData());
  const size_t n = static_cast<size_t>(bytes.size());
  size_t pos = 12;
  while (pos + 8 <= n) {
    const std::uint32_t size = le32(p + pos + 4);
    if (std::memcmp(p + pos, "data", 4) == 0) {
      const size_t len = std::min<size_t>(size, n - pos - 8);
      return bytes.mid(static_cast<qsizetype>(pos + 8), static_cast<qsizetype>(len));
    }
    // In 64 bits: a chunk size near 4 GiB must not wrap round to no step at all.
    pos += size_t{8} + size + (size & 1u);
  }
  return std::nullopt;
}

struct RawEvent {
  std::uint64_t tick;
  std::uint32_t order;  // file order, for stable ties
  MidiEvent event;
  bool isTempo = false;
  std::uint32_t tempo = 0;  // microseconds per quarter note
  bool isEndOfTrack = false;
};

class TrackReader {
 public:
  TrackReader(const unsigned char* p, size_t n) : p_(p), n_(n) {}
  bool atEnd() const { return pos_ >= n_; }
  bool byte(std::uint8_t& out) {
    if (pos_ >= n_) return false;
    out = p_[pos_++];
    return true;
  }
  bool varlen(std::uint32_t& out) {
    out = 0;
    for (int i = 0; i < 4; ++i) {
      std::uint8_t b;
      if (!byte(b)) return false;
      out = (out << 7) | (b & 0x7f);
      if (!(b & 0x80)) return true;
    }
    return false;
  }
  bool bytes(size_t count, const unsigned char*& out) {
    if (count > n_ - pos_) return false;
    out = p_ + pos_;
    pos_ += count;
    return true;
  }
  std::uint8_t peek() const { return pos_ < n_ ? p_[pos_] : 0; }

 private:
  const unsigned char* p_;
  size_t n_;
  size_t pos_ = 0;
};

int dataBytesFor(std::uint8_t status) {
  switch (status & 0xf0) {
    case 0xC0:
    case 0xD0: return 1;
    default: return 2;
  }
}

// Reads one track's events; a track cut short keeps what was read before the cut.
void readTrack(const unsigned char* p, size_t n, std::vector<RawEvent>& out, std::uint32_t& order) {
  TrackReader r(p, n);
  std::uint64_t tick = 0;
  std::uint8_t running = 0;
  while (!r.atEnd() && out.size() < kMaxEvents) {
    std::uint32_t delta;
    if (!r.varlen(delta)) return;
    tick += delta;
    std::uint8_t status = r.peek();
    if (status & 0x80) {
      r.byte(status);
    } else {
      if (!running) return;  // data without a status: the track is damaged here
      status = running;
    }
    RawEvent ev{tick, order++, {}, false, 0, false};
    if (status == 0xFF) {
      std::uint8_t type;
      std::uint32_t len;
      const unsigned char* data;
      if (!r.byte(type) || !r.varlen(len) || !r.bytes(len, data)) return;
      if (type == 0x51 && len == 3) {
        ev.isTempo = true;
        ev.tempo = (std::uint32_t(data[0]) << 16) | (std::uint32_t(data[1]) << 8) | data[2];
        if (ev.tempo == 0) ev.tempo = 1;
        out.push_back(std::move(ev));
      } else if (type == 0x2F) {
        ev.isEndOfTrack = true;
        out.push_back(std::move(ev));
        return;
      }
      continue;
    }
    if (status == 0xF0 || status == 0xF7) {
      std::uint32_t len;
      const unsigned char* data;
      if (!r.varlen(len) || !r.bytes(len, data)) return;
      if (status == 0xF0) {
        ev.event.status = 0xF0;
        size_t l = len;
        if (l > 0 && data[l - 1] == 0xF7) --l;
        ev.event.sysex.assign(data, data + l);
        out.push_back(std::move(ev));
      }
      running = 0;
      continue;
    }
    if (status >= 0xF0) {  // other system messages do not belong in files; skip their byte
      running = 0;
      continue;
    }
    running = status;
    ev.event.status = status;
    std::uint8_t d1 = 0, d2 = 0;
    if (!r.byte(d1)) return;
    if (dataBytesFor(status) == 2 && !r.byte(d2)) return;
    ev.event.data1 = d1 & 0x7f;
    ev.event.data2 = d2 & 0x7f;
    out.push_back(std::move(ev));
  }
}

}  // namespace

bool looksLikeMidi(const QByteArray& head) {
  if (head.startsWith("MThd")) return true;
  return head.size() >= 12 && head.startsWith("RIFF") && head.mid(8, 4) == "RMID";
}

std::optional<MidiSong> parseMidi(const QByteArray& input, QString* error) {
  auto fail = [&](const QString& why) -> std::optional<MidiSong> {
    if (error) *error = why;
    return std::nullopt;
  };
  QByteArray bytes = input;
  MidiSong song;
  if (bytes.startsWith("RIFF")) {
    if (bytes.size() < 12 || bytes.mid(8, 4) != "RMID") return fail(QStringLiteral("not a RIFF MIDI file"));
    auto inner = unwrapRiff(bytes);
    if (!inner) return fail(QStringLiteral("RIFF MIDI file without MIDI data"));
    bytes = *inner;
    song.wrappedInRiff = true;
  }
  const auto* p = reinterpret_cast<const unsigned char*>(bytes.constData());
  const size_t n = static_cast<size_t>(bytes.size());
  if (n < 14 || std::memcmp(p, "MThd", 4) != 0) return fail(QStringLiteral("not a MIDI file"));
  const std::uint32_t headerLen = be32(p + 4);
  if (headerLen < 6 || headerLen > n - 8) return fail(QStringLiteral("damaged MIDI header"));
  const int tracks = (p[10] << 8) | p[11];
  const std::int16_t division = static_cast<std::int16_t>((p[12] << 8) | p[13]);
  if (division == 0) return fail(QStringLiteral("MIDI file with no time division"));

  std::vector<RawEvent> raw;
  std::uint32_t order = 0;
  size_t pos = 8 + headerLen;
  int found = 0;
  while (pos + 8 <= n && found < tracks) {
    const std::uint32_t len = be32(p + pos + 4);
    const size_t avail = std::min<size_t>(len, n - pos - 8);
    if (std::memcmp(p + pos, "MTrk", 4) == 0) {
      readTrack(p + pos + 8, avail, raw, order);
      ++found;
    }
    if (len > n - pos - 8) break;
    pos += 8 + len;
  }
  if (found == 0) return fail(QStringLiteral("MIDI file without tracks"));

  std::stable_sort(raw.begin(), raw.end(), [](const RawEvent& a, const RawEvent& b) {
    return a.tick != b.tick ? a.tick < b.tick : a.order < b.order;
  });

  // Ticks to seconds through the tempo map (or a fixed SMPTE rate).
  double secondsPerTick;
  const bool smpte = division < 0;
  std::uint32_t tempo = 500000;  // 120 beats a minute until told otherwise
  if (smpte) {
    const int fps = -(division >> 8);
    const int ticksPerFrame = division & 0xff;
    secondsPerTick = 1.0 / (std::max(fps, 1) * std::max(ticksPerFrame, 1));
  } else {
    secondsPerTick = tempo / 1e6 / division;
  }
  double seconds = 0.0;
  std::uint64_t lastTick = 0;
  song.events.reserve(raw.size());
  for (auto& ev : raw) {
    seconds += static_cast<double>(ev.tick - lastTick) * secondsPerTick;
    lastTick = ev.tick;
    if (ev.isTempo) {
      if (!smpte) secondsPerTick = ev.tempo / 1e6 / division;
      continue;
    }
    if (ev.isEndOfTrack) {
      song.endOfTrackTime = std::max(song.endOfTrackTime, seconds);
      continue;
    }
    ev.event.seconds = seconds;
    song.lastEventTime = seconds;
    song.events.push_back(std::move(ev.event));
  }
  song.endOfTrackTime = std::max(song.endOfTrackTime, song.lastEventTime);
  return song;
}

}  // namespace qm::media
