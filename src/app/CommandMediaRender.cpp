// Placeholder until this command's subsystem lands.
#include <cstdio>

#include "app/Commands.h"

namespace qm::app {

int runMediaRender(int, char**, const Args&) {
  std::fputs("quillmere: this command is not built yet\n", stderr);
  return 2;
}

}  // namespace qm::app
