// Placeholder until this command's subsystem lands.
#include <cstdio>

#include "app/Commands.h"

namespace qm::app {

int runPlay(int, char**, const std::string&) {
  std::fputs("quillmere: this command is not built yet\n", stderr);
  return 2;
}

}  // namespace qm::app
