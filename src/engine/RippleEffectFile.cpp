#include "engine/RippleEffectFile.h"

#include "engine/controls/VbControl.h"
#include "platform/VbError.h"
#include "startup/RecordReader.h"

namespace qm::engine {

namespace {

// Positions go to the boxes in twips, as 16-bit integers.
int checkedPixels(int pixels) {
  const int twips = pixels * kTwipsPerPixel;
  if (twips < -32768 || twips > 32767) throw VbError::overflow();
  return pixels;
}

}  // namespace

RippleEffectFile parseRippleEffectFile(const QByteArray& bytes, const QString& fileName) {
  startup::RecordReader in(bytes, fileName);
  RippleEffectFile e;
  in.skip(6);
  e.left = in.readInt16();
  e.top = in.readInt16();
  e.width = in.readInt16();
  e.height = in.readInt16();
  e.parameter = in.readInt16();
  e.speed = in.readInt16();
  if (!in.atEnd()) e.reverse = in.readBool();
  checkedPixels(e.left);
  checkedPixels(e.top);
  checkedPixels(e.width);
  checkedPixels(e.height);
  if (e.width <= 0 || e.height <= 0) throw VbError::of(380);
  return e;
}

}  // namespace qm::engine
