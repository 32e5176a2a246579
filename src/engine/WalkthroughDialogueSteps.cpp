#include "engine/WalkthroughDialogueSteps.h"

#include "engine/Game.h"
#include "script/DialogueRunner.h"

namespace qm::engine {

std::optional<QString> runDialogueStep(Game* game, const QStringList& w,
                                       const std::function<void(int ms)>& letEventsRun) {
  if (w[0].toLower() != QLatin1String("choose")) return std::nullopt;
  bool ok = false;
  const int n = w.size() == 2 ? w[1].toInt(&ok) : 0;
  if (!ok || n < 1) return QStringLiteral("choose needs the number of a question (1 is the top one)");
  if (!game || !game->isVisible()) return QStringLiteral("the game is not running");
  const QStringList shown = game->dialogue().shownQuestionTexts();
  if (shown.isEmpty()) return QStringLiteral("no questions are shown");
  if (n > shown.size())
    return QStringLiteral("only %1 question(s) are shown").arg(shown.size());
  // Through the label's own click handler; it returns when the pick is done.
  LabelControl* label = game->lblDialogue.item(n);
  if (!label || !label->onClick) return QStringLiteral("question %1 cannot be clicked").arg(n);
  const auto click = label->onClick;
  click();
  letEventsRun(20);
  return QString();
}

std::optional<QString> expectDialogue(Game* game, const QStringList& w) {
  if (w.size() < 2 || w[1].toLower() != QLatin1String("questions")) return std::nullopt;
  if (w.size() != 3) return QStringLiteral("expect questions needs one quoted text (questions separated by |)");
  if (!game) return QStringLiteral("the game has not started");
  const QStringList shown = game->dialogue().shownQuestionTexts();
  const QStringList wanted = w[2].isEmpty() ? QStringList() : w[2].split('|');
  if (shown == wanted) return QString();
  if (shown.isEmpty()) return QStringLiteral("no questions are shown");
  return QStringLiteral("shown: \"") + shown.join('|') + QStringLiteral("\"");
}

}  // namespace qm::engine
