// The item files of the Areas folder: NAME.obj names the item's icon,
// DRAGGED_on_TARGET.drg what dropping one item on another does.
#include "doctor/DataFile.h"
#include "doctor/GameFacts.h"
#include "doctor/Readers.h"
#include "logic/ItemFiles.h"
#include "platform/FileResolver.h"
#include "startup/RecordReader.h"

namespace qm::doctor {
namespace {

using startup::RecordReader;

void readItem(GameFacts& facts, Findings& findings, const QString& entry) {
  const auto file = loadDataFile(facts, findings, facts.paths.areas + entry);
  if (!file) return;
  RecordReader in(file->bytes, file->path);
  try {
    const QString icon = logic::readItemIconName(in);
    const Place at{file->relative, file->lineAt(in.fieldStart()), 0, QStringLiteral("icon")};
    if (icon.isEmpty())
      findings.error(at, QStringLiteral("missing-file"), QStringLiteral("the item names no icon file"));
    else
      facts.files.push_back(NamedFile{at, facts.paths.areas + icon, icon, MediaKind::Pointer});
  } catch (const VbError& e) {
    reportUnparsable(findings, file->stoppedAt(in, 0, 0, QStringLiteral("icon")), QStringLiteral("the item file"), e);
  }
}

void readCombination(GameFacts& facts, Findings& findings, const QString& entry) {
  const auto file = loadDataFile(facts, findings, facts.paths.areas + entry);
  if (!file) return;
  const QString stem = entry.left(entry.size() - 4);
  const int cut = stem.indexOf(QLatin1String("_on_"), 0, Qt::CaseInsensitive);
  const Place whole{file->relative, 0, 0, {}};
  if (cut <= 0 || cut + 4 >= stem.size()) {
    findings.warning(whole, QStringLiteral("bad-combination-name"),
                     QStringLiteral("the combination file's name is not DRAGGED_on_TARGET.drg; no drop uses it"));
  } else {
    facts.itemReferences.push_back({Place{file->relative, 0, 0, QStringLiteral("dragged item")}, stem.left(cut)});
    facts.itemReferences.push_back({Place{file->relative, 0, 0, QStringLiteral("target item")}, stem.mid(cut + 4)});
  }
  RecordReader in(file->bytes, file->path);
  try {
    const logic::CombinationHead head = logic::readCombinationHead(in);
    if (head.createsItem)
      facts.itemReferences.push_back(
          {Place{file->relative, file->lineAt(in.fieldStart()), 0, QStringLiteral("new item")}, head.newItem});
    const qsizetype before = in.position();
    if (const auto code = logic::readCombinationScript(in); code && code->run && !code->code.trimmed().isEmpty())
      facts.scripts.push_back(
          ScriptPiece{Place{file->relative, file->lineAt(before), 0, QStringLiteral("script")}, {}, code->code, false});
  } catch (const VbError& e) {
    reportUnparsable(findings, file->stoppedAt(in, 0, 0), QStringLiteral("the combination"), e);
  }
}

}  // namespace

void readItemFiles(GameFacts& facts, Findings& findings) {
  for (const QString& entry : platform::listFolder(facts.paths.areas)) {
    if (entry.endsWith(QLatin1String(".obj"), Qt::CaseInsensitive)) readItem(facts, findings, entry);
    else if (entry.endsWith(QLatin1String(".drg"), Qt::CaseInsensitive)) readCombination(facts, findings, entry);
  }
}

}  // namespace qm::doctor
