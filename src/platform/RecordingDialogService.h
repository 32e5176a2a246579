// A dialog service that shows nothing: it records every request and answers
// from a queue. A box whose only button is OK answers OK without using the
// queue; any other box with an empty queue answers its default button; an input
// box with an empty queue answers its default text. A queued Cancel also
// cancels an input box, and queueCancel() also answers a question with Cancel.
// Folder questions take queued folders (none: Cancel). A modal window gets the
// queued window answers, one after another while it stays open; with none
// left it is closed without an answer.
#pragma once

#include <deque>
#include <vector>

#include "platform/DialogService.h"

namespace qm::platform {

class RecordingDialogService : public DialogService {
 public:
  enum class Kind { Message, Input, Folder, Window };
  struct Shown {
    Kind kind = Kind::Message;
    QString title;
    QString text;  // the message, or the prompt of an input box
    MsgIcon icon = MsgIcon::None;
    MsgButtons buttons = MsgButtons::OK;
    int defaultButton = 0;
    QString defaultText;  // input boxes
    MsgResult answer = MsgResult::OK;          // what was answered (message boxes)
    std::optional<QString> textAnswer;         // what was answered (input boxes)
  };

  MsgResult showMessage(const MessageBoxRequest& request) override;
  std::optional<QString> askText(const InputBoxRequest& request) override;
  std::optional<QString> askFolder(const FolderRequest& request) override;
  void showModal(ModalWindow& window) override;
  // What the player does in the next modal window.
  using WindowAnswer = std::function<void(ModalWindow&)>;
  void queueWindowAnswer(WindowAnswer answer);
  // The folder (nullopt: Cancel) for the next folder question.
  void queueFolder(std::optional<QString> folder);

  void queueAnswer(MsgResult answer);
  void queueText(const QString& text);
  void queueCancel();

  const std::vector<Shown>& shown() const { return shown_; }
  std::size_t count() const { return shown_.size(); }
  const Shown& last() const { return shown_.back(); }
  void clear();
  // Drops the boxes recorded so far; queued answers stay.
  void forgetShown() { shown_.clear(); shown_.shrink_to_fit(); }
  // Answers queued but not yet used.
  std::size_t pendingAnswers() const { return answers_.size(); }

 private:
  struct Answer {
    bool isText = false;
    MsgResult result = MsgResult::OK;
    std::optional<QString> text;
  };
  std::vector<Shown> shown_;
  std::deque<Answer> answers_;
  std::deque<WindowAnswer> windowAnswers_;
  std::deque<std::optional<QString>> folders_;
};

// Installs a RecordingDialogService for the lifetime of the object (tests).
class ScopedRecordingDialogs {
 public:
  ScopedRecordingDialogs();
  ~ScopedRecordingDialogs();
  ScopedRecordingDialogs(const ScopedRecordingDialogs&) = delete;
  ScopedRecordingDialogs& operator=(const ScopedRecordingDialogs&) = delete;
  RecordingDialogService& operator*() { return service_; }
  RecordingDialogService* operator->() { return &service_; }

 private:
  RecordingDialogService service_;
  DialogService* previous_ = nullptr;
};

}  // namespace qm::platform
