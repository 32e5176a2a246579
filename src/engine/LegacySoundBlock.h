#pragma once
// The sound block of older projects (in a frame's ".chn" file and in the
// hotspot sound file ".fm5"): 22 ignored fields, then up to five channel
// entries of five fields each (ignored, stop, play, file, loop), ending early
// at the end of the file or before the record separator.

#include <QString>
#include <optional>
#include <vector>

#include "platform/VbError.h"

namespace qm::startup {
class RecordReader;
}

namespace qm::engine {

struct LegacyChannelEntry {
  bool stop = false;
  bool play = false;
  QString soundFile;  // in Areas
  bool loop = false;
};

struct LegacySoundBlock {
  std::vector<LegacyChannelEntry> entries;  // entry n for channel n + 1
  std::optional<VbError> error;             // the read failure that ended the block
};

LegacySoundBlock readLegacySoundBlock(startup::RecordReader& reader);

}  // namespace qm::engine
