#include "startup/ErrorReport.h"

#include "platform/DialogService.h"
#include "startup/Project.h"

namespace qm::startup {

QString StandardErrorReportText(const QString& specificText, const QString& description) {
  QString text = InterfaceText(30) + QStringLiteral("\r\n\r\n") + InterfaceText(31) + specificText;
  if (!description.isEmpty()) text += QStringLiteral("\r\n\r\n") + description;
  return text;
}

void ShowStandardErrorReport(const QString& specificText, const QString& description) {
  if (GameStopped()) return;
  platform::messageBox(StandardErrorReportText(specificText, description), platform::MsgButtons::OK,
                       platform::MsgIcon::Critical, InterfaceText(29));
}

void ShowPlayMediaControlError(const QString& description) {
  if (GameStopped()) return;
  platform::messageBox(InterfaceText(30) + u' ' + InterfaceText(31) +
                           QStringLiteral("\r\n\r\nUnable to play video file. ") + description,
                       platform::MsgButtons::OK, platform::MsgIcon::Critical, InterfaceText(29));
}

}  // namespace qm::startup
