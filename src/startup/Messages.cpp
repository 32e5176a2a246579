#include "startup/Messages.h"

#include "platform/DialogService.h"
#include "platform/Shell.h"
#include "startup/ErrorReport.h"
#include "startup/Project.h"

namespace qm::startup {
namespace {
InFrameMessageHooks gInFrame;
}  // namespace

const char* const kProductWebSite = "https://quillmere.org";

void setInFrameMessageHooks(InFrameMessageHooks hooks) { gInFrame = std::move(hooks); }

int InFrameMessageHideIntervalMs(const QString& text) { return 70 * static_cast<int>(text.size()) + 1000; }

void ShowMessage(const QString& text, bool inFrame, bool noAutoHide) {
  try {
    if (inFrame && gInFrame.show) {
      if (text.toLower() == QStringLiteral("[hide]")) {
        if (gInFrame.hide) gInFrame.hide();
      } else {
        gInFrame.show(text, noAutoHide);
      }
      return;
    }
    if (inFrame && text.toLower() == QStringLiteral("[hide]")) return;  // no panel to hide
    // Without a game window to show it in, an in-frame message becomes a box.
    platform::messageBox(text, platform::MsgButtons::OK, platform::MsgIcon::Information, project().info.gameTitle);
  } catch (const std::exception&) {
    ShowStandardErrorReport(QStringLiteral(" Unable to display text message."));
  }
}

bool ShowProductWebSitePrompt() {
  const QString site = QString::fromLatin1(kProductWebSite);
  const auto answer = platform::messageBox(
      QStringLiteral("The Quillmere web site is ") + site +
          QStringLiteral(". To visit it now you must be connected to the Internet.\r\nClick OK to continue..."),
      platform::MsgButtons::OKCancel, platform::MsgIcon::Information, QStringLiteral("Quillmere"));
  if (answer != platform::MsgResult::OK) return false;
  platform::shellOpen(site);
  return true;
}

}  // namespace qm::startup
