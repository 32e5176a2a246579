#include "engine/GamePictures.h"

#include "engine/PictureCache.h"
#include "engine/controls/ImageControl.h"
#include "engine/controls/PictureBoxControl.h"
#include "platform/FileResolver.h"
#include "platform/VbError.h"
#include "startup/MediaFiles.h"

namespace qm::engine {

namespace {
std::optional<std::pair<QImage, QString>> locateAndDecode(const QString& gamePath) {
  const QString located = startup::LocateMediaFile(gamePath);
  const auto native = platform::resolveExisting(located);
  if (!native) return std::nullopt;
  auto image = PictureCache::instance().load(*native);
  if (!image) throw VbError(481, QStringLiteral("Invalid picture"));
  return std::make_pair(*image, *native);
}
}  // namespace

std::optional<QImage> loadGamePicture(const QString& gamePath) {
  auto r = locateAndDecode(gamePath);
  if (!r) return std::nullopt;
  return r->first;
}

bool loadGamePicture(ImageControl& control, const QString& gamePath) {
  auto r = locateAndDecode(gamePath);
  if (!r) return false;
  control.setPictureImage(r->first, r->second);
  return true;
}

bool loadGamePicture(PictureBoxControl& control, const QString& gamePath) {
  auto r = locateAndDecode(gamePath);
  if (!r) return false;
  control.setPictureImage(r->first, r->second);
  return true;
}

}  // namespace qm::engine
