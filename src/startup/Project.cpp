#include "startup/Project.h"

namespace qm::startup {

Project& project() {
  static Project instance;
  return instance;
}

void setProjectFolder(const QString& folder) { project().paths = computeProjectPaths(folder); }

void resetProjectForTests() { project() = Project{}; }

}  // namespace qm::startup
