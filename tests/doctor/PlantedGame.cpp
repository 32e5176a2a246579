#include "doctor/PlantedGame.h"

#include <QColor>
#include <algorithm>

#include "startup/RecordWriter.h"
#include "support/ActionRecords.h"
#include "support/DialogueRecords.h"
#include "support/FrameRecords.h"
#include "support/GameFolderBuilder.h"
#include "support/HotspotRecords.h"
#include "support/VariablesRecords.h"

namespace qm::testing {

std::vector<Fault> allFaults() {
  std::vector<Fault> all;
  for (int f = 0; f <= static_cast<int>(Fault::UnknownItem); ++f) all.push_back(static_cast<Fault>(f));
  return all;
}

void buildPlantedGame(GameFolderBuilder& game, const std::vector<Fault>& faults) {
  const auto has = [&](Fault f) { return std::find(faults.begin(), faults.end(), f) != faults.end(); };
  GeneralFields general;
  general.projectName = "Planted";
  general.initialFrame = "Hall";
  game.general(general);
  game.file("Config/Variables", variablesFileBytes({"HasKey", "DoorOpen"}, QStringList{"Score"}));
  game.moreIni("General", "AllowCreateObject", "1");
  game.file("Config/Procedures", QByteArray("'\r\n'\r\n'\r\nSub Greet()\r\n") +
                                      (has(Fault::ProcedureSyntax) ? "  x = (1\r\n" : "  x = 1\r\n") +
                                      "End Sub\r\n");
  if (has(Fault::UnknownResumeFrame)) {
    startup::RecordWriter resume;
    for (int i = 0; i < 6; ++i) resume.integer(0);
    resume.endRecord().str("Study").str("Cellar").endRecord();
    game.records("Config/Resume", resume);
  }

  // Hall: a picture background, a door to the Study and a hotspot that gives the key.
  FrameSpec hall;
  hall.backgroundType = 1;
  hall.background = "HALL.BMP";  // another letter case than on disk
  if (has(Fault::MissingSound)) hall.backgroundSound = "Wind.wav";
  game.file("Frames/Hall.fme", frameFileBytes(hall));
  game.picture("Frames/hall.bmp", 16, 12, Qt::darkBlue);
  game.file("Frames/Hall.lks", "2\r\n");
  HotspotSpec door;
  door.hasPicture = true;
  door.pictureFile = "oakdoor.bmp";
  HotspotSpec keySpot;
  keySpot.useConditions = 1;
  keySpot.mustBeFalse = {has(Fault::UndeclaredVariable) ? "HasKye" : "HasKey"};
  game.file("FramesData/Hall.fm2", hotspotFileBytes({door, keySpot}));
  if (has(Fault::UndecodablePicture)) game.file("Areas/oakdoor.bmp", "this is not a picture");
  else game.picture("Areas/oakdoor.bmp", 4, 4, Qt::red);
  ActionSpec toStudy;
  toStudy.goToFrame = 1;
  toStudy.frameName = "Study";
  if (has(Fault::WrongArgumentCount)) {
    toStudy.runScript = true;
    toStudy.script = "AddItem |Key|";
  }
  ActionSpec takeKey;
  takeKey.variableChangeOn = 1;
  takeKey.variableName = has(Fault::VariableCase) ? "haskey" : "HasKey";
  takeKey.setToOne = true;
  takeKey.runScript = true;
  takeKey.script = "Greet";
  if (has(Fault::UnknownComponent)) takeKey.script += "\r\nAddComponent |Acme.Widget.1|, |W|, True, True";
  takeKey.giveItem = true;
  takeKey.itemName = has(Fault::UnknownItem) ? "Lamp" : "Key";
  if (has(Fault::UndecodableSound)) {
    takeKey.playMusic = true;
    takeKey.musicFile = "Theme.wav";
    game.file("Areas/Theme.wav", "RIFF....WAVEnothing here");
  }
  game.file("FramesData/Hall.fm3", actionFileBytes({toStudy, takeKey}));
  startup::RecordWriter keyItem;
  keyItem.str("key.png").endRecord();
  game.records("Areas/Key.obj", keyItem);
  game.picture("Areas/key.png", 4, 4, Qt::yellow);

  // Study: a frame timer back to the Hall, start-up code, one hotspot, a dialogue.
  FrameSpec study;
  study.timerOn = true;
  study.timerSeconds = "5";
  study.timerTarget = has(Fault::UnknownTimerFrame) ? "Hal" : "Hall";
  study.runFrameProcedure = true;
  study.frameProcedure = has(Fault::UnknownObject) ? "Set o = CreateObject(|Word.Application|)"
                                                   : "Set d = CreateObject(|Scripting.Dictionary|)";
  game.file("Frames/Study.fme", frameFileBytes(study));
  game.file("Frames/Study.lks", "1\r\n");
  QByteArray studySpots = hotspotFileBytes({HotspotSpec{}});
  if (has(Fault::UnparsableHotspot)) studySpots.replace("1500", "\"wide\"");
  game.file("FramesData/Study.fm2", studySpots);
  ActionSpec back;
  back.runScript = true;
  back.script = has(Fault::UnknownScriptFrame) ? "GoToFrame |Garden|, 1, 0" : "GoToFrame |Hall|, 1, 0";
  game.file("FramesData/Study.fm3", actionFileBytes({back}));
  QuestionSpec question;
  question.question = "Who are you?";
  question.answer = "The keeper.";
  question.id = 1;
  question.script1 = "Score = 2";
  question.script2 = has(Fault::DialogueSyntax) ? "If Score Then" : "If Score Then Score = 3";
  game.file("FramesData/Study.dlg", dialogueFileBytes({question}));

  if (has(Fault::UnreachableFrame)) {
    game.file("Frames/Attic.fme", frameFileBytes(FrameSpec{}));
    game.file("Frames/Attic.lks", "0\r\n");
  }
}

}  // namespace qm::testing
