#include "XvfbServer.h"

#include <fcntl.h>
#include <poll.h>
#include <signal.h>
#include <sys/prctl.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cerrno>
#include <stdexcept>
#include <string>

namespace qm::testing {

namespace {

// Xvfb writes its display number once it listens; a loaded machine may be slow to get there.
constexpr int kStartPatienceMs = 60000;

}  // namespace

XvfbServer::XvfbServer(QSize screen) {
  int fds[2];
  if (pipe(fds) != 0) throw std::runtime_error("cannot make a pipe for Xvfb");
  const std::string screenSpec = std::to_string(screen.width()) + "x" + std::to_string(screen.height()) + "x24";
  const std::string fd = std::to_string(fds[1]);
  const pid_t parent = getpid();
  pid_ = fork();
  if (pid_ < 0) throw std::runtime_error("cannot start Xvfb (fork failed)");
  if (pid_ == 0) {
    // The server ends with the test program, even when that one crashes.
    prctl(PR_SET_PDEATHSIG, SIGTERM);
    if (getppid() != parent) _exit(1);
    close(fds[0]);
    const int devNull = open("/dev/null", O_RDWR);
    if (devNull >= 0) {
      dup2(devNull, STDIN_FILENO);
      dup2(devNull, STDOUT_FILENO);
      dup2(devNull, STDERR_FILENO);
    }
    execlp("Xvfb", "Xvfb", "-displayfd", fd.c_str(), "-screen", "0", screenSpec.c_str(), "-nolisten", "tcp",
           "-noreset", static_cast<char*>(nullptr));
    _exit(127);
  }
  close(fds[1]);
  std::string number;
  pollfd p{fds[0], POLLIN, 0};
  for (;;) {
    const int ready = poll(&p, 1, kStartPatienceMs);
    if (ready < 0 && errno == EINTR) continue;
    if (ready <= 0) break;
    char c = 0;
    const ssize_t n = read(fds[0], &c, 1);
    if (n < 0 && errno == EINTR) continue;
    if (n <= 0 || c == '\n') break;
    number += c;
  }
  close(fds[0]);
  if (number.empty()) {
    kill(pid_, SIGTERM);
    waitpid(pid_, nullptr, 0);
    pid_ = -1;
    throw std::runtime_error("Xvfb did not start (is the xvfb package installed?)");
  }
  displayName_ = QByteArray(":") + QByteArray::fromStdString(number);
}

XvfbServer::~XvfbServer() {
  if (pid_ <= 0) return;
  kill(pid_, SIGTERM);
  waitpid(pid_, nullptr, 0);
}

}  // namespace qm::testing
