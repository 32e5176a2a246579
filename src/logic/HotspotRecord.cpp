#include "logic/HotspotRecord.h"

#include "logic/RecordSkipping.h"
#include "startup/RecordReader.h"

#include <algorithm>
#include <cmath>

namespace qm::logic {

namespace {

QStringList readNameList(startup::RecordReader& reader) {
  const int count = reader.readInt16();
  QStringList names;
  for (int i = 0; i < count; ++i) names << reader.readString();
  return names;
}

// Halves to even, as the classic integer conversion does; out of range and
// non-numbers give 0 (a record field's own rule: startup::roundToInt16 throws).
int16_t roundToInt16OrZero(double value) {
  if (!std::isfinite(value)) return 0;
  const double rounded = std::nearbyint(value);
  if (rounded < -32768.0 || rounded > 32767.0) return 0;
  return static_cast<int16_t>(rounded);
}

int clampedTwips(double value) {
  if (!std::isfinite(value)) return 0;
  return static_cast<int>(std::clamp(std::nearbyint(value), -1.0e9, 1.0e9));
}

}  // namespace

bool HotspotRecord::hasCustomCursor() const {
  return !cursor.isEmpty() && cursor.toLower() != QStringLiteral("default");
}

int16_t HotspotRecord::animationSpeedValue() const {
  bool ok = false;
  const double value = animationSpeed.trimmed().toDouble(&ok);
  return ok ? roundToInt16OrZero(value) : 0;
}

void readHotspotRecord(startup::RecordReader& reader, HotspotRecord& record) {
  reader.skip(1);
  record.mergedMark = reader.readInt16();
  reader.skip(8);
  record.x = reader.readDouble();
  record.y = reader.readDouble();
  record.w = reader.readDouble();
  record.h = reader.readDouble();
  record.pictureKind = reader.readInt16();
  record.hasPicture = reader.readBool();
  record.pictureFile = reader.readString();
  record.stretch = reader.readInt16();
  record.cursor = reader.readString();
  record.useConditions = reader.readInt16();
  record.mustBeFalse = readNameList(reader);
  record.mustBeTrue = readNameList(reader);
  if (!reader.atRecordEnd()) {
    record.hasSpeedBlock = true;
    record.animationSpeed = reader.readString();
    if (!reader.atRecordEnd()) {
      record.hasVideoBlock = true;
      record.hasVideo = reader.readBool();
      record.videoFile = reader.readString();
      record.videoSize = reader.readInt16();
      record.videoVolume = reader.readDouble();
      reader.skip(2);
      record.videoRate = reader.readDouble();
      record.videoPlayCount = reader.readInt16();
      reader.skip(2);
    }
  }
  // A last record without its separator is accepted; fields a newer editor
  // may append are passed over up to the separator.
  if (reader.atEnd()) return;
  if (reader.readString() != kRecordSeparator) skipToRecordEnd(reader);
}

TwipRect hotspotControlRect(const HotspotRecord& record) {
  TwipRect rect;
  rect.left = clampedTwips(record.x + 30);
  rect.top = clampedTwips(record.y + 30);
  rect.width = std::max(1, clampedTwips(record.w - 60));
  rect.height = std::max(1, clampedTwips(record.h - 60));
  return rect;
}

int updatedMergedIndex(int mergedIndex, int n, int16_t mergedMark) {
  if (mergedMark == 1 && n != 1 && mergedIndex == 1) return n;
  return mergedIndex;
}

HotspotFileContents readHotspotFile(const QByteArray& bytes) {
  HotspotFileContents contents;
  startup::RecordReader reader(bytes);
  try {
    while (!reader.atEnd()) {
      HotspotRecord record;
      readHotspotRecord(reader, record);
      contents.records.push_back(record);
      contents.mergedHotspotIndex = updatedMergedIndex(
          contents.mergedHotspotIndex, static_cast<int>(contents.records.size()), record.mergedMark);
    }
  } catch (const VbError& error) {
    contents.error = error;
  }
  return contents;
}

}  // namespace qm::logic
