#include "logic/ErrorReports.h"

#include "startup/ErrorReport.h"
#include "startup/Project.h"

namespace qm::logic {

void reportStandardError(const QString& specificText, const QString& description) {
  if (startup::GameStopped()) return;
  startup::ShowStandardErrorReport(specificText, description);
}

}  // namespace qm::logic
