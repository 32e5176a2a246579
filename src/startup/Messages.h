// Text messages: in a message box or in the game window's in-frame panel.
#pragma once

#include <QString>
#include <functional>

namespace qm::startup {

// The game window installs how it shows and hides its in-frame message panel.
struct InFrameMessageHooks {
  std::function<void(const QString& text, bool noAutoHide)> show;
  std::function<void()> hide;
};
void setInFrameMessageHooks(InFrameMessageHooks hooks);

// inFrame false: an information box with the game title as caption.
// inFrame true: "[hide]" (any case) hides the panel; other texts are shown in it.
void ShowMessage(const QString& text, bool inFrame, bool noAutoHide = false);

// How long the in-frame panel stays: 70 ms per character plus one second.
int InFrameMessageHideIntervalMs(const QString& text);

// Asks whether to open the product web site; on OK opens it and returns true.
bool ShowProductWebSitePrompt();
extern const char* const kProductWebSite;

}  // namespace qm::startup
