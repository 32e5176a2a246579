// Pictures a game names: located (stored names, CD), resolved case-insensitively
// and decoded once through the picture cache.
#pragma once

#include <QImage>
#include <QString>
#include <optional>

namespace qm::engine {

class ImageControl;
class PictureBoxControl;

// The decoded picture of a game path. A missing file gives nullopt (the
// missing-file warning has been shown); a file that is not a picture throws
// qm::VbError 481 "Invalid picture".
std::optional<QImage> loadGamePicture(const QString& gamePath);

// The same, straight into a control; false when the file was missing.
bool loadGamePicture(ImageControl& control, const QString& gamePath);
bool loadGamePicture(PictureBoxControl& control, const QString& gamePath);

}  // namespace qm::engine
