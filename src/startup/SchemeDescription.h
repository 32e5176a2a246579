// A welcome-screen scheme's description file Scheme.txt, read into what the
// welcome window applies: picture buttons, background picture, colours,
// whether the game title shows, and the logo variant.
//
// Reading never fails as a whole: a field that cannot be read leaves its value
// unset and reading goes on with the next one, as the file was always read.
#pragma once

#include <QColor>
#include <QString>
#include <cstdint>
#include <optional>
#include <vector>

namespace qm::startup {

// Slots of the picture list: Start, Load, Exit buttons and the background.
constexpr int kSchemeStartPicture = 0;
constexpr int kSchemeLoadPicture = 1;
constexpr int kSchemeExitPicture = 2;
constexpr int kSchemeBackgroundPicture = 3;
constexpr int kSchemePictureSlots = 4;

struct SchemeDescription {
  bool found = false;       // Scheme.txt exists in the scheme's folder
  int pictureCount = 0;     // P; 0 = the scheme is not usable
  // One entry per slot named by the file (at most kSchemePictureSlots): the
  // picture's file name relative to the scheme folder, "" for no picture
  // ("[none]", "[default]" or an unreadable name).
  std::vector<QString> pictures;
  int colourLevel = 0;      // C; 0 = no colours
  std::optional<int32_t> backColour;    // used only without a background picture
  std::optional<int32_t> titleColour;   // the game title
  std::optional<int32_t> labelColour;   // every other label
  std::optional<int32_t> buttonColour;  // the text buttons (C >= 4)
  std::optional<bool> hideTitle;
  std::optional<int16_t> logoSelector1;
  std::optional<bool> logoSelector2;
};

// The folder of a scheme: SchemesPath + name + "/" (an empty name gives the
// Schemes folder itself).
QString SchemeFolder(const QString& schemesPath, const QString& schemeName);

// Reads <schemeFolder>Scheme.txt.
SchemeDescription ReadSchemeDescription(const QString& schemeFolder);
// Reads the bytes of a Scheme.txt (for tests and fuzzing).
SchemeDescription ParseSchemeDescription(const QByteArray& bytes);

// A colour stored as 0x00BBGGRR; values with the top bit set name system
// colours (0x80000000 + index) and give the desktop's colour for that role.
QColor ColourFromStored(int32_t stored);

}  // namespace qm::startup
