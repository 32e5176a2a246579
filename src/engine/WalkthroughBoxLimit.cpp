#include "engine/WalkthroughBoxLimit.h"

#include "platform/RecordingDialogService.h"

namespace qm::engine {

WalkthroughBoxLimit::WalkthroughBoxLimit(platform::RecordingDialogService& recording)
    : recording_(recording), previous_(platform::installedDialogs()) {
  platform::setDialogs(this);
}

WalkthroughBoxLimit::~WalkthroughBoxLimit() { platform::setDialogs(previous_); }

void WalkthroughBoxLimit::beginStep(bool forgetShown) {
  if (forgetShown) recording_.forgetShown();
  shownInStep_ = 0;
}

platform::MsgResult WalkthroughBoxLimit::showMessage(const platform::MessageBoxRequest& request) {
  if (++shownInStep_ <= kMaxBoxesPerStep) return recording_.showMessage(request);
  const auto buttons = platform::buttonsOf(request.buttons);
  const int def = request.defaultButton >= 0 && request.defaultButton < static_cast<int>(buttons.size())
                      ? request.defaultButton
                      : 0;
  return buttons.empty() ? platform::MsgResult::OK : buttons[static_cast<std::size_t>(def)];
}

std::optional<QString> WalkthroughBoxLimit::askText(const platform::InputBoxRequest& request) {
  if (++shownInStep_ <= kMaxBoxesPerStep) return recording_.askText(request);
  return request.defaultText;
}

std::optional<QString> WalkthroughBoxLimit::askFolder(const platform::FolderRequest& request) {
  return recording_.askFolder(request);
}

void WalkthroughBoxLimit::showModal(platform::ModalWindow& window) { recording_.showModal(window); }

}  // namespace qm::engine
