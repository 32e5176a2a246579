// Start-up time: from starting the player process to its welcome window on
// screen (offscreen platform), on the bundled demo game.
//
//   bench_game_startup [RUNS] [GAME_FOLDER]
//
// Each run starts build/quillmere with QM_EXIT_WHEN_WELCOME_SHOWN set, which
// makes the player print a line once the welcome window has been painted and
// end. The time is taken from just before the process is spawned to the
// moment that line arrives. The line also says where the time went inside the
// player; what is left (spawn to line, less the player's own count) is the
// loading of the program and its libraries. Target: 60 ms on a quiet machine.
#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>
#include <vector>

extern char** environ;

namespace {

struct Run {
  double wallMs = -1;      // spawn to "shown" line
  std::string childLine;   // what the player printed
  std::vector<double> phases;  // the player's own count, then its phases
};

// The numbers of "welcome window shown after T ms (a X, b Y, ...)", in order.
std::vector<double> numbersIn(const std::string& line) {
  std::vector<double> out;
  const char* p = line.c_str();
  while (*p) {
    if ((*p >= '0' && *p <= '9') && (p == line.c_str() || p[-1] == ' ')) {
      char* end = nullptr;
      out.push_back(std::strtod(p, &end));
      p = end;
    } else {
      ++p;
    }
  }
  return out;
}

Run runOnce(const std::string& player, const std::string& game, const std::string& settingsFile) {
  Run run;
  int out[2];
  if (pipe(out) != 0) return run;

  std::vector<std::string> envStrings;
  for (char** e = environ; *e; ++e) {
    const std::string entry(*e);
    if (entry.rfind("QT_QPA_PLATFORM=", 0) == 0 || entry.rfind("QM_SETTINGS_FILE=", 0) == 0) continue;
    envStrings.push_back(entry);
  }
  envStrings.push_back("QT_QPA_PLATFORM=offscreen");
  envStrings.push_back("QM_EXIT_WHEN_WELCOME_SHOWN=1");
  envStrings.push_back("QM_SETTINGS_FILE=" + settingsFile);
  std::vector<char*> envp;
  for (auto& s : envStrings) envp.push_back(s.data());
  envp.push_back(nullptr);

  std::string arg0 = player;
  std::string arg1 = game;
  char* argv[] = {arg0.data(), arg1.data(), nullptr};

  posix_spawn_file_actions_t actions;
  posix_spawn_file_actions_init(&actions);
  posix_spawn_file_actions_adddup2(&actions, out[1], STDOUT_FILENO);
  posix_spawn_file_actions_addclose(&actions, out[0]);

  const auto start = std::chrono::steady_clock::now();
  pid_t pid = 0;
  const int rc = posix_spawn(&pid, player.c_str(), &actions, nullptr, argv, envp.data());
  posix_spawn_file_actions_destroy(&actions);
  close(out[1]);
  if (rc != 0) {
    close(out[0]);
    std::fprintf(stderr, "cannot start %s: %s\n", player.c_str(), std::strerror(rc));
    return run;
  }

  std::string line;
  char c = 0;
  while (read(out[0], &c, 1) == 1) {
    if (c == '\n') {
      if (line.rfind("welcome window shown", 0) == 0) {
        run.wallMs = std::chrono::duration<double, std::milli>(std::chrono::steady_clock::now() - start).count();
        run.childLine = line;
        run.phases = numbersIn(line);
        break;
      }
      line.clear();
    } else {
      line += c;
    }
  }
  close(out[0]);
  int status = 0;
  waitpid(pid, &status, 0);
  return run;
}

double percentile(std::vector<double> values, double p) {
  std::sort(values.begin(), values.end());
  const auto index = static_cast<size_t>(p * (values.size() - 1) + 0.5);
  return values[index];
}

}  // namespace

int main(int argc, char** argv) {
  const int runs = argc > 1 ? std::max(1, std::atoi(argv[1])) : 15;
  const std::string game = argc > 2 ? argv[2] : std::string(QM_SOURCE_DIR) + "/demo";
  const std::string player = std::string(QM_BINARY_DIR) + "/quillmere";
  char settingsTemplate[] = "/tmp/qm-bench-settings-XXXXXX";
  const int fd = mkstemp(settingsTemplate);
  if (fd >= 0) close(fd);
  const std::string settingsFile = settingsTemplate;

  // One run to warm the file cache; not counted.
  runOnce(player, game, settingsFile);

  std::vector<double> times;
  std::vector<std::vector<double>> phases;
  for (int i = 0; i < runs; ++i) {
    const Run run = runOnce(player, game, settingsFile);
    if (run.wallMs < 0) {
      std::fprintf(stderr, "run %d: the welcome window never showed\n", i + 1);
      std::remove(settingsFile.c_str());
      return 1;
    }
    times.push_back(run.wallMs);
    if (!run.phases.empty()) {
      std::vector<double> p = run.phases;
      p.insert(p.begin(), run.wallMs - run.phases[0]);  // before the player's own count began
      phases.push_back(p);
    }
  }
  std::remove(settingsFile.c_str());

  const double median = percentile(times, 0.5);
  std::printf("start-up to welcome window (offscreen, %s), %d runs\n", game.c_str(), runs);
  std::printf("  min %.1f ms   median %.1f ms   p90 %.1f ms   max %.1f ms\n", percentile(times, 0.0), median,
              percentile(times, 0.9), percentile(times, 1.0));
  static const char* const kPhaseNames[] = {"program and libraries loaded", "(the player's own count)",
                                            "game folder chosen", "display checked", "toolkit and window made",
                                            "project loaded and window shown", "first paint"};
  if (!phases.empty()) {
    std::printf("  where it went (medians):\n");
    for (size_t k = 0; k < phases[0].size() && k < 7; ++k) {
      if (k == 1) continue;
      std::vector<double> column;
      for (const auto& p : phases)
        if (k < p.size()) column.push_back(p[k]);
      std::printf("    %-34s %6.1f ms\n", kPhaseNames[k], percentile(column, 0.5));
    }
  }
  std::printf("  target 60 ms: %s\n", median <= 60.0 ? "met" : "missed");
  return 0;
}
