// Only the known harmless toolkit warnings are dropped from headless runs.
#include <gtest/gtest.h>

#include "platform/ToolkitMessages.h"

using qm::platform::IsHarmlessToolkitMessage;

TEST(ToolkitMessages, OnlyTheKnownHarmlessWarningsAreDropped) {
  EXPECT_TRUE(IsHarmlessToolkitMessage("QStandardPaths: XDG_RUNTIME_DIR not set, defaulting to '/tmp/runtime-me'"));
  EXPECT_TRUE(IsHarmlessToolkitMessage("This plugin does not support raise()"));
  // Anything else, however close, still reaches the error output.
  EXPECT_FALSE(IsHarmlessToolkitMessage("This plugin does not support grabbing the keyboard"));
  EXPECT_FALSE(IsHarmlessToolkitMessage("QStandardPaths: wrong permissions on runtime directory /run/user/1, 0755"));
  EXPECT_FALSE(IsHarmlessToolkitMessage("qt.qpa.xcb: could not connect to display :9"));
  EXPECT_FALSE(IsHarmlessToolkitMessage("Warning: This plugin does not support raise()"));
  EXPECT_FALSE(IsHarmlessToolkitMessage(""));
}
