#include "engine/controls/VbColor.h"

namespace qm::engine {

namespace {
// The classic Windows system colours, by index (COLOR_SCROLLBAR = 0 ...).
QColor systemColor(int index) {
  switch (index) {
    case 0: return QColor(200, 200, 200);    // scroll bars
    case 1: return QColor(0, 128, 128);      // desktop
    case 2: return QColor(0, 0, 128);        // active title bar
    case 3: return QColor(128, 128, 128);    // inactive title bar
    case 4: return QColor(192, 192, 192);    // menu bar
    case 5: return QColor(255, 255, 255);    // window background
    case 6: return QColor(0, 0, 0);          // window frame
    case 7: return QColor(0, 0, 0);          // menu text
    case 8: return QColor(0, 0, 0);          // window text
    case 9: return QColor(255, 255, 255);    // title bar text
    case 12: return QColor(128, 128, 128);   // application workspace
    case 13: return QColor(0, 0, 128);       // highlight
    case 14: return QColor(255, 255, 255);   // highlighted text
    case 15: return QColor(192, 192, 192);   // button face
    case 16: return QColor(128, 128, 128);   // button shadow
    case 17: return QColor(128, 128, 128);   // grey text
    case 18: return QColor(0, 0, 0);         // button text
    case 20: return QColor(255, 255, 255);   // button highlight
    case 24: return QColor(255, 255, 225);   // tool tip background
    default: return QColor(192, 192, 192);
  }
}
}  // namespace

QColor colorFromVb(int64_t value) {
  const uint32_t v = static_cast<uint32_t>(value);
  if (v & 0x80000000u) return systemColor(static_cast<int>(v & 0xFFu));
  return QColor(static_cast<int>(v & 0xFF), static_cast<int>((v >> 8) & 0xFF),
                static_cast<int>((v >> 16) & 0xFF));
}

int32_t colorToVb(const QColor& color) {
  return static_cast<int32_t>(color.red() | (color.green() << 8) | (color.blue() << 16));
}

}  // namespace qm::engine
