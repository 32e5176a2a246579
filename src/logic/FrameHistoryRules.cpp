#include "logic/FrameHistoryRules.h"

#include "engine/Game.h"

namespace qm::logic {

bool isLastVisitedFrameRequest(const QString& frameRequest) {
  return frameRequest.toLower() == QStringLiteral("last visited frame");
}

bool frameRequestOpensFrame(const QString& frameRequest, const engine::FramesHistoryList& history) {
  if (isLastVisitedFrameRequest(frameRequest)) return history.ListCount() >= 2;
  return !frameRequest.isEmpty();
}

QString stepBackInHistory(engine::FramesHistoryList& history) {
  if (history.ListCount() < 2) return {};
  history.RemoveItem(history.ListCount() - 1);
  return history.List(history.ListCount() - 1);
}

QString resolveFrameRequest(const QString& frameRequest, engine::FramesHistoryList& history) {
  if (!isLastVisitedFrameRequest(frameRequest)) return frameRequest;
  return stepBackInHistory(history);
}

}  // namespace qm::logic
