// Every file a game names, looked up as the player looks it up (letter case
// ignored, stored media names, the CD index) and decoded as the player
// decodes it.
#include <QFileInfo>
#include <QHash>

#include "doctor/Checks.h"
#include "doctor/GameFacts.h"
#include "engine/PictureCache.h"
#include "media/MediaProbe.h"
#include "platform/FileResolver.h"
#include "startup/MediaFiles.h"

namespace qm::doctor {
namespace {

enum class Found { Here, OnCd, Missing };

struct Located {
  Found found = Found::Missing;
  QString native;  // when Here
};

QString bareName(const QString& path) {
  const QString native = platform::toNativeSeparators(path);
  return native.mid(native.lastIndexOf(u'/') + 1);
}

Located locate(const GameFacts& facts, const QString& path) {
  if (auto native = platform::resolveExisting(path); native && platform::fileExists(*native)) return {Found::Here, *native};
  if (path.size() >= 5) {
    for (bool plain : {false, true}) {
      const QString stored = startup::GetStoredMediaFileName(path, plain);
      if (auto native = platform::resolveExisting(stored); native && platform::fileExists(*native))
        return {Found::Here, *native};
    }
  }
  if (facts.hasCdIndex) {
    const QString name = bareName(path);
    for (const auto& entry : facts.cdIndex.entries)
      if (entry.name.compare(name, Qt::CaseInsensitive) == 0) return {Found::OnCd, {}};
  }
  return {};
}

QString kindWord(MediaKind kind) {
  switch (kind) {
    case MediaKind::Picture: return QStringLiteral("picture");
    case MediaKind::AnimatedPicture: return QStringLiteral("animated picture");
    case MediaKind::Pointer: return QStringLiteral("icon");
    case MediaKind::Sound: return QStringLiteral("sound");
    case MediaKind::Video: return QStringLiteral("video");
    case MediaKind::Other: return QStringLiteral("file");
  }
  return QStringLiteral("file");
}

// "" when the file decodes; else why not.
QString decodeProblem(const QString& native, MediaKind kind) {
  switch (kind) {
    case MediaKind::Picture:
    case MediaKind::AnimatedPicture:
    case MediaKind::Pointer:
      return engine::PictureCache::instance().load(native) ? QString()
                                                           : QStringLiteral("it is not a picture the player can decode");
    case MediaKind::Sound:
    case MediaKind::Video: {
      QString error;
      const auto info = media::probeMedia(native, &error);
      // The probe's message names the file by its full path; the finding names it already.
      error.remove(QStringLiteral(": ") + native).remove(native);
      if (!info) return error.isEmpty() ? QStringLiteral("it does not decode") : QStringLiteral("it does not decode: ") + error;
      if (kind == MediaKind::Sound && info->channels == 0 && info->format != QLatin1String("midi") &&
          info->format != QLatin1String("rmi"))
        return QStringLiteral("it holds no sound");
      if (kind == MediaKind::Video && !info->video.isValid() && info->channels == 0)
        return QStringLiteral("it holds neither pictures nor sound");
      return {};
    }
    case MediaKind::Other: return {};
  }
  return {};
}

}  // namespace

void checkNamedFiles(const GameFacts& facts, Findings& findings) {
  QHash<QString, Located> located;            // by lower-case game path
  QHash<QString, QString> problems;           // by native path and kind
  for (const NamedFile& file : facts.files) {
    const QString key = platform::toNativeSeparators(file.path).toLower();
    auto it = located.find(key);
    if (it == located.end()) it = located.insert(key, locate(facts, file.path));
    const Located& where = *it;
    if (where.found == Found::Missing) {
      QString folder = facts.relative(file.path.left(file.path.size() - file.name.size()));
      while (folder.endsWith(u'/')) folder.chop(1);
      findings.error(file.at, QStringLiteral("missing-file"),
                     QStringLiteral("the %1 \"%2\" is not in %3/ (letter case ignored, stored names and CD index too)")
                         .arg(kindWord(file.kind), file.name, folder));
      continue;
    }
    if (where.found == Found::OnCd) continue;
    const QString problemKey = where.native + u'|' + QString::number(static_cast<int>(file.kind));
    auto p = problems.find(problemKey);
    if (p == problems.end()) p = problems.insert(problemKey, decodeProblem(where.native, file.kind));
    if (!p->isEmpty())
      findings.error(file.at, QStringLiteral("undecodable-file"),
                     QStringLiteral("the %1 \"%2\" is found but %3").arg(kindWord(file.kind), file.name, *p));
  }
  engine::PictureCache::instance().clear();

  QHash<QString, bool> items;
  for (const VariableReference& item : facts.itemReferences) {
    const QString key = item.name.toLower();
    auto it = items.find(key);
    if (it == items.end())
      it = items.insert(key, platform::fileExists(facts.paths.areas + item.name + QStringLiteral(".obj")));
    if (!*it)
      findings.error(item.at, QStringLiteral("unknown-item"),
                     QStringLiteral("the item \"%1\" has no item file Areas/%1.obj").arg(item.name));
  }
}

}  // namespace qm::doctor
