// Pictures named by native paths (raw bytes escaped, platform/NativeName.h).
#pragma once

#include <QImage>
#include <QString>

namespace qm::platform {

// The picture in the plain file at the path, decoded by its content (the
// name's extension only as a hint); a null image when it is missing or cannot
// be decoded.
QImage readImageFile(const QString& nativePath);

}  // namespace qm::platform
