#include "logic/ActionRecord.h"

#include "platform/VbError.h"
#include "startup/RecordReader.h"
#include "startup/FileProcedures.h"

namespace qm::logic {

namespace {

void changeFromList(startup::RecordReader& reader, ActionRecord& record, QStringList& list, int16_t value,
                    ActionEffects* effects) {
  const int count = reader.readInt16();
  for (int i = 0; i < count; ++i) {
    const QString name = reader.readString();
    list << name;
    if (effects && record.variableListsOn != 0 && !name.isEmpty()) effects->changeVariable(name, value);
  }
}

void readChannelBlock(startup::RecordReader& reader, ActionRecord& record, ActionEffects* effects) {
  record.fadeDurationMs = reader.readDouble();
  if (effects) effects->setFadeDuration(record.fadeDurationMs / 1000.0);
  reader.skip(1);
  record.fieldsPerChannelRecord = reader.readInt16();
  record.channelRecordCount = reader.readInt16();
  const int perRecord = record.fieldsPerChannelRecord;
  for (int n = 1; n <= record.channelRecordCount; ++n) {
    if (perRecord > 5) {
      // Records of an unknown shape are passed over, not stored.
      reader.skip(perRecord);
      continue;
    }
    SoundChannelRecord channel;
    if (perRecord >= 1) channel.action = reader.readInt16();
    if (perRecord >= 2) channel.fade = reader.readBool();
    if (perRecord >= 3) channel.loop = reader.readBool();
    if (perRecord >= 4) channel.volume = reader.readDouble();
    if (perRecord >= 5) channel.soundFile = reader.readString();
    if (n > kSoundChannelCount) throw VbError(9, QStringLiteral("Subscript out of range"));
    record.channelRecords.push_back(channel);
    if (effects) effects->storeChannelRecord(n, channel);
  }
}

QString doubledQuotes(QString text) { return text.replace(QLatin1Char('"'), QStringLiteral("\"\"")); }

}  // namespace

void readActionFields(startup::RecordReader& reader, ActionRecord& r, ActionEffects* effects) {
  r.variableChangeOn = reader.readInt16();
  r.variableName = reader.readString();
  r.setVariableToZero = reader.readBool();
  r.setVariableToOne = reader.readBool();
  r.invertVariable = reader.readBool();
  if (effects && r.variableChangeOn != 0 && !r.variableName.isEmpty()) {
    if (r.setVariableToZero) effects->changeVariable(r.variableName, 0);
    if (r.setVariableToOne) effects->changeVariable(r.variableName, 1);
    if (r.invertVariable) effects->changeVariable(r.variableName, -1);
  }
  r.showMessage = reader.readBool();
  r.messageText = reader.readString();
  reader.skip(2);
  r.disappear = reader.readBool();
  if (effects && r.disappear) effects->disappear();
  r.endGame = reader.readBool();
  if (r.endGame) return;
  r.goToFrame = reader.readInt16();
  r.frameName = reader.readString();

  if (reader.atRecordEnd()) return;
  r.stopMusic = reader.readInt16();
  if (effects && r.stopMusic != 0) effects->stopMusic();
  r.stopSampledAudio = reader.readInt16();
  if (effects && r.stopSampledAudio != 0) effects->stopSampledAudio();
  r.playVideo = reader.readInt16();
  r.videoFile = reader.readString();
  r.videoOwnSizeInCorner = reader.readBool();
  r.videoOwnSizeAtPosition = reader.readBool();
  r.videoLeft = reader.readInt32();
  r.videoTop = reader.readInt32();
  r.videoWidth = reader.readInt32();
  r.videoHeight = reader.readInt32();
  r.blocksPresent = 1;

  if (reader.atRecordEnd()) return;
  r.stopSound = reader.readBool();
  r.playMusic = reader.readBool();
  r.musicFile = reader.readString();
  r.playSound = reader.readBool();
  r.soundFile = reader.readString();
  r.blocksPresent = 2;

  if (reader.atRecordEnd()) return;
  reader.skip(3);
  r.goToLastVisitedFrame = reader.readBool();
  r.blocksPresent = 3;

  if (reader.atRecordEnd()) return;
  reader.skip(3);
  r.messageInFrame = reader.readBool();
  r.blocksPresent = 4;

  if (reader.atRecordEnd()) return;
  reader.skip(3);
  r.variableListsOn = reader.readInt16();
  changeFromList(reader, r, r.listSetToZero, 0, effects);
  changeFromList(reader, r, r.listSetToOne, 1, effects);
  changeFromList(reader, r, r.listInvert, -1, effects);
  r.blocksPresent = 5;

  if (reader.atRecordEnd()) return;
  r.musicRepeats = reader.readBool();
  r.blocksPresent = 6;

  if (reader.atRecordEnd()) return;
  r.useTransition = reader.readInt16();
  r.transitionDurationMs = reader.readDouble();
  r.blocksPresent = 7;

  if (reader.atRecordEnd()) return;
  r.runScript = reader.readBool();
  r.scriptText = startup::DecodeBarQuotes(reader.readString());
  r.blocksPresent = 8;

  if (reader.atRecordEnd()) return;
  r.transitionNumber = reader.readInt16();
  r.blocksPresent = 9;

  if (reader.atRecordEnd()) return;
  reader.skip(6);
  readChannelBlock(reader, r, effects);
  r.blocksPresent = 10;

  if (reader.atRecordEnd()) return;
  r.giveItem = reader.readBool();
  r.itemName = reader.readString();
  r.blocksPresent = 11;

  if (reader.atRecordEnd()) return;
  r.pluginData = doubledQuotes(startup::DecodeChar254Quotes(reader.readString()));
  r.blocksPresent = 12;
}

}  // namespace qm::logic
