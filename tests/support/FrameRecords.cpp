#include "support/FrameRecords.h"

#include "startup/RecordWriter.h"

namespace qm::testing {

using startup::RecordWriter;

QByteArray frameFileBytes(const FrameSpec& s) {
  RecordWriter w;
  w.integer(s.backgroundType).str(s.background).boolean(s.tile).boolean(s.restartBackgroundSound)
      .str(s.backgroundSound).boolean(s.timerOn);
  bool numeric = false;
  const double seconds = s.timerSeconds.toDouble(&numeric);
  if (numeric) w.num(seconds);
  else w.str(s.timerSeconds);
  w.str(s.timerTarget).str(s.video).str("").endRecord();
  if (s.groups >= 1) w.boolean(s.stopEverySound).boolean(s.stopSecondSound).str(s.secondSound).endRecord();
  if (s.groups >= 2)
    w.str("").str("").str("").boolean(s.videoNaturalAtOrigin).boolean(s.videoNaturalAtPosition)
        .integer(s.videoLeft).integer(s.videoTop).integer(s.videoWidth).integer(s.videoHeight).endRecord();
  if (s.groups >= 3) w.boolean(s.loopBackgroundSound).endRecord();
  if (s.groups >= 4) w.boolean(s.timerWithTransition).integer(s.timerTransitionDuration).endRecord();
  if (s.groups >= 5) w.integer(s.timerTransitionNumber).endRecord();
  if (s.groups >= 6) w.boolean(s.runFrameProcedure).str(s.frameProcedure).endRecord();
  if (s.groups >= 7) {
    for (int i = 0; i < 6; ++i) w.str("");
    w.num(s.soundFadeMs).integer(0).integer(s.soundFieldsPerRecord).integer(static_cast<qint64>(s.sounds.size()));
    for (const FrameSoundSpec& r : s.sounds) {
      if (s.soundFieldsPerRecord >= 1) w.integer(r.action);
      if (s.soundFieldsPerRecord >= 2) w.boolean(r.fade);
      if (s.soundFieldsPerRecord >= 3) w.boolean(r.loop);
      if (s.soundFieldsPerRecord >= 4) w.num(r.volume);
      if (s.soundFieldsPerRecord >= 5) w.str(r.file);
    }
    w.endRecord();
  }
  if (s.groups >= 8) w.boolean(s.playVideoBefore).endRecord();
  if (s.groups >= 9) w.str(s.pluginActions).endRecord();
  return w.bytes();
}

QByteArray textFileBytes(const std::vector<TextBoxSpec>& boxes) {
  RecordWriter w;
  for (const TextBoxSpec& b : boxes) {
    w.integer(0).integer(b.mergedMark);
    for (int i = 0; i < 8; ++i) w.integer(0);
    w.str(b.caption).num(b.left).num(b.top).boolean(b.bold).boolean(b.italic).str(b.fontName).num(b.fontSize)
        .boolean(b.strikethrough).boolean(b.underline).integer(b.colour).integer(0).endRecord();
  }
  return w.bytes();
}

}  // namespace qm::testing
