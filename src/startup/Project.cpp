#include "startup/Project.h"

#include "platform/FileConfinement.h"

namespace qm::startup {

Project& project() {
  static Project instance;
  return instance;
}

void setProjectFolder(const QString& folder) {
  project().paths = computeProjectPaths(folder);
  // From now on the game reads, writes and runs only what lies in its folder.
  platform::setConfinementRoots({project().paths.project});
}

void resetProjectForTests() {
  project() = Project{};
  platform::setConfinementRoots({});
}

}  // namespace qm::startup
