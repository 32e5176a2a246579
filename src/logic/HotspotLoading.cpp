// Building the hotspot controls of the current frame from its hotspot file,
// and removing them when the frame changes.

#include <cmath>

#include "engine/CursorFile.h"
#include "engine/Game.h"
#include "media/Centibels.h"
#include "logic/ErrorReports.h"
#include "logic/FrameDataFiles.h"
#include "logic/GameLogic.h"
#include "logic/HotspotRecord.h"
#include "logic/RecordSkipping.h"
#include "platform/FileResolver.h"
#include "startup/MediaFiles.h"
#include "startup/Project.h"
#include "startup/RecordReader.h"

namespace qm::logic {

namespace {

// As many as text boxes: more than any editor ever wrote. The window's
// controls are siblings, and the toolkit paints overlapping siblings
// recursively, so tens of thousands of them would overflow the stack.
constexpr int kMaxHotspots = 10000;

// A project media file (folder + name as the game wrote it) through the media
// locator, as a native path for the controls.

template <typename Fn>
void ignoringErrors(Fn&& fn) {
  try {
    fn();
  } catch (const std::exception&) {
  }
}

}  // namespace

void GameLogic::ResetFrameAreas() {
  ignoringErrors([&] { game_.Area.UnloadAll(); });
  ignoringErrors([&] { game_.VideoPlayer.UnloadAll(); });
  ignoringErrors([&] {
    while (game_.AniGif.UBound() > 0) {
      const int i = game_.AniGif.UBound();
      if (game_.AniGifBox.exists(i)) game_.AniGifBox[i].hideControl();
      game_.AniGif.Unload(i);
    }
  });
  ignoringErrors([&] { game_.AniGifBox.UnloadAll(); });
}

void GameLogic::LoadAreas() {
  const QString file = hotspotFileOf(startup::CurrentFrameName());
  if (file.isEmpty()) return;
  mergedHotspotIndex_ = 1;
  std::optional<startup::RecordReader> reader;
  try {
    reader.emplace(startup::RecordReader::fromFile(file));
  } catch (const VbError& e) {
    reportStandardError(QStringLiteral(" Unable to load hotspot #1. ") + e.description);
    return;
  }
  for (int n = 1; !reader->atEnd() && !startup::GameStopped(); ++n) {
    if (n > kMaxHotspots) {
      reportStandardError(QStringLiteral(" Too many hotspots in this frame: only the first %1 are loaded.")
                              .arg(kMaxHotspots));
      break;
    }
    HotspotRecord record;
    bool broken = false;
    try {
      readHotspotRecord(*reader, record);
    } catch (const VbError& e) {
      broken = true;
      reportStandardError(QStringLiteral(" Unable to load hotspot #%1. ").arg(n) + e.description);
    }
    mergedHotspotIndex_ = updatedMergedIndex(mergedHotspotIndex_, n, record.mergedMark);
    try {
      buildHotspot(n, record);
    } catch (const std::exception& e) {
      reportStandardError(QStringLiteral(" Unable to load hotspot #%1. ").arg(n) + VbError::describe(e));
    }
    // A broken record is passed over up to its separator, so the next
    // hotspot starts in step.
    if (broken) ignoringErrors([&] { skipToRecordEnd(*reader); });
  }
}

void GameLogic::buildHotspot(int n, const HotspotRecord& record) {
  const auto& paths = startup::project().paths;
  auto& area = game_.Area.Load(n);
  if (record.isAnimated()) {
    area.hideControl();
    area.clearPicture();
    area.move(0, 0, 15, 15);
    const QString picture = startup::locatedMedia(paths.areas, record.pictureFile);
    const int link = game_.AniGifNewWithIndex(n, picture, record.x + 30, record.y + 30,
                                              record.animationSpeedValue());
    area.setWhatsThisHelpId(link);
    if (link > 0 && game_.AniGifBox.exists(link)) {
      auto& box = game_.AniGifBox[link];
      if (record.hasCustomCursor()) {
        box.setMousePointer(engine::kPointerCustom);
        box.setMouseIcon(startup::locatedMedia(paths.icons, record.cursor));
      } else {
        engine::ApplyDefaultCursor(box);
      }
    }
    return;
  }

  const TwipRect rect = hotspotControlRect(record);
  area.move(rect.left, rect.top, rect.width, rect.height);
  area.setStretch(record.stretch == 1);
  if (record.hasPicture)
    area.loadPicture(startup::locatedMedia(paths.areas, record.pictureFile));
  else
    area.clearPicture();
  if (!startup::GameStopped()) {
    if (record.hasCustomCursor()) {
      area.setMousePointer(engine::kPointerCustom);
      area.setMouseIcon(startup::locatedMedia(paths.icons, record.cursor));
    } else {
      engine::ApplyDefaultCursor(area);
    }
  }
  if (record.hasVideo) {
    auto& player = game_.VideoPlayer.Load(n);
    player.move(area.left(), area.top());
    if (record.videoSize == 0) {
      player.setAutoSize(true);
    } else {
      player.setAutoSize(false);
      player.setHeight(area.height());
      player.setWidth(area.width());
    }
    const QString video = startup::locatedMedia(paths.frames, record.videoFile);
    player.setFileName(video);
    // A missing file has been reported by the locator; one that is there but
    // cannot be played is reported here, and the hotspot goes on loading.
    if (platform::fileExists(video) && !player.errorString().isEmpty())
      reportStandardError(QStringLiteral(" Unable to load hotspot #%1. ").arg(n) + player.errorString());
    player.setRate(record.videoRate == 0 ? 1.0 : record.videoRate);
    player.setPlayCount(record.videoPlayCount);
    player.setVolume(media::fromLevel(record.videoVolume));
    player.zOrder(0);
    area.setWhatsThisHelpId(-1);
  }
  area.zOrder(0);
}

}  // namespace qm::logic
