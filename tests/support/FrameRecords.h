#pragma once
// Writes frame files (.fme) and text-box files (.fm1/.mr1) for tests.

#include <QByteArray>
#include <QString>
#include <vector>

namespace qm::testing {

struct FrameSoundSpec {
  int action = 0;
  bool fade = false;
  bool loop = false;
  double volume = 10;
  QString file;
};

struct FrameSpec {
  int backgroundType = 0;
  QString background = "0";   // colour number or picture file
  bool tile = false;
  bool restartBackgroundSound = false;
  QString backgroundSound;
  bool timerOn = false;
  QString timerSeconds = "0";  // written as a number when it reads as one, else as a string
  QString timerTarget;
  QString video;
  bool stopEverySound = false;
  bool stopSecondSound = false;
  QString secondSound;
  bool videoNaturalAtOrigin = false, videoNaturalAtPosition = false;
  int videoLeft = 0, videoTop = 0, videoWidth = 0, videoHeight = 0;
  bool loopBackgroundSound = true;
  bool timerWithTransition = false;
  int timerTransitionDuration = 0;
  int timerTransitionNumber = 0;
  bool runFrameProcedure = false;
  QString frameProcedure;
  double soundFadeMs = 0;
  int soundFieldsPerRecord = 5;
  std::vector<FrameSoundSpec> sounds;
  bool playVideoBefore = false;
  QString pluginActions;
  // How many optional groups to write (0: the file ends after field 10; 9: all).
  int groups = 9;
};

QByteArray frameFileBytes(const FrameSpec& spec);

struct TextBoxSpec {
  int mergedMark = 0;
  QString caption = "Text";
  double left = 150, top = 150;
  bool bold = false, italic = false;
  QString fontName = "Arial";
  double fontSize = 10;
  bool strikethrough = false, underline = false;
  int colour = 0;
};

QByteArray textFileBytes(const std::vector<TextBoxSpec>& boxes);

}  // namespace qm::testing
