#pragma once
// Going back to the last visited frame: the history's newest entry is the
// current frame, so going back drops it and opens the entry before it.

#include <QString>

namespace qm::engine {
class FramesHistoryList;
}

namespace qm::logic {

// The request text that means "the previous frame", in any letter case.
bool isLastVisitedFrameRequest(const QString& frameRequest);

// Whether a script's frame request opens a frame: a frame name does; "last
// visited frame" only when the history holds a frame before the current one.
bool frameRequestOpensFrame(const QString& frameRequest, const engine::FramesHistoryList& history);

// With two or more entries: removes the newest and returns the new newest.
// Otherwise returns "" and leaves the history alone.
QString stepBackInHistory(engine::FramesHistoryList& history);

// A script's frame request after the "last visited frame" rule: that request
// becomes the previous frame (or "" when there is none); others stay.
QString resolveFrameRequest(const QString& frameRequest, engine::FramesHistoryList& history);

}  // namespace qm::logic
