#include "engine/FrameFile.h"

#include "platform/VbError.h"
#include "startup/FileProcedures.h"
#include "startup/RecordReader.h"

namespace qm::engine {

using startup::RecordReader;

FrameFile parseFrameFile(const QByteArray& bytes, const QString& fileNameForMessages) {
  RecordReader r(bytes, fileNameForMessages);
  FrameFile f;
  parseFrameFile(r, f);
  return f;
}

void parseFrameFile(RecordReader& r, FrameFile& f) {
  f.backgroundType = r.readInt16();
  f.background = r.readString();
  f.tile = r.readBool();
  f.restartBackgroundSound = r.readBool();
  f.backgroundSound = r.readString();
  f.timerOn = r.readBool();
  // A duration that is not a number gives 0: the timer is armed but never fires.
  const startup::RecordField duration = r.readAny();
  try {
    f.timerSeconds = duration.toDouble();
  } catch (const VbError&) {
    f.timerSeconds = 0;
  }
  f.timerTarget = r.readString();
  f.video = r.readString();
  r.skip(1);
  if (r.atEnd()) return;
  f.groupsRead = 1;

  f.stopEverySound = r.readBool();
  f.stopSecondSound = r.readBool();
  f.secondSound = r.readString();
  if (r.atEnd()) return;
  f.groupsRead = 2;

  r.skip(3);
  f.videoNaturalAtOrigin = r.readBool();
  f.videoNaturalAtPosition = r.readBool();
  f.videoLeft = r.readInt32();
  f.videoTop = r.readInt32();
  f.videoWidth = r.readInt32();
  f.videoHeight = r.readInt32();
  if (r.atEnd()) return;
  f.groupsRead = 3;

  f.loopBackgroundSound = r.readBool();
  if (r.atEnd()) return;
  f.groupsRead = 4;

  f.timerWithTransition = r.readBool();
  f.timerTransitionDuration = r.readInt32();
  if (r.atEnd()) return;
  f.groupsRead = 5;

  f.timerTransitionNumber = r.readInt16();
  if (r.atEnd()) return;
  f.groupsRead = 6;

  f.runFrameProcedure = r.readBool();
  f.frameProcedure = startup::DecodeBarQuotes(r.readString());
  if (r.atEnd()) return;
  f.groupsRead = 7;

  r.skip(6);
  f.soundFadeMs = r.readDouble();
  r.readInt16();
  f.soundFieldsPerRecord = r.readInt16();
  const int16_t count = r.readInt16();
  // A record holds at most five fields; more would misalign everything after.
  if (f.soundFieldsPerRecord < 0 || f.soundFieldsPerRecord > 5 || count < 0)
    throw VbError(9, QStringLiteral("Subscript out of range"));
  // Records of no fields hold nothing: the block ends there, whatever count it declares.
  for (int i = 0; i < count && f.soundFieldsPerRecord > 0; ++i) {
    FrameSoundRecord rec;
    for (int k = 1; k <= f.soundFieldsPerRecord; ++k) {
      switch (k) {
        case 1: rec.action = r.readInt16(); break;
        case 2: rec.fade = r.readBool(); break;
        case 3: rec.loop = r.readBool(); break;
        case 4: rec.volume = r.readDouble(); break;
        case 5: rec.file = r.readString(); break;
      }
    }
    f.soundRecords.push_back(rec);
  }
  if (r.atEnd()) return;
  f.groupsRead = 8;

  f.playVideoBefore = r.readBool();
  if (r.atEnd()) return;
  f.groupsRead = 9;

  f.pluginActions = r.readString();
  return;
}

}  // namespace qm::engine
