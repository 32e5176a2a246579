// Showing and hiding the hotspot controls of the current frame (with their
// animated pictures and videos) by the visibility rules.

#include <QCoreApplication>

#include "engine/Game.h"
#include "logic/ErrorReports.h"
#include "logic/FrameDataFiles.h"
#include "logic/GameLogic.h"
#include "logic/HotspotVisibility.h"
#include "startup/PlayMediaControl.h"
#include "startup/Project.h"
#include "startup/RecordReader.h"

namespace qm::logic {

namespace {
void letEventsRun() { QCoreApplication::processEvents(); }
}  // namespace

void GameLogic::ShowOrNotShowAreas() {
  const QString frame = startup::CurrentFrameName();
  const QString file = hotspotFileOf(frame);
  if (file.isEmpty()) return;
  try {
    auto reader = startup::RecordReader::fromFile(file);
    VisibilityContext context{frame, &Disappear, &variables, [] { return startup::GameStopped(); }};
    evaluateHotspotVisibility(reader, context, [this](int n, bool shown) { applyVisibility(n, shown); });
  } catch (const VbError& e) {
    reportStandardError(QStringLiteral(" Unable to set hotspots visibility. ") + e.description);
  } catch (const std::exception& e) {
    reportStandardError(QStringLiteral(" Unable to set hotspots visibility. ") + QString::fromUtf8(e.what()));
  }
}

void GameLogic::applyVisibility(int n, bool shown) {
  auto& area = game_.Area[n];
  area.setVisibleVb(shown);
  const int link = area.whatsThisHelpId();

  if (link > 0) {
    // Animated picture: failures here are ignored and the pass goes on.
    try {
      auto& box = game_.AniGifBox[link];
      if (box.visible() && !shown) {
        box.setVisibleVb(false);
        game_.AniGif[link].stop();
        letEventsRun();
      } else if (!box.visible() && shown) {
        box.setVisibleVb(true);
        game_.AniGif[link].stop();
        letEventsRun();
        game_.AniGif[link].play();
        letEventsRun();
      } else {
        box.setVisibleVb(shown);
      }
    } catch (const std::exception&) {
    }
  }

  if (link == -1) {
    auto& player = game_.VideoPlayer[n];
    if (player.visible() && !shown) {
      player.setVisibleVb(false);
      player.stop();
    } else if (!player.visible() && shown) {
      player.setCurrentPosition(0);
      if (!game_.picWhere || !game_.picWhere->visible()) {
        startup::PlayMediaControl([&player] { player.play(); });
      }
      player.setVisibleVb(true);
    }
  }
}

}  // namespace qm::logic
