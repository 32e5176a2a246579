#include "engine/LegacySoundBlock.h"

#include "startup/RecordReader.h"

namespace qm::engine {

LegacySoundBlock readLegacySoundBlock(startup::RecordReader& reader) {
  LegacySoundBlock block;
  try {
    reader.skip(22);
    for (int n = 1; n <= 5; ++n) {
      LegacyChannelEntry entry;
      reader.skip(1);
      entry.stop = reader.readBool();
      entry.play = reader.readBool();
      entry.soundFile = reader.readString();
      entry.loop = reader.readBool();
      block.entries.push_back(entry);
      if (reader.atRecordEnd()) break;
    }
  } catch (const VbError& error) {
    block.error = error;
  }
  return block;
}

}  // namespace qm::engine
