// Icon (.ico) and cursor (.cur) files: the largest image and, for cursors, the
// hot spot. The file kind comes from its header, not its name.
#pragma once

#include <QByteArray>
#include <QImage>
#include <QPoint>
#include <optional>

namespace qm::platform {

struct DecodedIcon {
  QImage image;
  QPoint hotSpot;  // cursors carry theirs; icons point at their centre
};

// The largest image of an icon or cursor file; nullopt when the bytes are not one.
std::optional<DecodedIcon> decodeIconFile(const QByteArray& bytes);
std::optional<QImage> decodeIconImage(const QByteArray& bytes);

}  // namespace qm::platform
