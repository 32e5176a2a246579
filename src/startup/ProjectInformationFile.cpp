#include "startup/ProjectInformationFile.h"

#include "platform/VbError.h"
#include "startup/ErrorReport.h"
#include "startup/FileProcedures.h"
#include "startup/Project.h"
#include "startup/RecordReader.h"

namespace qm::startup {

void ReadProjectInformationFields(RecordReader& in, ProjectInformation& p) {
  p.projectName = in.readString();           // 1
  in.skip();                                 // 2
  p.gameTitle = in.readString();             // 3
  in.skip();                                 // 4
  p.initialFrame = in.readString();          // 5
  p.versionText = in.readString();           // 6
  p.width = in.readInt16();                  // 7
  p.height = in.readInt16();                 // 8
  p.authorName = in.readString();            // 9
  p.authorEmail = in.readString();           // 10
  p.authorWebSite = in.readString();         // 11
  if (in.atEnd()) return;
  p.resolutionOffer = 1;
  p.resolutionOffer = in.readInt16();        // 12
  if (in.atEnd()) return;
  in.skip(3);                                // 13-15
  p.schemeName = in.readString();            // 16
  if (in.atEnd()) return;
  in.skip(3);                                // 17-19
  p.noLoading = in.readBool();               // 20
  p.noSaving = in.readBool();                // 21
  in.skip();                                 // 22
  if (in.atEnd()) return;
  p.field23IsApostrophe = in.readString() == QStringLiteral("'");  // 23
  in.skip();                                 // 24
  p.inventoryValueA = in.readInt32();        // 25
  p.inventoryValueB = in.readInt32();        // 26
  p.inventoryBarOn = in.readBool();          // 27
  for (int i = 2; i <= 6; ++i) p.inventorySwitches[static_cast<size_t>(i)] = in.readBool();  // 28-32
  p.inventoryPicture1 = in.readString();     // 33
  p.inventoryPicture2 = in.readString();     // 34
  p.projectResolution = in.readInt16();      // 35
  in.skip(2);                                // 36-37
  p.defaultMousePointer = in.readString();   // 38
  if (in.atEnd()) return;
  in.skip(2);                                // 39-40
  p.windowedMode = in.readBool();            // 41
  if (in.atEnd()) return;
  in.skip();                                 // 42
  p.startAtOnce = in.readBool();             // 43
  p.hideLogo = in.readBool();                // 44
  if (in.atEnd()) return;
  in.skip();                                 // 45
  p.noDisableTransitionsItem = in.readBool();  // 46
  if (in.atEnd()) return;
  p.noDisableEffectsItem = in.readBool();    // 47
  if (in.atEnd()) return;
  p.noMenuBar = in.readBool();               // 48
  if (in.atEnd()) return;
  in.skip(3);                                // 49-51
  p.runStartupProcedure = in.readBool();     // 52
  p.startupProcedureName = DecodeBarQuotes(in.readString());  // 53
  p.runFrameProcedure = in.readBool();       // 54
  p.frameProcedureName = DecodeBarQuotes(in.readString());    // 55
}

void SetDefaultProjectInformation() {
  project().info = ProjectInformation{};
}

bool LoadProjectInformation() {
  SetDefaultProjectInformation();
  try {
    RecordReader in = RecordReader::fromFile(project().paths.config + QStringLiteral("General"));
    ReadProjectInformationFields(in, project().info);
    project().informationBroken = false;
    return true;
  } catch (const VbError&) {
    project().informationBroken = true;
    ShowStandardErrorReport(QStringLiteral(" Error loading project information."));
    return false;
  }
}

}  // namespace qm::startup
