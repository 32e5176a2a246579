// A test fixture for code that uses the project state: a fresh project, a
// recording dialog service, the per-user settings in a temporary file, and a
// Qt application (offscreen in the test runs).
#pragma once

#include <gtest/gtest.h>

#include <QString>
#include <QTemporaryDir>

#include "platform/RecordingDialogService.h"

namespace qm::testing {

// Creates the one QApplication of the test program when there is none yet.
void ensureQtApplication();

class ProjectTest : public ::testing::Test {
 protected:
  void SetUp() override;
  void TearDown() override;

  platform::RecordingDialogService& dialogs() { return *recording_; }
  // The boxes shown so far.
  std::size_t boxCount() { return dialogs().count(); }
  const platform::RecordingDialogService::Shown& lastBox() { return dialogs().last(); }

 private:
  platform::ScopedRecordingDialogs recording_;
  QTemporaryDir settingsDir_;
};

}  // namespace qm::testing
