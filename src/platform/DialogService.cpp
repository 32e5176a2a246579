#include "platform/DialogService.h"

#include "platform/NativeName.h"
#include "platform/QtDialogService.h"

namespace qm::platform {
namespace {
DialogService* gInstalled = nullptr;
}  // namespace

DialogService& dialogs() {
  if (gInstalled) return *gInstalled;
  static QtDialogService qtService;
  return qtService;
}

void setDialogs(DialogService* service) { gInstalled = service; }

DialogService* installedDialogs() { return gInstalled; }

MsgResult messageBox(const QString& text, MsgButtons buttons, MsgIcon icon, const QString& title,
                     int defaultButton) {
  MessageBoxRequest request;
  // A file named in raw bytes is shown as its text, whoever names it.
  request.text = readableName(text);
  request.title = readableName(title);
  request.icon = icon;
  request.buttons = buttons;
  request.defaultButton = defaultButton;
  return dialogs().showMessage(request);
}

std::vector<MsgResult> buttonsOf(MsgButtons buttons) {
  switch (buttons) {
    case MsgButtons::OK: return {MsgResult::OK};
    case MsgButtons::OKCancel: return {MsgResult::OK, MsgResult::Cancel};
    case MsgButtons::AbortRetryIgnore: return {MsgResult::Abort, MsgResult::Retry, MsgResult::Ignore};
    case MsgButtons::YesNoCancel: return {MsgResult::Yes, MsgResult::No, MsgResult::Cancel};
    case MsgButtons::YesNo: return {MsgResult::Yes, MsgResult::No};
    case MsgButtons::RetryCancel: return {MsgResult::Retry, MsgResult::Cancel};
  }
  return {MsgResult::OK};
}

MessageBoxRequest requestFromVbStyle(const QString& text, int style, const QString& title) {
  MessageBoxRequest request;
  request.text = readableName(text);
  request.title = readableName(title);
  switch (style & 0x7) {
    case 1: request.buttons = MsgButtons::OKCancel; break;
    case 2: request.buttons = MsgButtons::AbortRetryIgnore; break;
    case 3: request.buttons = MsgButtons::YesNoCancel; break;
    case 4: request.buttons = MsgButtons::YesNo; break;
    case 5: request.buttons = MsgButtons::RetryCancel; break;
    default: request.buttons = MsgButtons::OK; break;
  }
  switch (style & 0x70) {
    case 16: request.icon = MsgIcon::Critical; break;
    case 32: request.icon = MsgIcon::Question; break;
    case 48: request.icon = MsgIcon::Warning; break;
    case 64: request.icon = MsgIcon::Information; break;
    default: request.icon = MsgIcon::None; break;
  }
  const int defaultButton = (style & 0x300) >> 8;
  const int count = static_cast<int>(buttonsOf(request.buttons).size());
  request.defaultButton = defaultButton < count ? defaultButton : 0;
  return request;
}

}  // namespace qm::platform
