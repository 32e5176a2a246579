#pragma once
// Where a frame's hotspot and action files are, and how to find one record
// in them: click actions by position, item drops by their key, legacy sound
// blocks by hotspot number.

#include <QString>
#include <functional>

namespace qm::startup {
class RecordReader;
}

namespace qm::logic {

// FramesData folder + frame name + extension (e.g. ".fm3").
QString frameDataPath(const QString& frameName, const QString& extension);
// The ".mr2" file when there is one, else the ".fm2" file; "" when neither exists.
QString hotspotFileOf(const QString& frameName);
// The ".mr3" file when there is one, else the ".fm3" file; "" when neither exists.
QString clickActionFileOf(const QString& frameName);

// The key of an item-drop action: hotspot number, "_", item name, ".drg".
QString dropActionKey(int areaIndex, const QString& itemName);

// Each positions the reader on the first action field (the ten header fields
// passed) and answers true, or answers false when the file holds no such
// record. `stop` (optional) ends a search early when it answers true.
bool seekClickAction(startup::RecordReader& reader, int areaIndex);
bool seekDropAction(startup::RecordReader& reader, const QString& key, const std::function<bool()>& stop = {});
bool seekLegacySoundRecord(startup::RecordReader& reader, int areaIndex, const std::function<bool()>& stop = {});

}  // namespace qm::logic
