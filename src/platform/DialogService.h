// Every message box and input box of the player goes through this service, so
// that tests and the walkthrough runner can read and answer them. The default
// service shows Qt dialogs.
#pragma once

#include <QString>
#include <functional>
#include <optional>
#include <vector>

namespace qm::platform {

enum class MsgIcon { None, Critical, Question, Warning, Information };
enum class MsgButtons { OK, OKCancel, AbortRetryIgnore, YesNoCancel, YesNo, RetryCancel };
// The values are those a VB program sees (vbOK = 1 ... vbNo = 7).
enum class MsgResult { OK = 1, Cancel = 2, Abort = 3, Retry = 4, Ignore = 5, Yes = 6, No = 7 };

struct MessageBoxRequest {
  QString text;
  QString title;
  MsgIcon icon = MsgIcon::None;
  MsgButtons buttons = MsgButtons::OK;
  int defaultButton = 0;  // 0-based position among the buttons
};

struct InputBoxRequest {
  QString prompt;
  QString title;
  QString defaultText;
};

struct FolderRequest {
  QString title;
  QString startFolder;
};

// A window of the player that stays open until the player answers it (the CD
// prompt). The service decides whether it is shown on screen or answered.
class ModalWindow {
 public:
  virtual ~ModalWindow() = default;
  virtual QString modalTitle() const = 0;
  // What the window says (recorded by services that answer it themselves).
  virtual QString modalText() const = 0;
  virtual bool isOpen() const = 0;
  // What closing the window without an answer does (its Cancel).
  virtual void closeWithoutAnswer() = 0;
  // Shows the window on screen and returns when it has closed.
  virtual void execOnScreen() = 0;
};

class DialogService {
 public:
  virtual ~DialogService() = default;
  virtual MsgResult showMessage(const MessageBoxRequest&) = 0;
  virtual std::optional<QString> askText(const InputBoxRequest&) = 0;  // nullopt = Cancel
  // A folder the player picks; nullopt = Cancel.
  virtual std::optional<QString> askFolder(const FolderRequest&) { return std::nullopt; }
  // Runs a modal window until it closes.
  virtual void showModal(ModalWindow& window) { window.execOnScreen(); }
};

// The current service: the Qt one unless another was installed.
DialogService& dialogs();
// Installs a service (tests, the walkthrough runner); nullptr restores the Qt one.
// The caller keeps ownership.
void setDialogs(DialogService* service);
// The service installed with setDialogs, or nullptr when the Qt one is in use.
DialogService* installedDialogs();

// Shorthand for dialogs().showMessage(...).
MsgResult messageBox(const QString& text, MsgButtons buttons, MsgIcon icon, const QString& title,
                     int defaultButton = 0);

// The buttons of a box, in their order on screen (used for the default button
// and by services answering "the default").
std::vector<MsgResult> buttonsOf(MsgButtons buttons);

// A VB MsgBox style value (buttons + 16/32/48/64 icon + 0/256/512 default button)
// split into its parts; unknown bits are ignored.
MessageBoxRequest requestFromVbStyle(const QString& text, int style, const QString& title);

}  // namespace qm::platform
