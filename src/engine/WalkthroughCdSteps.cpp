#include "engine/WalkthroughCdSteps.h"

#include <QDir>

#include "distribution/frmRunFromCD.h"
#include "platform/RecordingDialogService.h"
#include "platform/NativeFile.h"

namespace qm::engine {

std::optional<QString> runCdStep(const QStringList& w, platform::RecordingDialogService& dialogs) {
  if (w.isEmpty() || w[0].compare(QLatin1String("cd"), Qt::CaseInsensitive) != 0) return std::nullopt;
  if (w.size() != 2) return QStringLiteral("cd needs a folder in quotes, or cancel");
  if (w[1].compare(QLatin1String("cancel"), Qt::CaseInsensitive) == 0) {
    dialogs.queueWindowAnswer([](platform::ModalWindow& window) {
      if (auto* prompt = dynamic_cast<distribution::frmRunFromCD*>(&window)) prompt->Command4_Click();
      else window.closeWithoutAnswer();
    });
    return QString();
  }
  const QString folder = QDir::current().absoluteFilePath(w[1]);
  if (!platform::isFolderAt(folder)) return QStringLiteral("there is no folder ") + folder;
  platform::RecordingDialogService* service = &dialogs;
  dialogs.queueWindowAnswer([service, folder](platform::ModalWindow& window) {
    auto* prompt = dynamic_cast<distribution::frmRunFromCD*>(&window);
    if (!prompt) return window.closeWithoutAnswer();
    service->queueFolder(folder);
    prompt->pickLine(prompt->chooseFolderLine());
    prompt->Command3_Click();
  });
  return QString();
}

}  // namespace qm::engine
