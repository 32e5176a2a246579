// Writes a project folder into a fresh temporary directory, so that a test
// states its game in a few lines:
//
//   GameFolderBuilder game;
//   game.general({.projectName = "Test", .initialFrame = "Hall"})
//       .file("Frames/Hall.fme", ...);
//   InitializeProject(game.root());
#pragma once

#include <QByteArray>
#include <QColor>
#include <QString>
#include <QStringList>
#include <QTemporaryDir>
#include <memory>
#include <optional>

#include "startup/RecordWriter.h"

namespace qm::testing {

// The fields of Config/General, in file order, with the values an editor writes
// for a fresh project. lastField cuts the file after that field number (1..55)
// to model files from older editors.
struct GeneralFields {
  QString projectName = "TestGame";
  QString field2 = "";
  QString gameTitle = "Test Game";
  int field4 = 0;
  QString initialFrame = "Start";
  QString versionText = "1.0";
  int width = 640;
  int height = 480;
  QString authorName = "";
  QString authorEmail = "";
  QString authorWebSite = "";
  int resolutionOffer = 0;
  QString schemeName = "";
  bool noLoading = false;
  bool noSaving = false;
  QString field23 = "";
  int inventoryValueA = 10;
  int inventoryValueB = 10;
  bool inventoryBarOn = true;
  bool inventorySwitch2 = true, inventorySwitch3 = true, inventorySwitch4 = true,
       inventorySwitch5 = true, inventorySwitch6 = false;
  QString inventoryPicture1 = "DEFAULT";
  QString inventoryPicture2 = "DEFAULT";
  int projectResolution = 0;
  QString defaultMousePointer = "DEFAULT";
  bool windowedMode = false;
  bool startAtOnce = false;
  bool hideLogo = false;
  bool noDisableTransitionsItem = false;
  bool noDisableEffectsItem = false;
  bool noMenuBar = false;
  bool runStartupProcedure = false;
  QString startupProcedureName = "";
  bool runFrameProcedure = false;
  QString frameProcedureName = "";
  int lastField = 55;
};

// The bytes of a Config/General file with these fields.
QByteArray generalFileBytes(const GeneralFields& fields);

class GameFolderBuilder {
 public:
  GameFolderBuilder();
  ~GameFolderBuilder();
  GameFolderBuilder(const GameFolderBuilder&) = delete;
  GameFolderBuilder& operator=(const GameFolderBuilder&) = delete;

  // The folder path, ending in '/'. The standard sub-folders exist.
  QString root() const;
  // root() + relativePath (with '\' turned into '/').
  QString path(const QString& relativePath) const;

  GameFolderBuilder& general(const GeneralFields& fields = {});
  // Config/Texts: mode 0, 1, 2 (with the custom texts for indices 1, 2, ...) or any other.
  GameFolderBuilder& texts(int mode, const QStringList& customTexts = {});
  // A key of Config/More.
  GameFolderBuilder& moreIni(const QString& section, const QString& key, const QString& value);
  GameFolderBuilder& file(const QString& relativePath, const QByteArray& bytes);
  GameFolderBuilder& records(const QString& relativePath, const qm::startup::RecordWriter& writer);
  // A picture of one colour; BMP, PNG or JPG by the extension (BMP otherwise).
  GameFolderBuilder& picture(const QString& relativePath, int width, int height, QColor color);
  // Frames/<name>.fme with background type, picture and tile flag, and
  // Frames/<name>.lks with the hotspot count when given.
  GameFolderBuilder& frameHeader(const QString& frameName, int backgroundType, const QString& picture,
                                 bool tile, std::optional<int> hotspotCount = std::nullopt);
  GameFolderBuilder& folder(const QString& relativePath);
  // Removes a file or folder inside the game folder (throws for paths outside it).
  GameFolderBuilder& remove(const QString& relativePath);

 private:
  std::unique_ptr<QTemporaryDir> dir_;
};

}  // namespace qm::testing
