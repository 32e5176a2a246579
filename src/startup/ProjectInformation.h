// The project information read from Config/General, with the defaults every
// field has before reading.
#pragma once

#include <QString>
#include <array>
#include <cstdint>

namespace qm::startup {

struct ProjectInformation {
  QString projectName = "None";   // section of this game's per-user settings
  QString gameTitle;              // captions and message box titles
  QString initialFrame;
  QString versionText;
  int16_t width = 0;              // project size in pixels
  int16_t height = 0;
  QString authorName;
  QString authorEmail;
  QString authorWebSite;
  int16_t resolutionOffer = 0;    // 1 = offer to change the display resolution
  QString schemeName;
  bool noLoading = false;
  bool noSaving = false;
  bool field23IsApostrophe = false;  // read and kept, not used
  int32_t inventoryValueA = 10;
  int32_t inventoryValueB = 10;
  bool inventoryBarOn = true;
  // Inventory switches 2 to 6 (indices 0 and 1 unused).
  std::array<bool, 7> inventorySwitches{false, false, true, true, true, true, false};
  QString inventoryPicture1 = "DEFAULT";
  QString inventoryPicture2 = "DEFAULT";
  int16_t projectResolution = 0;  // 0 = 640x480, 1 = 800x600, 2 = 1024x768
  QString defaultMousePointer = "DEFAULT";  // "default" (any case) or an icon file name
  bool windowedMode = false;
  bool startAtOnce = false;
  bool hideLogo = false;
  bool noDisableTransitionsItem = false;
  bool noDisableEffectsItem = false;
  bool noMenuBar = false;
  bool runStartupProcedure = false;
  QString startupProcedureName;
  bool runFrameProcedure = false;
  QString frameProcedureName;
  // Logo variant selectors, set only by a welcome-screen scheme.
  int16_t logoSelector1 = 0;
  bool logoSelector2 = false;
};

}  // namespace qm::startup
