// A frame file (.fme): background, sounds, video, frame timer, start-up code
// and sound records of one frame. Older files end early; the fields after an
// end keep their defaults.
#pragma once

#include <QByteArray>
#include <QString>
#include <cstdint>
#include <vector>

#include "engine/OneTimeVideo.h"

namespace qm::engine {

// One sound record of a frame: what to do with one sound channel.
struct FrameSoundRecord {
  int16_t action = 0;
  bool fade = false;
  bool loop = false;
  double volume = 0;  // 0..10
  QString file;       // relative to Areas\ ("" = none)
};

struct FrameFile {
  int16_t backgroundType = 0;    // 0 colour, 1 picture
  QString background;            // colour as a decimal number, or picture file (Frames\)
  bool tile = false;
  bool restartBackgroundSound = false;
  QString backgroundSound;       // Areas\ ("" = none)
  bool timerOn = false;
  double timerSeconds = 0;       // not a number: 0
  QString timerTarget;           // frame name, "[quit]" or "[last visited frame]"
  QString video;                 // Frames\ ("" = none)
  // after the first end-of-file test
  bool stopEverySound = false;
  bool stopSecondSound = false;
  QString secondSound;           // Frames\, played once on channel 7
  // after the second
  bool videoNaturalAtOrigin = false;
  bool videoNaturalAtPosition = false;
  int32_t videoLeft = 0, videoTop = 0, videoWidth = 0, videoHeight = 0;
  VideoPlacement videoPlacement() const {
    return {videoNaturalAtPosition, videoNaturalAtOrigin, videoLeft, videoTop, videoWidth, videoHeight};
  }
  // after the third
  bool loopBackgroundSound = true;
  // after the fourth and fifth
  bool timerWithTransition = false;
  int32_t timerTransitionDuration = 0;  // milliseconds
  int16_t timerTransitionNumber = 0;
  // after the sixth
  bool runFrameProcedure = false;
  QString frameProcedure;        // bar quotes decoded
  // after the seventh
  double soundFadeMs = 0;
  int16_t soundFieldsPerRecord = 0;
  std::vector<FrameSoundRecord> soundRecords;  // every record read; channels use the first seven
  // after the eighth
  bool playVideoBefore = false;
  // after the ninth
  QString pluginActions;         // raw: items separated by char 164, char 254 for quotes

  // How far the file went: 0 (ended after field 10) .. 9 (complete).
  int groupsRead = 0;
};

// Reads the bytes of a frame file. Throws qm::VbError when a field is malformed
// or the file ends inside a group.
FrameFile parseFrameFile(const QByteArray& bytes, const QString& fileNameForMessages = {});

}  // namespace qm::engine
