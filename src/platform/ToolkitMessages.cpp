#include "platform/ToolkitMessages.h"

#include <QtGlobal>

namespace qm::platform {

namespace {

QtMessageHandler gPrevious = nullptr;

void filteringHandler(QtMsgType type, const QMessageLogContext& context, const QString& message) {
  if (type == QtWarningMsg && IsHarmlessToolkitMessage(message)) return;
  if (gPrevious) gPrevious(type, context, message);
}

}  // namespace

bool IsHarmlessToolkitMessage(const QString& message) {
  return message.startsWith(QLatin1String("QStandardPaths: XDG_RUNTIME_DIR not set")) ||
         message == QLatin1String("This plugin does not support raise()");
}

void FilterHarmlessToolkitMessages() {
  static bool installed = false;
  if (installed) return;
  installed = true;
  gPrevious = qInstallMessageHandler(filteringHandler);
}

}  // namespace qm::platform
