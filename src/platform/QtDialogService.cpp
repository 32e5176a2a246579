#include "platform/QtDialogService.h"

#include <QFileDialog>

#include <QApplication>
#include <QInputDialog>
#include <QMessageBox>
#include <QStyle>
#include <cstdio>

#include "platform/InterfaceScale.h"

namespace qm::platform {
namespace {

QMessageBox::StandardButton standardButton(MsgResult r) {
  switch (r) {
    case MsgResult::OK: return QMessageBox::Ok;
    case MsgResult::Cancel: return QMessageBox::Cancel;
    case MsgResult::Abort: return QMessageBox::Abort;
    case MsgResult::Retry: return QMessageBox::Retry;
    case MsgResult::Ignore: return QMessageBox::Ignore;
    case MsgResult::Yes: return QMessageBox::Yes;
    case MsgResult::No: return QMessageBox::No;
  }
  return QMessageBox::Ok;
}

QMessageBox::Icon qtIcon(MsgIcon icon) {
  switch (icon) {
    case MsgIcon::Critical: return QMessageBox::Critical;
    case MsgIcon::Question: return QMessageBox::Question;
    case MsgIcon::Warning: return QMessageBox::Warning;
    case MsgIcon::Information: return QMessageBox::Information;
    case MsgIcon::None: break;
  }
  return QMessageBox::NoIcon;
}

QStyle::StandardPixmap stylePixmap(MsgIcon icon) {
  switch (icon) {
    case MsgIcon::Critical: return QStyle::SP_MessageBoxCritical;
    case MsgIcon::Question: return QStyle::SP_MessageBoxQuestion;
    case MsgIcon::Warning: return QStyle::SP_MessageBoxWarning;
    case MsgIcon::Information:
    case MsgIcon::None: break;
  }
  return QStyle::SP_MessageBoxInformation;
}

// The box's icon grows with its text: the style's icon at the scaled size,
// enlarged when the style has none that large.
void scaleIcon(QMessageBox& box, MsgIcon icon) {
  if (icon == MsgIcon::None || InterfaceScale() == 1.0) return;
  const int side = box.style()->pixelMetric(QStyle::PM_MessageBoxIconSize, nullptr, &box);
  const QIcon picture = box.style()->standardIcon(stylePixmap(icon), nullptr, &box);
  QPixmap pixmap = picture.pixmap(QSize(side, side), box.devicePixelRatio());
  if (pixmap.deviceIndependentSize().toSize() != QSize(side, side)) {
    pixmap = pixmap.scaled(QSize(side, side) * box.devicePixelRatio(), Qt::KeepAspectRatio, Qt::SmoothTransformation);
    pixmap.setDevicePixelRatio(box.devicePixelRatio());
  }
  box.setIconPixmap(pixmap);
}

// Without a window system (a command-line run) the box goes to the error
// output and is answered with its default button.
bool canShowWindows() { return qobject_cast<QApplication*>(QCoreApplication::instance()) != nullptr; }

}  // namespace

MsgResult QtDialogService::showMessage(const MessageBoxRequest& request) {
  const std::vector<MsgResult> buttons = buttonsOf(request.buttons);
  const int def = (request.defaultButton >= 0 && request.defaultButton < static_cast<int>(buttons.size()))
                      ? request.defaultButton
                      : 0;
  if (!canShowWindows()) {
    std::fprintf(stderr, "[%s] %s\n", qPrintable(request.title), qPrintable(request.text));
    return buttons[def];
  }
  // Texts use CR LF line breaks; a label wants LF alone.
  QString text = request.text;
  text.replace(QStringLiteral("\r\n"), QStringLiteral("\n"));
  text.replace(u'\r', u'\n');
  QMessageBox box(qtIcon(request.icon), request.title, text, QMessageBox::NoButton, QApplication::activeWindow());
  box.setTextFormat(Qt::PlainText);
  for (MsgResult r : buttons) box.addButton(standardButton(r));
  box.setDefaultButton(standardButton(buttons[def]));
  // Esc gives Cancel when there is one, else the only button (as on Windows).
  if (buttons.size() == 1) {
    box.setEscapeButton(standardButton(buttons[0]));
  } else {
    for (MsgResult r : buttons) {
      if (r == MsgResult::Cancel) box.setEscapeButton(standardButton(r));
    }
  }
  ScaleInterfaceWindow(box);
  scaleIcon(box, request.icon);
  box.exec();
  const auto clicked = box.standardButton(box.clickedButton());
  for (MsgResult r : buttons) {
    if (standardButton(r) == clicked) return r;
  }
  // Closed without a button (Esc on a box that has no escape button).
  for (MsgResult r : buttons) {
    if (r == MsgResult::Cancel) return r;
  }
  return buttons.size() == 1 ? buttons[0] : buttons[def];
}

std::optional<QString> QtDialogService::askText(const InputBoxRequest& request) {
  if (!canShowWindows()) {
    std::fprintf(stderr, "[%s] %s\n", qPrintable(request.title), qPrintable(request.prompt));
    return request.defaultText;
  }
  QString prompt = request.prompt;
  prompt.replace(QStringLiteral("\r\n"), QStringLiteral("\n"));
  QInputDialog box(QApplication::activeWindow());
  box.setWindowTitle(request.title);
  box.setLabelText(prompt);
  box.setInputMode(QInputDialog::TextInput);
  box.setTextValue(request.defaultText);
  ScaleInterfaceWindow(box);
  if (box.exec() != QDialog::Accepted) return std::nullopt;
  return box.textValue();
}

std::optional<QString> QtDialogService::askFolder(const FolderRequest& request) {
  const QString folder = QFileDialog::getExistingDirectory(nullptr, request.title, request.startFolder);
  if (folder.isEmpty()) return std::nullopt;
  return folder;
}

}  // namespace qm::platform
