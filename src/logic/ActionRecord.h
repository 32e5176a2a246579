#pragma once
// The action of a hotspot (or of an item dropped on it) as the frame's action
// file stores it: a base block and up to twelve optional blocks, each present
// only when the record has not ended before it. Some fields take effect the
// moment they are read; the reader reports those to an ActionEffects sink in
// file order, so a record that breaks off half-way has done exactly what came
// before the break.

#include <QString>
#include <QStringList>
#include <cstdint>
#include <vector>

#include "engine/OneTimeVideo.h"

namespace qm::startup {
class RecordReader;
}

namespace qm::logic {

// One sound-channel record as frames and hotspot actions store them.
struct SoundChannelRecord {
  int16_t action = 0;  // 0 nothing pending, 1 no action, 2 play, 3 stop, 4 volume
  bool fade = false;
  bool loop = false;
  double volume = 0;   // 0..10
  QString soundFile;   // in Areas
};

inline constexpr int kSoundChannelCount = 7;

struct ActionRecord {
  int blocksPresent = 0;  // optional blocks read: 0 (base only) .. 12

  // base
  int16_t variableChangeOn = 0;
  QString variableName;
  bool setVariableToZero = false;
  bool setVariableToOne = false;
  bool invertVariable = false;
  bool showMessage = false;
  QString messageText;
  bool disappear = false;
  bool endGame = false;  // reading stops right after this field when true
  int16_t goToFrame = 0;
  QString frameName;
  // 1
  int16_t stopMusic = 0;
  int16_t stopSampledAudio = 0;
  int16_t playVideo = 0;
  QString videoFile;
  bool videoOwnSizeInCorner = false;
  bool videoOwnSizeAtPosition = false;
  int32_t videoLeft = 0, videoTop = 0, videoWidth = 0, videoHeight = 0;  // pixels
  engine::VideoPlacement videoPlacement() const {
    return {videoOwnSizeAtPosition, videoOwnSizeInCorner, videoLeft, videoTop, videoWidth, videoHeight};
  }
  // 2
  bool stopSound = false;
  bool playMusic = false;
  QString musicFile;  // in Areas
  bool playSound = false;
  QString soundFile;  // in Frames
  // 3
  bool goToLastVisitedFrame = false;
  // 4
  bool messageInFrame = false;
  // 5
  int16_t variableListsOn = 0;
  QStringList listSetToZero, listSetToOne, listInvert;
  // 6
  bool musicRepeats = true;
  // 7
  int16_t useTransition = 0;  // 1: with a transition
  double transitionDurationMs = 0;
  // 8
  bool runScript = false;
  QString scriptText;  // quotes restored
  // 9
  int16_t transitionNumber = 0;
  // 10
  double fadeDurationMs = 0;
  int16_t fieldsPerChannelRecord = 0;
  int16_t channelRecordCount = 0;
  std::vector<SoundChannelRecord> channelRecords;  // stored ones, channel n at n - 1
  // 11
  bool giveItem = false;
  QString itemName;
  // 12
  QString pluginData;  // quotes restored, then doubled

  bool hasTransition() const { return useTransition == 1; }
};

class ActionEffects {
 public:
  virtual ~ActionEffects() = default;
  virtual void changeVariable(const QString& name, int16_t newValue) = 0;  // -1 inverts
  virtual void disappear() = 0;
  virtual void stopMusic() = 0;
  virtual void stopSampledAudio() = 0;
  virtual void setFadeDuration(double seconds) = 0;
  virtual void storeChannelRecord(int channel, const SoundChannelRecord& record) = 0;
};

// Reads the action fields (the ten header fields already passed). Read
// failures are thrown as VbError; a channel record for a channel above 7
// throws error 9.
void readActionFields(startup::RecordReader& reader, ActionRecord& record, ActionEffects* effects);

}  // namespace qm::logic
