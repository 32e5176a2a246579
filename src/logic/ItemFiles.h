// The item files of the Areas folder: NAME.obj names the item's icon file;
// DRAGGED_on_TARGET.drg describes what dropping one item on the other does.
#pragma once

#include <QString>
#include <optional>

namespace qm::startup {
class RecordReader;
}

namespace qm::logic {

// The icon file named by an item's ".obj" file (its one field).
QString readItemIconName(startup::RecordReader& reader);

// The first four fields of a combination: which items go, which one comes.
struct CombinationHead {
  bool draggedGoes = false;  // field 1 = 1
  bool targetGoes = false;   // field 2 = 1
  bool createsItem = false;  // field 3 = 1
  QString newItem;           // field 4
};
// The optional tail: fields 5-7 unused, 8 run the script, 9 the script with
// "|" for each double quote (decoded here).
struct CombinationScript {
  bool run = false;
  QString code;
};

CombinationHead readCombinationHead(startup::RecordReader& reader);
// nullopt when the file ends after the head.
std::optional<CombinationScript> readCombinationScript(startup::RecordReader& reader);

}  // namespace qm::logic
