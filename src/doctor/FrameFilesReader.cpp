// Every frame of the Frames folder: its frame file, hotspot count, text
// boxes, rippling water, legacy sound block and dialogue; then its hotspot
// files.
#include "doctor/FrameReading.h"
#include "doctor/Readers.h"
#include "engine/FrameFile.h"
#include "engine/LegacySoundBlock.h"
#include "engine/RippleEffectFile.h"
#include "platform/FileResolver.h"
#include "script/DialogueFile.h"
#include "script/Plugins.h"
#include "startup/RecordReader.h"

namespace qm::doctor {
namespace {

using startup::RecordReader;

bool isSpecialTarget(const QString& target) {
  const QString lower = target.trimmed().toLower();
  return lower == QLatin1String("[quit]") || lower == QLatin1String("[last visited frame]");
}

// Where the frame file keeps the fields that name things.
enum FrameField {
  kBackground = 2, kBackgroundSound = 5, kTimerTarget = 8, kVideo = 9, kSecondSound = 13, kFrameCode = 28,
  kFirstSoundRecord = 39,  // then records of soundFieldsPerRecord fields, the file fifth
};

void gatherFrameFacts(GameFacts& facts, const engine::FrameFile& f, const DataFile& file, const QString& frame) {
  auto place = [&](const QString& field, int number) { return Place{file.relative, file.lineOfField(number), 0, field}; };
  auto named = [&](const QString& name, const QString& field, int number, const QString& folder, MediaKind kind) {
    if (!name.isEmpty()) facts.files.push_back(NamedFile{place(field, number), folder + name, name, kind});
  };
  if (f.backgroundType == 1)
    named(f.background, QStringLiteral("background picture"), kBackground, facts.paths.frames, MediaKind::Picture);
  named(f.backgroundSound, QStringLiteral("background sound"), kBackgroundSound, facts.paths.areas, MediaKind::Sound);
  named(f.video, QStringLiteral("video"), kVideo, facts.paths.frames, MediaKind::Video);
  named(f.secondSound, QStringLiteral("second sound"), kSecondSound, facts.paths.frames, MediaKind::Sound);
  for (size_t i = 0; i < f.soundRecords.size() && i < 7; ++i)
    if (f.soundRecords[i].action == 2)
      named(f.soundRecords[i].file, QStringLiteral("channel %1 sound").arg(i + 1),
            kFirstSoundRecord + static_cast<int>(i) * f.soundFieldsPerRecord + 4, facts.paths.areas, MediaKind::Sound);
  if (f.timerOn && !isSpecialTarget(f.timerTarget)) {
    FrameReference ref;
    ref.at = place(QStringLiteral("frame timer"), kTimerTarget);
    ref.fromFrame = frame;
    ref.target = f.timerTarget;
    facts.frameReferences.push_back(ref);
  }
  if (f.runFrameProcedure && !f.frameProcedure.trimmed().isEmpty())
    facts.scripts.push_back(ScriptPiece{place(QStringLiteral("start-up code"), kFrameCode), frame, f.frameProcedure, false});
  if (!f.pluginActions.isEmpty()) {
    const QString calls = script::BuildPluginCalls(f.pluginActions, false);
    if (!calls.trimmed().isEmpty())
      facts.scripts.push_back(ScriptPiece{place(QStringLiteral("plugin calls"), 0), frame, calls, false});
  }
}

void readFrameFile(GameFacts& facts, Findings& findings, const QString& frame) {
  const auto file = loadDataFile(facts, findings, facts.paths.frames + frame + QStringLiteral(".fme"));
  if (!file) return;
  RecordReader in(file->bytes, file->path);
  engine::FrameFile f;
  try {
    engine::parseFrameFile(in, f);
  } catch (const VbError& e) {
    reportUnparsable(findings, file->stoppedAt(in, 0, 0), QStringLiteral("the frame file"), e);
  }
  gatherFrameFacts(facts, f, *file, frame);
}

int readHotspotCount(GameFacts& facts, Findings& findings, const QString& frame) {
  const auto file = loadDataFile(facts, findings, facts.paths.frames + frame + QStringLiteral(".lks"));
  if (!file) return 0;
  RecordReader in(file->bytes, file->path);
  try {
    const int16_t count = in.readInt16();
    if (count < 0) {
      findings.error(file->stoppedAt(in, 0, 0, QStringLiteral("hotspot count")), QStringLiteral("unparsable-file"),
                     QStringLiteral("the hotspot count %1 is negative").arg(count));
      return 0;
    }
    return count;
  } catch (const VbError& e) {
    reportUnparsable(findings, file->stoppedAt(in, 0, 0, QStringLiteral("hotspot count")),
                     QStringLiteral("the hotspot count"), e);
    return 0;
  }
}

// Text boxes: the player reads every field on its own and keeps the previous
// box's value for a field that fails, so failures are warnings here.
void readTextBoxes(GameFacts& facts, Findings& findings, const QString& frame) {
  auto file = loadDataFile(facts, findings, facts.paths.framesData + frame + QStringLiteral(".mr1"));
  if (!file) file = loadDataFile(facts, findings, facts.paths.framesData + frame + QStringLiteral(".fm1"));
  if (!file) return;
  RecordReader in(file->bytes, file->path);
  enum Kind { Skip, Int16, Int32, Double, Bool, String };
  struct Field {
    Kind kind;
    int count;
    const char* name;
  };
  static const Field kFields[] = {
      {Skip, 1, ""},          {Int16, 1, "merged mark"}, {Skip, 8, ""},         {String, 1, "caption"},
      {Double, 1, "left"},    {Double, 1, "top"},        {Bool, 1, "bold"},     {Bool, 1, "italic"},
      {String, 1, "font"},    {Double, 1, "font size"},  {Bool, 1, "strikethrough"}, {Bool, 1, "underline"},
      {Int32, 1, "colour"},   {Skip, 1, ""},
  };
  forEachRecord(in, [&](qsizetype start, int record) {
    for (const Field& field : kFields) {
      try {
        switch (field.kind) {
          case Skip: in.skip(field.count); break;
          case Int16: in.readInt16(); break;
          case Int32: in.readInt32(); break;
          case Double: in.readDouble(); break;
          case Bool: in.readBool(); break;
          case String: in.readString(); break;
        }
      } catch (const VbError& e) {
        if (e.number == 62) {
          reportUnparsable(findings, file->stoppedAt(in, start, record), QStringLiteral("text box %1").arg(record), e);
          return NextRecord::Stop;
        }
        findings.warning(file->stoppedAt(in, start, record, QString::fromLatin1(field.name)),
                         QStringLiteral("bad-text-box-field"),
                         QStringLiteral("text box %1: the %2 cannot be read (%3); the previous box's value is used")
                             .arg(record)
                             .arg(QString::fromLatin1(field.name), e.description));
      }
    }
    return NextRecord::Here;
  });
}

void readRipple(GameFacts& facts, Findings& findings, const QString& frame) {
  const QString base = facts.paths.frames + frame;
  const auto file = loadDataFile(facts, findings, base + QStringLiteral(".rwe"));
  if (!file) return;
  try {
    (void)engine::parseRippleEffectFile(file->bytes, file->path);
  } catch (const VbError& e) {
    reportUnparsable(findings, Place{file->relative, 0, 0, {}}, QStringLiteral("the rippling-water file"), e);
  }
  facts.files.push_back(NamedFile{Place{file->relative, 0, 0, QStringLiteral("mask")}, base + QStringLiteral(".rwm"),
                                  frame + QStringLiteral(".rwm"), MediaKind::Picture});
}

void readLegacyFrameSounds(GameFacts& facts, Findings& findings, const QString& frame) {
  const auto file = loadDataFile(facts, findings, facts.paths.frames + frame + QStringLiteral(".chn"));
  if (!file) return;
  RecordReader in(file->bytes, file->path);
  const engine::LegacySoundBlock block = engine::readLegacySoundBlock(in);
  if (block.error) reportUnparsable(findings, file->stoppedAt(in, 0, 0), QStringLiteral("the sound block"), *block.error);
  for (size_t c = 0; c < block.entries.size(); ++c) {
    const auto& entry = block.entries[c];
    if (entry.play && !entry.soundFile.isEmpty())
      facts.files.push_back(NamedFile{Place{file->relative, 0, 0, QStringLiteral("channel %1 sound").arg(c + 1)},
                                      facts.paths.areas + entry.soundFile, entry.soundFile, MediaKind::Sound});
  }
}

void readDialogue(GameFacts& facts, Findings& findings, const QString& frame, int hotspots) {
  const auto file = loadDataFile(facts, findings, facts.paths.framesData + frame + QStringLiteral(".dlg"));
  if (!file) return;
  RecordReader in(file->bytes, file->path);
  script::DialogueQuestions questions;
  try {
    script::ReadDialogueQuestions(in, questions);
  } catch (const VbError& e) {
    reportUnparsable(findings, file->stoppedAt(in, 0, questions.count() + 1),
                     QStringLiteral("question %1").arg(questions.count() + 1), e);
  }
  QList<int> ids;
  for (int q = 1; q <= questions.count(); ++q) ids << questions.items[static_cast<size_t>(q)].id;
  for (int q = 1; q <= questions.count(); ++q) {
    const auto& question = questions.items[static_cast<size_t>(q)];
    auto place = [&](const QString& field) { return Place{file->relative, 0, q, field}; };
    const QString* scripts[] = {&question.script1, &question.script2, &question.script3};
    for (int s = 0; s < 3; ++s) {
      const QString code = script::DecodeDialogueScript(*scripts[s]);
      if (!code.trimmed().isEmpty())
        facts.scripts.push_back(ScriptPiece{place(QStringLiteral("script %1").arg(s + 1)), frame, code, false});
    }
    for (int16_t h : {question.hotspot1, question.hotspot2, question.hotspot3})
      if (h != 0 && (h < 0 || h > hotspots))
        findings.warning(place(QStringLiteral("hotspot")), QStringLiteral("no-such-hotspot"),
                         QStringLiteral("question %1 performs the action of hotspot %2, which the frame does not have")
                             .arg(q)
                             .arg(h));
    for (const auto* list : {&question.showList, &question.hideList})
      for (int16_t id : *list)
        if (!ids.contains(id))
          findings.warning(place(list == &question.showList ? QStringLiteral("show list") : QStringLiteral("hide list")),
                           QStringLiteral("no-such-question"),
                           QStringLiteral("question %1 %2 question %3, which the dialogue does not have")
                               .arg(q)
                               .arg(list == &question.showList ? QStringLiteral("shows") : QStringLiteral("hides"))
                               .arg(id));
  }
}

}  // namespace

void readFrameFiles(GameFacts& facts, Findings& findings) {
  for (const QString& frame : facts.frameOrder) {
    readFrameFile(facts, findings, frame);
    FrameBeingRead being{frame, readHotspotCount(facts, findings, frame)};
    readTextBoxes(facts, findings, frame);
    readRipple(facts, findings, frame);
    readLegacyFrameSounds(facts, findings, frame);
    readHotspotFiles(facts, findings, being);
    readDialogue(facts, findings, frame, being.hotspotCount);
  }
}

}  // namespace qm::doctor
