// The rippling-water file of a frame (Frames\ frame .rwe): a record file of
// six fields the player ignores, then the effect rectangle in pixels of the
// frame picture (left, top, width, height), the ripple parameter, the ripple
// speed (16-bit integers) and, optionally, whether the waves run backwards.
#pragma once

#include <QByteArray>
#include <QString>

namespace qm::engine {

struct RippleEffectFile {
  int left = 0, top = 0, width = 0, height = 0;
  int parameter = 0;
  int speed = 0;
  bool reverse = false;  // false when the file ends before it
};

// Reads the fields; a malformed file raises VbError (as a record read does).
// A rectangle that cannot be placed on the frame picture (a value whose twips
// do not fit in a 16-bit integer: above 2184 pixels) raises Overflow; an empty
// or negative width or height raises Invalid property value (380).
RippleEffectFile parseRippleEffectFile(const QByteArray& bytes, const QString& fileName);

}  // namespace qm::engine
