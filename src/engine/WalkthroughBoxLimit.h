// The boxes one walkthrough step may show. A script stuck in a message-box loop
// answers thousands of boxes a second; the walkthrough keeps only the boxes of
// its current step, records at most kMaxBoxesPerStep of them, answers the rest
// itself with their default buttons, and fails the step ("message box loop").
#pragma once

#include <cstddef>

#include "platform/DialogService.h"

namespace qm::platform {
class RecordingDialogService;
}

namespace qm::engine {

class WalkthroughBoxLimit : public platform::DialogService {
 public:
  static constexpr std::size_t kMaxBoxesPerStep = 1000;

  // Installs itself in front of `recording` for its lifetime.
  explicit WalkthroughBoxLimit(platform::RecordingDialogService& recording);
  ~WalkthroughBoxLimit() override;
  WalkthroughBoxLimit(const WalkthroughBoxLimit&) = delete;
  WalkthroughBoxLimit& operator=(const WalkthroughBoxLimit&) = delete;

  // A new step: forgets the boxes recorded so far unless told to keep them
  // (queued answers stay).
  void beginStep(bool forgetShown = true);
  // More boxes than the limit since beginStep().
  bool overflowed() const { return shownInStep_ > kMaxBoxesPerStep; }

  platform::MsgResult showMessage(const platform::MessageBoxRequest& request) override;
  std::optional<QString> askText(const platform::InputBoxRequest& request) override;
  // Folder questions and modal windows go to the recording service unchanged.
  std::optional<QString> askFolder(const platform::FolderRequest& request) override;
  void showModal(platform::ModalWindow& window) override;

 private:
  platform::RecordingDialogService& recording_;
  platform::DialogService* previous_;
  std::size_t shownInStep_ = 0;
};

}  // namespace qm::engine
