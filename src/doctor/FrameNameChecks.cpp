// Frame names: every one the game goes to must name a frame, and every frame
// should be reachable from the initial one.
#include <QHash>
#include <QSet>

#include "doctor/Checks.h"
#include "doctor/GameFacts.h"

namespace qm::doctor {

void checkFrameNames(const GameFacts& facts, Findings& findings) {
  for (const FrameReference& ref : facts.frameReferences) {
    const QString how = ref.fromScript ? QStringLiteral("GoToFrame \"%1\"").arg(ref.target)
                                       : QStringLiteral("the frame \"%1\"").arg(ref.target);
    if (ref.target.trimmed().isEmpty()) {
      findings.error(ref.at, QStringLiteral("unknown-frame"), QStringLiteral("goes to a frame but names none"));
    } else if (!facts.hasFrame(ref.target)) {
      findings.error(ref.at, QStringLiteral("unknown-frame"),
                     QStringLiteral("%1 names no frame (there is no Frames/%2.fme)").arg(how, ref.target));
    }
  }
}

void checkReachability(const GameFacts& facts, Findings& findings) {
  if (facts.frames.isEmpty() || !facts.hasFrame(facts.info.initialFrame)) return;
  // Edges by lower-case frame name; code that belongs to no frame (start-up,
  // global procedures, item combinations) may run anywhere, so what it names
  // counts as reached.
  QHash<QString, QStringList> edges;
  QStringList roots{facts.info.initialFrame.toLower()};
  for (const FrameReference& ref : facts.frameReferences) {
    if (!ref.leadsThere) continue;
    const QString target = ref.target.toLower();
    if (ref.fromFrame.isEmpty()) roots << target;
    else edges[ref.fromFrame.toLower()] << target;
  }
  QSet<QString> reached;
  QStringList pending = roots;
  while (!pending.isEmpty()) {
    const QString frame = pending.takeLast();
    if (reached.contains(frame)) continue;
    reached.insert(frame);
    pending << edges.value(frame);
  }
  for (const QString& frame : facts.frameOrder) {
    if (reached.contains(frame.toLower())) continue;
    findings.note(Place{facts.relative(facts.paths.frames + frame + QStringLiteral(".fme")), 0, 0, {}},
                  QStringLiteral("unreachable-frame"),
                  QStringLiteral("no path from the initial frame reaches \"%1\" (actions, frame timers, dialogues, "
                                 "literal GoToFrame calls)")
                      .arg(frame));
  }
}

}  // namespace qm::doctor
