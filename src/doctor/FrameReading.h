// Shared by the readers of one frame's files.
#pragma once

#include <QString>

#include "doctor/DataFile.h"
#include "doctor/GameFacts.h"
#include "logic/ActionRecord.h"

namespace qm::startup {
class RecordReader;
}

namespace qm::doctor {

// The frame being read: its name and the number of hotspots it has.
struct FrameBeingRead {
  QString name;
  int hotspotCount = 0;  // from the .lks file
};

// The hotspot file (.mr2/.fm2), the click and drop actions (.mr3/.fm3,
// .fm0), the pick-ups (.fm4) and the legacy hotspot sounds (.fm5).
void readHotspotFiles(GameFacts& facts, Findings& findings, const FrameBeingRead& frame);

// What an action record names (files, frames, variables, items, code).
void gatherActionFacts(GameFacts& facts, const logic::ActionRecord& action, const Place& at, const QString& frame);

// A place in a data file for the field named `field` of record `record`,
// on the line where the record starts.
inline Place recordPlace(const DataFile& file, qsizetype recordStart, int record, const QString& field) {
  return Place{file.relative, file.lineAt(recordStart), record, field};
}

}  // namespace qm::doctor
