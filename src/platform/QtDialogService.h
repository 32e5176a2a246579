// The dialog service that shows real windows: QMessageBox and QInputDialog.
#pragma once

#include "platform/DialogService.h"

namespace qm::platform {

class QtDialogService : public DialogService {
 public:
  MsgResult showMessage(const MessageBoxRequest& request) override;
  std::optional<QString> askText(const InputBoxRequest& request) override;
  std::optional<QString> askFolder(const FolderRequest& request) override;
};

}  // namespace qm::platform
