#include "logic/FrameDataFiles.h"

#include "logic/RecordSkipping.h"
#include "platform/FileResolver.h"
#include "startup/Project.h"
#include "startup/RecordReader.h"

namespace qm::logic {

QString frameDataPath(const QString& frameName, const QString& extension) {
  return startup::project().paths.framesData + frameName + extension;
}

namespace {
QString firstExisting(const QString& frameName, const QString& preferred, const QString& fallback) {
  const QString first = frameDataPath(frameName, preferred);
  if (platform::fileExists(first)) return first;
  const QString second = frameDataPath(frameName, fallback);
  if (platform::fileExists(second)) return second;
  return {};
}
}  // namespace

QString hotspotFileOf(const QString& frameName) {
  return firstExisting(frameName, QStringLiteral(".mr2"), QStringLiteral(".fm2"));
}

QString clickActionFileOf(const QString& frameName) {
  return firstExisting(frameName, QStringLiteral(".mr3"), QStringLiteral(".fm3"));
}

QString dropActionKey(int areaIndex, const QString& itemName) {
  return QString::number(areaIndex) + QLatin1Char('_') + itemName + QStringLiteral(".drg");
}

bool seekClickAction(startup::RecordReader& reader, int areaIndex) {
  if (areaIndex < 1) return false;
  if (!skipRecords(reader, areaIndex - 1) || reader.atEnd()) return false;
  reader.skip(10);
  return true;
}

bool seekDropAction(startup::RecordReader& reader, const QString& key, const std::function<bool()>& stop) {
  const QString wanted = key.toLower();
  while (!reader.atEnd()) {
    if (stop && stop()) return false;
    reader.skip(1);
    if (reader.readString().toLower() == wanted) {
      reader.skip(8);
      return true;
    }
    skipToRecordEnd(reader);
  }
  return false;
}

bool seekLegacySoundRecord(startup::RecordReader& reader, int areaIndex, const std::function<bool()>& stop) {
  while (!reader.atEnd()) {
    if (stop && stop()) return false;
    reader.skip(1);
    if (reader.readInt16() == areaIndex) {
      reader.skip(8);
      return true;
    }
    skipToRecordEnd(reader);
  }
  return false;
}

}  // namespace qm::logic
