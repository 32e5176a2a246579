#pragma once
// One hotspot of a frame as its hotspot file (".fm2", or ".mr2" for a frame
// with merged frames) describes it: the rectangle drawn in the editor, its
// picture, cursor, display conditions and two optional trailing blocks (the
// animation speed, then the video).

#include <QByteArray>
#include <QString>
#include <QStringList>
#include <cstdint>
#include <optional>
#include <vector>

#include "platform/VbError.h"

namespace qm::startup {
class RecordReader;
}

namespace qm::logic {

struct HotspotRecord {
  int16_t mergedMark = 0;        // 1: taken from a merged frame
  double x = 0, y = 0, w = 0, h = 0;  // twips, as drawn in the editor
  int16_t pictureKind = 0;       // 0 still picture, other animated (with hasPicture)
  bool hasPicture = false;
  QString pictureFile;           // in Areas
  int16_t stretch = 0;           // 1: stretch the still picture to the hotspot
  QString cursor;                // in Icons; "" or "default": the game's pointer
  int16_t useConditions = 0;     // 0: conditions ignored
  QStringList mustBeFalse;       // list A: variables that must be 0
  QStringList mustBeTrue;        // list B: variables that must be 1

  bool hasSpeedBlock = false;
  QString animationSpeed;        // a number stored as text

  bool hasVideoBlock = false;
  bool hasVideo = false;
  QString videoFile;             // in Frames
  int16_t videoSize = 0;         // 0: the video's own size, other: the hotspot's
  double videoVolume = 0;        // 0..10
  double videoRate = 0;          // 0 stands for 1
  int16_t videoPlayCount = 0;

  bool isAnimated() const { return hasPicture && pictureKind != 0; }
  bool hasCustomCursor() const;
  // Speed rounded to a 16-bit integer; 0 when absent or not a number.
  int16_t animationSpeedValue() const;
};

// Reads one record including its separator. On a read failure the fields read
// so far stay in `record` and the error is thrown.
void readHotspotRecord(startup::RecordReader& reader, HotspotRecord& record);

// The control rectangle of a plain hotspot: the drawn one shrunk by 30 twips
// on every side, never narrower or lower than 1 twip.
struct TwipRect {
  int left = 0, top = 0, width = 0, height = 0;
};
TwipRect hotspotControlRect(const HotspotRecord& record);

// A whole hotspot file read at once (tests, tools, fuzzing). Reading stops at
// the first malformed record; `error` tells why.
struct HotspotFileContents {
  std::vector<HotspotRecord> records;
  int mergedHotspotIndex = 1;
  std::optional<VbError> error;
};
HotspotFileContents readHotspotFile(const QByteArray& bytes);

// The merged hotspot index after record n (1-based) with the given mark.
int updatedMergedIndex(int mergedIndex, int n, int16_t mergedMark);

}  // namespace qm::logic
