#include "platform/RecordingDialogService.h"

namespace qm::platform {

MsgResult RecordingDialogService::showMessage(const MessageBoxRequest& request) {
  Shown shown;
  shown.kind = Kind::Message;
  shown.title = request.title;
  shown.text = request.text;
  shown.icon = request.icon;
  shown.buttons = request.buttons;
  shown.defaultButton = request.defaultButton;

  const std::vector<MsgResult> buttons = buttonsOf(request.buttons);
  const int def = (request.defaultButton >= 0 && request.defaultButton < static_cast<int>(buttons.size()))
                      ? request.defaultButton
                      : 0;
  if (request.buttons == MsgButtons::OK) {
    shown.answer = MsgResult::OK;
  } else if (!answers_.empty() && !answers_.front().isText) {
    shown.answer = answers_.front().result;
    answers_.pop_front();
  } else if (!answers_.empty() && !answers_.front().text) {
    shown.answer = MsgResult::Cancel;  // queueCancel() answers a question with Cancel too
    answers_.pop_front();
  } else {
    shown.answer = buttons[def];
  }
  shown_.push_back(shown);
  return shown.answer;
}

std::optional<QString> RecordingDialogService::askText(const InputBoxRequest& request) {
  Shown shown;
  shown.kind = Kind::Input;
  shown.title = request.title;
  shown.text = request.prompt;
  shown.defaultText = request.defaultText;
  if (!answers_.empty() && answers_.front().isText) {
    shown.textAnswer = answers_.front().text;
    answers_.pop_front();
  } else if (!answers_.empty() && answers_.front().result == MsgResult::Cancel) {
    shown.textAnswer = std::nullopt;
    answers_.pop_front();
  } else {
    shown.textAnswer = request.defaultText;
  }
  shown_.push_back(shown);
  return shown.textAnswer;
}

void RecordingDialogService::queueAnswer(MsgResult answer) {
  Answer a;
  a.result = answer;
  answers_.push_back(a);
}

void RecordingDialogService::queueText(const QString& text) {
  Answer a;
  a.isText = true;
  a.text = text;
  answers_.push_back(a);
}

void RecordingDialogService::queueCancel() {
  Answer a;
  a.isText = true;
  a.text = std::nullopt;
  answers_.push_back(a);
}

std::optional<QString> RecordingDialogService::askFolder(const FolderRequest& request) {
  Shown shown;
  shown.kind = Kind::Folder;
  shown.title = request.title;
  shown.defaultText = request.startFolder;
  if (!folders_.empty()) {
    shown.textAnswer = folders_.front();
    folders_.pop_front();
  }
  shown_.push_back(shown);
  return shown.textAnswer;
}

void RecordingDialogService::showModal(ModalWindow& window) {
  Shown shown;
  shown.kind = Kind::Window;
  shown.title = window.modalTitle();
  shown.text = window.modalText();
  shown_.push_back(shown);
  while (window.isOpen()) {
    if (windowAnswers_.empty()) {
      window.closeWithoutAnswer();
      break;
    }
    const WindowAnswer answer = std::move(windowAnswers_.front());
    windowAnswers_.pop_front();
    answer(window);
  }
}

void RecordingDialogService::queueWindowAnswer(WindowAnswer answer) { windowAnswers_.push_back(std::move(answer)); }

void RecordingDialogService::queueFolder(std::optional<QString> folder) { folders_.push_back(std::move(folder)); }

void RecordingDialogService::clear() {
  shown_.clear();
  answers_.clear();
  windowAnswers_.clear();
  folders_.clear();
}

ScopedRecordingDialogs::ScopedRecordingDialogs() : previous_(installedDialogs()) { setDialogs(&service_); }

ScopedRecordingDialogs::~ScopedRecordingDialogs() { setDialogs(previous_); }

}  // namespace qm::platform
