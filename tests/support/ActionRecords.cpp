#include "ActionRecords.h"

namespace qm::testing {

void writeActionRecord(startup::RecordWriter& w, const ActionSpec& s) {
  w.str("Action").str(s.key);
  for (int i = 3; i <= 10; ++i) w.integer(0);
  w.integer(s.variableChangeOn).str(s.variableName).boolean(s.setToZero).boolean(s.setToOne).boolean(s.invert);
  w.boolean(s.showMessage).str(s.messageText).integer(0).str("");
  w.boolean(s.disappear).boolean(s.endGame).integer(s.goToFrame).str(s.frameName);
  if (s.blocks >= 1) {
    w.integer(s.stopMusic).integer(s.stopSampledAudio).integer(s.playVideo).str(s.videoFile);
    w.boolean(s.videoInCorner).boolean(s.videoAtPosition);
    w.integer(s.videoLeft).integer(s.videoTop).integer(s.videoWidth).integer(s.videoHeight);
  }
  if (s.blocks >= 2)
    w.boolean(s.stopSound).boolean(s.playMusic).str(s.musicFile).boolean(s.playSound).str(s.soundFile);
  if (s.blocks >= 3) w.integer(0).integer(0).integer(0).boolean(s.goToLastVisitedFrame);
  if (s.blocks >= 4) w.integer(0).integer(0).integer(0).boolean(s.messageInFrame);
  if (s.blocks >= 5) {
    w.integer(0).integer(0).integer(0).integer(s.variableListsOn);
    for (const QStringList* list : {&s.listZero, &s.listOne, &s.listInvert}) {
      w.integer(list->size());
      for (const auto& name : *list) w.str(name);
    }
  }
  if (s.blocks >= 6) w.boolean(s.musicRepeats);
  if (s.blocks >= 7) w.integer(s.useTransition).num(s.transitionDurationMs);
  if (s.blocks >= 8) w.boolean(s.runScript).str(s.script);
  if (s.blocks >= 9) w.integer(s.transitionNumber);
  if (s.blocks >= 10) {
    for (int i = 47; i <= 52; ++i) w.integer(0);
    w.num(s.fadeDurationMs).integer(0).integer(s.fieldsPerChannelRecord).integer(static_cast<qint64>(s.channels.size()));
    for (const auto& c : s.channels) {
      const int k = s.fieldsPerChannelRecord;
      if (k >= 1) w.integer(c.action);
      if (k >= 2) w.boolean(c.fade);
      if (k >= 3) w.boolean(c.loop);
      if (k >= 4) w.num(c.volume);
      if (k >= 5) w.str(c.file);
      for (int extra = 6; extra <= k; ++extra) w.integer(0);
    }
  }
  if (s.blocks >= 11) w.boolean(s.giveItem).str(s.itemName);
  if (s.blocks >= 12) w.str(s.pluginData);
  w.separator();
}

QByteArray actionFileBytes(const std::vector<ActionSpec>& actions) {
  startup::RecordWriter writer;
  for (const auto& spec : actions) writeActionRecord(writer, spec);
  return writer.bytes();
}

void writeLegacySoundRecord(startup::RecordWriter& w, int hotspotNumber, const std::vector<LegacyChannelSpec>& channels) {
  w.str("Sound").integer(hotspotNumber);
  for (int i = 3; i <= 10; ++i) w.integer(0);
  for (int i = 0; i < 22; ++i) w.integer(0);
  for (const auto& c : channels) w.integer(0).boolean(c.stop).boolean(c.play).str(c.file).boolean(c.loop);
  w.separator();
}

}  // namespace qm::testing
