// The header of the frame being opened: name, background and hotspot count.
#pragma once

#include <QString>
#include <cstdint>

namespace qm::startup {

struct FrameHeader {
  QString name;               // the current frame's name (CurrentFrameName)
  QString extraName;          // cleared whenever a header is read
  int16_t backgroundType = 0; // first field of the frame file
  QString backgroundPicture;  // second field: colour or picture file name
  bool tile = false;          // third field
  int16_t hotspotCount = 0;   // from the frame's .lks file
};

void ClearFrameHeader();

// Sets the current frame name and reads the first three fields of
// Frames/<name>.fme and the hotspot count. Failures show the standard error
// report " Unable to load the frame called '<name>'. <description>" and leave
// what was read so far; the hotspot count is then still read from the frame's
// own .lks file (0 when there is none). Returns false on failure.
bool ReadFrameHeader(const QString& frameName);

// The number stored in Frames/<name>.lks, 0 when the file is absent. A file
// that cannot be read gives 0 and a warning box.
int16_t ReadHotspotsCount(const QString& frameName);

}  // namespace qm::startup
