#include "engine/WalkthroughSoundSteps.h"

#include <QFileInfo>
#include <vector>

#include "engine/Game.h"
#include "platform/NativeName.h"

namespace qm::engine {

namespace {

// The player's file name as people read it (a raw Windows-1252 or DOS name as its text).
QString shownName(const MediaPlayerControl& p) { return QFileInfo(platform::readableName(p.fileName())).fileName(); }

bool holds(const MediaPlayerControl& p, const QString& name) {
  return !p.fileName().isEmpty() && shownName(p).compare(name, Qt::CaseInsensitive) == 0;
}

QString describe(const MediaPlayerControl& p) {
  if (p.fileName().isEmpty()) return QStringLiteral("nothing loaded");
  return QStringLiteral("\"") + shownName(p) + QStringLiteral("\" ") +
         (p.playState() == 2 ? QStringLiteral("playing") : QStringLiteral("not playing")) +
         QStringLiteral(" at ") + QString::number(p.volume());
}

// Every media player of the game window: the sound channels' players, the
// hotspot video players, the one-time video player and the script's player.
std::vector<MediaPlayerControl*> allPlayers(Game& g) {
  std::vector<MediaPlayerControl*> out;
  for (int i : g.MPlayer.indices())
    if (i > 0) out.push_back(g.MPlayer.item(i));
  for (int i : g.VideoPlayer.indices())
    if (i > 0) out.push_back(g.VideoPlayer.item(i));
  if (g.OneTimeVideoPlayer) out.push_back(g.OneTimeVideoPlayer);
  if (g.CustomMediaPlayer) out.push_back(g.CustomMediaPlayer);
  return out;
}

std::optional<int> volumeWord(const QStringList& w, int at, bool* bad) {
  if (w.size() <= at) return std::nullopt;
  bool ok = false;
  const int v = w[at].toInt(&ok);
  if (!ok) *bad = true;
  return v;
}

}  // namespace

std::optional<QString> expectSound(Game* g, const QStringList& w) {
  const QString what = w.size() >= 2 ? w[1].toLower() : QString();
  if (what == QLatin1String("channel")) {
    bool ok = false;
    const int n = w.size() >= 3 ? w[2].toInt(&ok) : 0;
    bool bad = false;
    const auto volume = volumeWord(w, 4, &bad);
    if (!ok || n < 1 || n > SoundChannels::kPlayers || w.size() < 4 || w.size() > 5 || bad)
      return QStringLiteral("expect channel needs a channel 1 to 7, a quoted file name and maybe a volume");
    if (!g) return QStringLiteral("the game has not started");
    const MediaPlayerControl& p = g->soundChannels().ChannelPlayer(n);
    const QString player = QStringLiteral("channel %1 (player %2) has ").arg(n).arg(p.vbIndex());
    if (!holds(p, w[3]) || p.playState() != 2) return player + describe(p);
    if (volume && p.volume() != *volume) return player + describe(p);
    return QString();
  }
  if (what == QLatin1String("playing") || what == QLatin1String("stopped")) {
    const bool wantPlaying = what == QLatin1String("playing");
    bool bad = false;
    const auto volume = wantPlaying ? volumeWord(w, 3, &bad) : std::nullopt;
    if (w.size() < 3 || w.size() > (wantPlaying ? 4 : 3) || bad)
      return wantPlaying ? QStringLiteral("expect playing needs a quoted file name and maybe a volume")
                         : QStringLiteral("expect stopped needs a quoted file name");
    if (!g) return QStringLiteral("the game has not started");
    QStringList found;
    for (MediaPlayerControl* p : allPlayers(*g)) {
      if (!holds(*p, w[2]) || p->playState() != 2) continue;
      if (!wantPlaying) return p->vbName() + QStringLiteral("(%1) plays it").arg(p->vbIndex());
      if (!volume || p->volume() == *volume) return QString();
      found << p->vbName() + QStringLiteral("(%1) plays it at %2").arg(p->vbIndex()).arg(p->volume());
    }
    if (!wantPlaying) return QString();
    return found.isEmpty() ? QStringLiteral("no player plays it") : found.join(QStringLiteral("; "));
  }
  return std::nullopt;
}

}  // namespace qm::engine
