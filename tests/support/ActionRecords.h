#pragma once
// Writes action files (".fm3"/".mr3" click actions, ".fm0" item drops) for
// tests: one ActionSpec per record, with as many optional blocks as wanted.

#include <QByteArray>
#include <QString>
#include <QStringList>
#include <vector>

#include "startup/RecordWriter.h"

namespace qm::testing {

struct ChannelSpec {
  int action = 0;
  bool fade = false;
  bool loop = false;
  double volume = 10;
  QString file;
};

struct ActionSpec {
  QString key = "";  // header field 2 (".fm0" key)
  int blocks = 12;   // optional blocks written after the base block
  // base
  int variableChangeOn = 0;
  QString variableName;
  bool setToZero = false, setToOne = false, invert = false;
  bool showMessage = false;
  QString messageText;
  bool disappear = false;
  bool endGame = false;
  int goToFrame = 0;
  QString frameName;
  // 1
  int stopMusic = 0, stopSampledAudio = 0, playVideo = 0;
  QString videoFile;
  bool videoInCorner = false, videoAtPosition = false;
  int videoLeft = 0, videoTop = 0, videoWidth = 0, videoHeight = 0;
  // 2
  bool stopSound = false, playMusic = false;
  QString musicFile;
  bool playSound = false;
  QString soundFile;
  // 3
  bool goToLastVisitedFrame = false;
  // 4
  bool messageInFrame = false;
  // 5
  int variableListsOn = 0;
  QStringList listZero, listOne, listInvert;
  // 6
  bool musicRepeats = true;
  // 7
  int useTransition = 0;
  double transitionDurationMs = 0;
  // 8
  bool runScript = false;
  QString script;  // written as given ("|" for quotes)
  // 9
  int transitionNumber = 0;
  // 10
  double fadeDurationMs = 0;
  int fieldsPerChannelRecord = 5;
  std::vector<ChannelSpec> channels;
  // 11
  bool giveItem = false;
  QString itemName;
  // 12
  QString pluginData;
};

void writeActionRecord(startup::RecordWriter& writer, const ActionSpec& spec);
QByteArray actionFileBytes(const std::vector<ActionSpec>& actions);

// A ".fm5" record: hotspot number, then a legacy sound block of 22 ignored
// fields and the given channel entries (stop, play, file, loop).
struct LegacyChannelSpec {
  bool stop = false;
  bool play = false;
  QString file;
  bool loop = false;
};
void writeLegacySoundRecord(startup::RecordWriter& writer, int hotspotNumber,
                            const std::vector<LegacyChannelSpec>& channels);

}  // namespace qm::testing
