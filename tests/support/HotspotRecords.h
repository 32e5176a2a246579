#pragma once
// Writes hotspot files (".fm2"/".mr2") for tests: one HotspotSpec per hotspot.

#include <QByteArray>
#include <QString>
#include <QStringList>
#include <vector>

#include "startup/RecordWriter.h"

namespace qm::testing {

struct HotspotSpec {
  int mergedMark = 0;
  double x = 1500, y = 1500, w = 1500, h = 1500;  // twips as drawn
  int pictureKind = 0;
  bool hasPicture = false;
  QString pictureFile;
  int stretch = 0;
  QString cursor = "default";
  int useConditions = 0;
  QStringList mustBeFalse;  // list A
  QStringList mustBeTrue;   // list B
  int optionalBlocks = 2;   // 0: ends after list B; 1: speed only; 2: speed and video
  QString animationSpeed = "0";
  bool hasVideo = false;
  QString videoFile;
  int videoSize = 0;
  double videoVolume = 10;
  double videoRate = 1;
  int videoPlayCount = 1;
};

void writeHotspotRecord(startup::RecordWriter& writer, const HotspotSpec& spec);
QByteArray hotspotFileBytes(const std::vector<HotspotSpec>& hotspots);

}  // namespace qm::testing
