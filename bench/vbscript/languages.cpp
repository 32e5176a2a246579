// The script engine beside Lua 5.4 and CPython 3 on the same programs:
// prints, per program and language, the median processor time (user + system)
// and the median peak memory of whole runs, and the engine's ratios.
//   bench_vbscript_languages [runs]
// The programs are bench/vbscript/programs/<name>.vbs, .lua and .py; each
// prints the same lines, which are checked. The engine runs through qmvbs.
// A language whose interpreter is missing is reported "not installed" and
// skipped (scripts/install-deps.sh --bench installs lua5.4 and python3).
#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <fcntl.h>
#include <string>
#include <vector>

namespace {

struct Run {
  double cpuSeconds = 0;
  double peakMiB = 0;
  std::string output;
  bool ok = false;
};

bool onPath(const std::string& program) {
  if (program.find('/') != std::string::npos) return access(program.c_str(), X_OK) == 0;
  const char* path = std::getenv("PATH");
  std::string dirs = path ? path : "/usr/bin:/bin";
  size_t start = 0;
  while (start <= dirs.size()) {
    size_t end = dirs.find(':', start);
    if (end == std::string::npos) end = dirs.size();
    std::string candidate = dirs.substr(start, end - start) + "/" + program;
    if (access(candidate.c_str(), X_OK) == 0) return true;
    start = end + 1;
  }
  return false;
}

// Runs the program once as its own process; the kernel's accounting of that
// process gives its processor time and peak resident memory.
Run runOnce(const std::string& program, const std::string& script) {
  Run run;
  int out[2];
  if (pipe(out) != 0) return run;
  pid_t pid = fork();
  if (pid < 0) return run;
  if (pid == 0) {
    dup2(out[1], 1);
    int devNull = open("/dev/null", O_WRONLY);
    if (devNull >= 0) dup2(devNull, 2);
    close(out[0]);
    close(out[1]);
    execlp(program.c_str(), program.c_str(), script.c_str(), static_cast<char*>(nullptr));
    _exit(127);
  }
  close(out[1]);
  char buf[4096];
  ssize_t n;
  while ((n = read(out[0], buf, sizeof buf)) > 0) run.output.append(buf, static_cast<size_t>(n));
  close(out[0]);
  int status = 0;
  rusage usage{};
  if (wait4(pid, &status, 0, &usage) != pid) return run;
  run.ok = WIFEXITED(status) && WEXITSTATUS(status) == 0;
  run.cpuSeconds = double(usage.ru_utime.tv_sec + usage.ru_stime.tv_sec) +
                   double(usage.ru_utime.tv_usec + usage.ru_stime.tv_usec) / 1e6;
  run.peakMiB = double(usage.ru_maxrss) / 1024.0;  // ru_maxrss is in KiB
  for (auto& c : run.output)
    if (c == '\r') c = ' ';
  run.output.erase(std::remove(run.output.begin(), run.output.end(), ' '), run.output.end());
  return run;
}

double median(std::vector<double> v) {
  std::sort(v.begin(), v.end());
  return v.empty() ? 0 : v[v.size() / 2];
}

struct Figures {
  bool measured = false;
  double cpu = 0, peak = 0;
  std::string output;
};

Figures measure(const std::string& program, const std::string& script, int runs) {
  Figures f;
  std::string label = program.substr(program.rfind('/') + 1);
  if (!onPath(program)) {
    std::printf("  %-8s not installed\n", label.c_str());
    return f;
  }
  runOnce(program, script);  // warm-up: the files are in the cache after it
  std::vector<double> cpu, peak;
  for (int i = 0; i < runs; ++i) {
    Run r = runOnce(program, script);
    if (!r.ok) {
      std::printf("  %-8s failed\n", label.c_str());
      return f;
    }
    cpu.push_back(r.cpuSeconds);
    peak.push_back(r.peakMiB);
    f.output = r.output;
  }
  f.measured = true;
  f.cpu = median(cpu);
  f.peak = median(peak);
  std::printf("  %-8s %8.3f s cpu %8.1f MiB peak\n", label.c_str(), f.cpu, f.peak);
  return f;
}

}  // namespace

int main(int argc, char** argv) {
  int runs = argc > 1 ? std::max(1, std::atoi(argv[1])) : 5;
  const std::string dir = std::string(QM_SOURCE_DIR) + "/bench/vbscript/programs/";
  const std::string engine = std::string(QM_BINARY_DIR) + "/qmvbs";
  struct Program {
    const char* name;
    const char* other;  // the language the engine is held against
    const char* target;
  } programs[] = {
      {"loops", "lua", "time within 3x Lua"},
      {"properties", "lua", "time within 1.5x Lua"},
      {"dictionary", "python", "time and memory within 1.5x CPython"},
  };
  std::printf("(medians of %d runs after a warm-up; processor time and peak memory of each process)\n", runs);
  int failures = 0;
  for (const auto& p : programs) {
    std::printf("%s (%s)\n", p.name, p.target);
    Figures vbs = measure(engine, dir + p.name + ".vbs", runs);
    Figures lua = measure("lua5.4", dir + p.name + ".lua", runs);
    Figures py = measure("python3", dir + p.name + ".py", runs);
    for (const Figures* other : {&lua, &py}) {
      if (vbs.measured && other->measured && other->output != vbs.output) {
        std::printf("  outputs differ: engine \"%s\", other \"%s\"\n", vbs.output.c_str(), other->output.c_str());
        ++failures;
      }
    }
    const Figures& against = std::string(p.other) == "lua" ? lua : py;
    if (vbs.measured && against.measured && against.cpu > 0 && against.peak > 0)
      std::printf("  engine / %-6s %6.2fx time %6.2fx memory\n", p.other, vbs.cpu / against.cpu,
                  vbs.peak / against.peak);
  }
  return failures == 0 ? 0 : 1;
}
