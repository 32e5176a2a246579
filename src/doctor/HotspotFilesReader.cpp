// A frame's hotspot files: the hotspots, their click and drop actions, their
// pick-ups and their legacy sounds.
#include <algorithm>

#include "doctor/FrameReading.h"
#include "engine/LegacySoundBlock.h"
#include "logic/FrameDataFiles.h"
#include "logic/HotspotRecord.h"
#include "platform/FileResolver.h"
#include "script/Plugins.h"
#include "startup/RecordReader.h"

namespace qm::doctor {
namespace {

using startup::RecordReader;

QString framesData(const GameFacts& facts, const QString& frame, const char* extension) {
  return facts.paths.framesData + frame + QLatin1String(extension);
}

// The merged file (".mr2") wins over the plain one, as the player chooses.
std::optional<DataFile> loadEither(GameFacts& facts, Findings& findings, const QString& frame, const char* merged,
                                   const char* plain) {
  if (auto file = loadDataFile(facts, findings, framesData(facts, frame, merged))) return file;
  return loadDataFile(facts, findings, framesData(facts, frame, plain));
}

void gatherHotspotFacts(GameFacts& facts, const logic::HotspotRecord& h, const Place& at, const QString& frame) {
  auto named = [&](const QString& name, const QString& field, const QString& folder, MediaKind kind) {
    if (name.isEmpty()) return;
    Place p = at;
    p.field = field;
    facts.files.push_back(NamedFile{p, folder + name, name, kind});
  };
  if (h.hasPicture)
    named(h.pictureFile, QStringLiteral("picture"), facts.paths.areas,
          h.isAnimated() ? MediaKind::AnimatedPicture : MediaKind::Picture);
  if (h.hasCustomCursor()) named(h.cursor, QStringLiteral("pointer"), facts.paths.icons, MediaKind::Pointer);
  if (h.hasVideoBlock && h.hasVideo) named(h.videoFile, QStringLiteral("video"), facts.paths.frames, MediaKind::Video);
  if (h.useConditions != 0) {
    for (const QString& v : h.mustBeFalse)
      facts.variableReferences.push_back({Place{at.file, at.line, at.record, QStringLiteral("condition (must be 0)")}, v});
    for (const QString& v : h.mustBeTrue)
      facts.variableReferences.push_back({Place{at.file, at.line, at.record, QStringLiteral("condition (must be 1)")}, v});
  }
  (void)frame;
}

int readHotspots(GameFacts& facts, Findings& findings, const FrameBeingRead& frame) {
  const auto file = loadEither(facts, findings, frame.name, ".mr2", ".fm2");
  if (!file) {
    if (frame.hotspotCount > 0)
      findings.error(Place{facts.relative(facts.paths.frames + frame.name + QStringLiteral(".lks")), 0, 0, {}},
                     QStringLiteral("missing-hotspot-file"),
                     QStringLiteral("the frame has %1 hotspots but no hotspot file FramesData/%2.fm2")
                         .arg(frame.hotspotCount)
                         .arg(frame.name));
    return 0;
  }
  RecordReader in(file->bytes, file->path);
  const int record = forEachRecord(in, [&](qsizetype start, int record) {
    logic::HotspotRecord h;
    NextRecord next = NextRecord::Here;
    try {
      logic::readHotspotRecord(in, h);
    } catch (const VbError& e) {
      reportUnparsable(findings, file->stoppedAt(in, start, record), QStringLiteral("hotspot %1").arg(record), e);
      next = e.number == 62 ? NextRecord::Stop : NextRecord::AfterSeparator;
    }
    gatherHotspotFacts(facts, h, recordPlace(*file, start, record, {}), frame.name);
    return next;
  });
  if (record != frame.hotspotCount)
    findings.warning(Place{file->relative, 0, 0, {}}, QStringLiteral("hotspot-count"),
                     QStringLiteral("the hotspot file holds %1 hotspots but the frame's .lks file counts %2")
                         .arg(record)
                         .arg(frame.hotspotCount));
  return record;
}

// Click actions (".mr3"/".fm3", one record per hotspot) or item drops
// (".fm0", keyed "N_item.drg"): ten header fields, then the action.
void readActions(GameFacts& facts, Findings& findings, const FrameBeingRead& frame, const DataFile& file,
                 int hotspots, bool drops) {
  RecordReader in(file.bytes, file.path);
  const int records = forEachRecord(in, [&](qsizetype start, int record) {
    const QString what = drops ? QStringLiteral("item drop %1").arg(record) : QStringLiteral("action of hotspot %1").arg(record);
    logic::ActionRecord action;
    try {
      if (!drops) {
        in.skip(10);
      } else {
        in.skip(1);
        const QString key = in.readString();
        in.skip(8);
        // "3_Key.drg": the hotspot number, the item's name.
        const int cut = key.indexOf(u'_');
        bool ok = false;
        const int hotspot = cut > 0 ? key.left(cut).toInt(&ok) : 0;
        QString item = cut > 0 ? key.mid(cut + 1) : QString();
        if (item.endsWith(QLatin1String(".drg"), Qt::CaseInsensitive)) item.chop(4);
        const Place at = recordPlace(file, start, record, QStringLiteral("key"));
        if (!ok || item.isEmpty()) {
          findings.warning(at, QStringLiteral("bad-drop-key"),
                           QStringLiteral("the item drop key \"%1\" names no hotspot and item").arg(key));
        } else {
          if (hotspot < 1 || hotspot > hotspots)
            findings.warning(at, QStringLiteral("no-such-hotspot"),
                             QStringLiteral("the item drop is on hotspot %1, which the frame does not have").arg(hotspot));
          facts.itemReferences.push_back({at, item});
        }
      }
      logic::readActionFields(in, action, nullptr);
    } catch (const VbError& e) {
      reportUnparsable(findings, file.stoppedAt(in, start, record), what, e);
      gatherActionFacts(facts, action, recordPlace(file, start, record, {}), frame.name);
      return e.number == 62 ? NextRecord::Stop : NextRecord::AfterSeparator;
    }
    gatherActionFacts(facts, action, recordPlace(file, start, record, {}), frame.name);
    return NextRecord::AfterSeparator;
  });
  if (!drops && records < hotspots)
    findings.warning(Place{file.relative, 0, 0, {}}, QStringLiteral("missing-actions"),
                     QStringLiteral("the action file holds %1 actions for %2 hotspots; clicks on the others do nothing")
                         .arg(records)
                         .arg(hotspots));
}

// Pick-ups: the hotspot number, eight fields, then 1 and the item's name.
void readPickUps(GameFacts& facts, Findings& findings, const FrameBeingRead& frame, int hotspots) {
  const auto file = loadDataFile(facts, findings, framesData(facts, frame.name, ".fm4"));
  if (!file) return;
  RecordReader in(file->bytes, file->path);
  forEachRecord(in, [&](qsizetype start, int record) {
    try {
      in.skip();
      const int16_t hotspot = in.readInt16();
      in.skip(8);
      const Place at = recordPlace(*file, start, record, QStringLiteral("item"));
      if (in.readInt16() == 1) {
        const QString item = in.readString();
        if (hotspot < 1 || hotspot > hotspots)
          findings.warning(at, QStringLiteral("no-such-hotspot"),
                           QStringLiteral("the pick-up is on hotspot %1, which the frame does not have").arg(hotspot));
        facts.itemReferences.push_back({at, item});
      }
    } catch (const VbError& e) {
      reportUnparsable(findings, file->stoppedAt(in, start, record), QStringLiteral("pick-up %1").arg(record), e);
      if (e.number == 62) return NextRecord::Stop;
    }
    return NextRecord::AfterSeparator;
  });
}

// Older projects' hotspot sounds: the hotspot number, eight fields, the block.
void readLegacySounds(GameFacts& facts, Findings& findings, const FrameBeingRead& frame) {
  const auto file = loadDataFile(facts, findings, framesData(facts, frame.name, ".fm5"));
  if (!file) return;
  RecordReader in(file->bytes, file->path);
  forEachRecord(in, [&](qsizetype start, int record) {
    try {
      in.skip();
      in.readInt16();
      in.skip(8);
    } catch (const VbError& e) {
      reportUnparsable(findings, file->stoppedAt(in, start, record), QStringLiteral("hotspot sound %1").arg(record), e);
      return NextRecord::Stop;
    }
    const engine::LegacySoundBlock block = engine::readLegacySoundBlock(in);
    if (block.error) {
      reportUnparsable(findings, file->stoppedAt(in, start, record), QStringLiteral("hotspot sound %1").arg(record),
                       *block.error);
      if (block.error->number == 62) return NextRecord::Stop;
    }
    for (size_t c = 0; c < block.entries.size(); ++c) {
      const auto& entry = block.entries[c];
      if (!entry.play || entry.soundFile.isEmpty()) continue;
      facts.files.push_back(NamedFile{recordPlace(*file, start, record, QStringLiteral("channel %1 sound").arg(c + 1)),
                                      facts.paths.areas + entry.soundFile, entry.soundFile, MediaKind::Sound});
    }
    return NextRecord::AfterSeparator;
  });
}

}  // namespace

void gatherActionFacts(GameFacts& facts, const logic::ActionRecord& a, const Place& at, const QString& frame) {
  auto place = [&](const QString& field) { return Place{at.file, at.line, at.record, field}; };
  auto named = [&](const QString& name, const QString& field, const QString& folder, MediaKind kind) {
    if (!name.isEmpty()) facts.files.push_back(NamedFile{place(field), folder + name, name, kind});
  };
  auto variable = [&](const QString& name, const QString& field) {
    if (!name.isEmpty()) facts.variableReferences.push_back({place(field), name});
  };
  if (a.variableChangeOn != 0) variable(a.variableName, QStringLiteral("variable"));
  if (a.variableListsOn != 0) {
    for (const QString& v : a.listSetToZero) variable(v, QStringLiteral("variables set to 0"));
    for (const QString& v : a.listSetToOne) variable(v, QStringLiteral("variables set to 1"));
    for (const QString& v : a.listInvert) variable(v, QStringLiteral("variables inverted"));
  }
  if (a.goToFrame != 0) {
    FrameReference ref;
    ref.at = place(QStringLiteral("frame"));
    ref.fromFrame = frame;
    ref.target = a.frameName;
    facts.frameReferences.push_back(ref);
  }
  if (a.playVideo != 0) named(a.videoFile, QStringLiteral("video"), facts.paths.frames, MediaKind::Video);
  if (a.playMusic) named(a.musicFile, QStringLiteral("music"), facts.paths.areas, MediaKind::Sound);
  if (a.playSound) named(a.soundFile, QStringLiteral("sound"), facts.paths.frames, MediaKind::Sound);
  for (size_t c = 0; c < a.channelRecords.size(); ++c) {
    const auto& r = a.channelRecords[c];
    if (r.action == 2)
      named(r.soundFile, QStringLiteral("channel %1 sound").arg(c + 1), facts.paths.areas, MediaKind::Sound);
  }
  if (a.runScript && !a.scriptText.trimmed().isEmpty())
    facts.scripts.push_back(ScriptPiece{place(QStringLiteral("script")), frame, a.scriptText, false});
  if (!a.pluginData.isEmpty()) {
    const QString calls = script::BuildPluginCalls(a.pluginData, true);
    if (!calls.trimmed().isEmpty())
      facts.scripts.push_back(ScriptPiece{place(QStringLiteral("plugin calls")), frame, calls, false});
  }
  if (a.giveItem && !a.itemName.isEmpty()) facts.itemReferences.push_back({place(QStringLiteral("item")), a.itemName});
}

void readHotspotFiles(GameFacts& facts, Findings& findings, const FrameBeingRead& frame) {
  const int hotspots = std::max(readHotspots(facts, findings, frame), frame.hotspotCount);
  if (const auto clicks = loadEither(facts, findings, frame.name, ".mr3", ".fm3"))
    readActions(facts, findings, frame, *clicks, hotspots, false);
  if (const auto drops = loadDataFile(facts, findings, framesData(facts, frame.name, ".fm0")))
    readActions(facts, findings, frame, *drops, hotspots, true);
  readPickUps(facts, findings, frame, hotspots);
  readLegacySounds(facts, findings, frame);
}

}  // namespace qm::doctor
