// The interface scale the player's own windows are drawn at: never below
// their own size, and the font and sizes that follow it.
#include <gtest/gtest.h>

#include <QFontInfo>
#include <limits>

#include "platform/InterfaceFont.h"
#include "platform/InterfaceScale.h"
#include "support/ProjectTest.h"

using namespace qm::platform;

TEST(InterfaceScale, NeverBelowTheInterfacesOwnSize) {
  SetInterfaceScale(0.5);
  EXPECT_EQ(InterfaceScale(), 1.0);
  SetInterfaceScale(std::numeric_limits<double>::quiet_NaN());
  EXPECT_EQ(InterfaceScale(), 1.0);
  SetInterfaceScale(2.5);
  EXPECT_EQ(InterfacePixels(320), 800);
  EXPECT_EQ(InterfaceSize({320, 240}), QSize(800, 600));
  SetInterfaceScale(1.0);
}

TEST(InterfaceScale, TheFontFollowsTheScale) {
  qm::testing::ensureQtApplication();
  const QFont own = InterfaceFontAt(1.0);
  SetInterfaceScale(3.0);
  EXPECT_NEAR(QFontInfo(InterfaceFont()).pointSizeF(), 3 * QFontInfo(own).pointSizeF(), 0.6);
  EXPECT_EQ(InterfaceFont().families(), own.families());
  SetInterfaceScale(1.0);
  EXPECT_EQ(InterfaceFont(), own);
}
