#include "support/GameFolderBuilder.h"
#include "support/RawNamedFiles.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QImage>
#include <stdexcept>

#include "platform/FileResolver.h"
#include "platform/IniFile.h"

namespace qm::testing {

using qm::startup::RecordWriter;

QByteArray generalFileBytes(const GeneralFields& g) {
  RecordWriter w;
  int n = 0;
  const int last = g.lastField;
  // Each field is written only while its number is within lastField.
  auto s = [&](const QString& v) { if (++n <= last) w.str(v); };
  auto i = [&](qint64 v) { if (++n <= last) w.integer(v); };
  auto b = [&](bool v) { if (++n <= last) w.boolean(v); };
  s(g.projectName);        // 1
  s(g.field2);             // 2
  s(g.gameTitle);          // 3
  i(g.field4);             // 4
  s(g.initialFrame);       // 5
  s(g.versionText);        // 6
  i(g.width);              // 7
  i(g.height);             // 8
  s(g.authorName);         // 9
  s(g.authorEmail);        // 10
  s(g.authorWebSite);      // 11
  i(g.resolutionOffer);    // 12
  i(0); i(0); i(0);        // 13-15
  s(g.schemeName);         // 16
  i(0); i(0); i(0);        // 17-19
  b(g.noLoading);          // 20
  b(g.noSaving);           // 21
  i(0);                    // 22
  s(g.field23);            // 23
  i(0);                    // 24
  i(g.inventoryValueA);    // 25
  i(g.inventoryValueB);    // 26
  b(g.inventoryBarOn);     // 27
  b(g.inventorySwitch2);   // 28
  b(g.inventorySwitch3);   // 29
  b(g.inventorySwitch4);   // 30
  b(g.inventorySwitch5);   // 31
  b(g.inventorySwitch6);   // 32
  s(g.inventoryPicture1);  // 33
  s(g.inventoryPicture2);  // 34
  i(g.projectResolution);  // 35
  i(0); i(0);              // 36-37
  s(g.defaultMousePointer);  // 38
  i(0); i(0);              // 39-40
  b(g.windowedMode);       // 41
  i(0);                    // 42
  b(g.startAtOnce);        // 43
  b(g.hideLogo);           // 44
  i(0);                    // 45
  b(g.noDisableTransitionsItem);  // 46
  b(g.noDisableEffectsItem);      // 47
  b(g.noMenuBar);          // 48
  i(0); i(0); i(0);        // 49-51
  b(g.runStartupProcedure);       // 52
  s(g.startupProcedureName);      // 53
  b(g.runFrameProcedure);         // 54
  s(g.frameProcedureName);        // 55
  return w.bytes();
}

GameFolderBuilder::GameFolderBuilder() : dir_(std::make_unique<QTemporaryDir>()) {
  if (!dir_->isValid()) throw std::runtime_error("cannot create a temporary folder");
  for (const char* sub : {"Frames", "FramesData", "Areas", "Icons", "Config", "External", "Schemes", "Inventory"}) {
    folder(QString::fromLatin1(sub));
  }
}

GameFolderBuilder::~GameFolderBuilder() {
  // Tests give files names in raw code pages; the toolkit could not remove those.
  removeContentsByBytes(QFile::encodeName(dir_->path()));
}

QString GameFolderBuilder::root() const { return dir_->path() + u'/'; }

QString GameFolderBuilder::path(const QString& relativePath) const {
  QString rel = relativePath;
  rel.replace(u'\\', u'/');
  return root() + rel;
}

GameFolderBuilder& GameFolderBuilder::general(const GeneralFields& fields) {
  return file(QStringLiteral("Config/General"), generalFileBytes(fields));
}

GameFolderBuilder& GameFolderBuilder::texts(int mode, const QStringList& customTexts) {
  RecordWriter w;
  w.integer(mode).endRecord();
  if (mode == 2) {
    for (int i = 0; i < 5; ++i) w.integer(0);
    w.endRecord();
    w.integer(customTexts.size()).endRecord();
    for (const QString& t : customTexts) w.str(t).endRecord();
  }
  return records(QStringLiteral("Config/Texts"), w);
}

GameFolderBuilder& GameFolderBuilder::moreIni(const QString& section, const QString& key, const QString& value) {
  platform::writeIniValue(path(QStringLiteral("Config/More")), section, key, value);
  return *this;
}

GameFolderBuilder& GameFolderBuilder::file(const QString& relativePath, const QByteArray& bytes) {
  const QString target = path(relativePath);
  QDir().mkpath(QFileInfo(target).absolutePath());
  QFile f(target);
  if (!f.open(QIODevice::WriteOnly | QIODevice::Truncate) || f.write(bytes) != bytes.size()) {
    throw std::runtime_error("cannot write " + target.toStdString());
  }
  return *this;
}

GameFolderBuilder& GameFolderBuilder::records(const QString& relativePath, const RecordWriter& writer) {
  return file(relativePath, writer.bytes());
}

GameFolderBuilder& GameFolderBuilder::picture(const QString& relativePath, int width, int height, QColor color) {
  QImage image(width, height, QImage::Format_RGB32);
  image.fill(color);
  const QString lower = relativePath.toLower();
  const char* format = lower.endsWith(QStringLiteral(".png"))                                    ? "PNG"
                       : (lower.endsWith(QStringLiteral(".jpg")) || lower.endsWith(QStringLiteral(".jpeg"))) ? "JPG"
                                                                                               : "BMP";
  const QString target = path(relativePath);
  QDir().mkpath(QFileInfo(target).absolutePath());
  if (!image.save(target, format)) throw std::runtime_error("cannot write picture " + target.toStdString());
  return *this;
}

GameFolderBuilder& GameFolderBuilder::frameHeader(const QString& frameName, int backgroundType,
                                                  const QString& picture, bool tile, std::optional<int> hotspotCount) {
  RecordWriter fme;
  fme.integer(backgroundType).str(picture).boolean(tile).endRecord();
  records(QStringLiteral("Frames/") + frameName + QStringLiteral(".fme"), fme);
  if (hotspotCount) {
    RecordWriter lks;
    lks.integer(*hotspotCount).endRecord();
    records(QStringLiteral("Frames/") + frameName + QStringLiteral(".lks"), lks);
  }
  return *this;
}

GameFolderBuilder& GameFolderBuilder::folder(const QString& relativePath) {
  QDir().mkpath(path(relativePath));
  return *this;
}

GameFolderBuilder& GameFolderBuilder::remove(const QString& relativePath) {
  // Only ever inside the game folder: a path that climbs out of it, or names
  // the folder itself, is refused.
  const QString target = QDir::cleanPath(path(relativePath));
  const QString base = QDir::cleanPath(dir_->path());
  if (!target.startsWith(base + u'/') || relativePath.contains(QStringLiteral(".."))) {
    throw std::invalid_argument("GameFolderBuilder::remove outside the game folder: " + relativePath.toStdString());
  }
  if (QFileInfo(target).isDir()) {
    QDir(target).removeRecursively();
  } else {
    QFile::remove(target);
  }
  return *this;
}

}  // namespace qm::testing
