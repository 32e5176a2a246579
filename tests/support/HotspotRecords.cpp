#include "HotspotRecords.h"

namespace qm::testing {

void writeHotspotRecord(startup::RecordWriter& w, const HotspotSpec& s) {
  w.str("Hotspot").integer(s.mergedMark);
  for (int i = 3; i <= 10; ++i) w.integer(0);
  w.num(s.x).num(s.y).num(s.w).num(s.h);
  w.integer(s.pictureKind).boolean(s.hasPicture).str(s.pictureFile).integer(s.stretch).str(s.cursor);
  w.integer(s.useConditions);
  w.integer(s.mustBeFalse.size());
  for (const auto& name : s.mustBeFalse) w.str(name);
  w.integer(s.mustBeTrue.size());
  for (const auto& name : s.mustBeTrue) w.str(name);
  if (s.optionalBlocks >= 1) w.str(s.animationSpeed);
  if (s.optionalBlocks >= 2) {
    w.boolean(s.hasVideo).str(s.videoFile).integer(s.videoSize).num(s.videoVolume);
    w.integer(0).integer(0);
    w.num(s.videoRate).integer(s.videoPlayCount);
    w.integer(0).integer(0);
  }
  w.separator();
}

QByteArray hotspotFileBytes(const std::vector<HotspotSpec>& hotspots) {
  startup::RecordWriter writer;
  for (const auto& spec : hotspots) writeHotspotRecord(writer, spec);
  return writer.bytes();
}

}  // namespace qm::testing
