#include "startup/PlayMediaControl.h"

#include <QString>
#include <exception>

#include "startup/ErrorReport.h"

namespace qm::startup {

bool PlayMediaControl(const std::function<void()>& play) {
  try {
    if (play) play();
    return true;
  } catch (const std::exception& e) {
    ShowPlayMediaControlError(QString::fromUtf8(e.what()));
    return false;
  }
}

}  // namespace qm::startup
