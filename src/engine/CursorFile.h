// Icon (.ico) and cursor (.cur) files as mouse pointers and pictures. The file
// kind comes from its header, not its name.
#pragma once

#include <QByteArray>
#include <QCursor>
#include <QImage>
#include <optional>

namespace qm::engine {

struct DecodedIcon {
  QImage image;
  QPoint hotSpot;  // cursors carry theirs; icons point at their centre
};

// The largest image of an icon or cursor file; nullopt when the bytes are not one.
std::optional<DecodedIcon> decodeIconFile(const QByteArray& bytes);
std::optional<QImage> decodeIconImage(const QByteArray& bytes);
// A pointer from a native file path (icon, cursor, or any picture: hot spot at its centre).
std::optional<QCursor> loadCursorFile(const QString& nativePath);

}  // namespace qm::engine
