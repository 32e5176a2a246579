// Entry point: picks the command from the command line.
#include <QDir>
#include <QStringList>
#include <algorithm>
#include <cstdio>
#include <cstring>
#include <string>

#include "app/Commands.h"
#include "distribution/RunFromCD.h"
#include "platform/DisplayConnection.h"
#include "platform/NativeFile.h"
#include "platform/NativeName.h"
#include "platform/ToolkitMessages.h"

namespace {

const char* kUsage =
    "Usage: quillmere [--cd CD_FOLDER]... [GAME_FOLDER]\n"
    "  or:  quillmere [--cd CD_FOLDER]... --walkthrough STEPS_FILE [GAME_FOLDER] [--record OUT] [--fast]\n"
    "  or:  quillmere --check GAME_FOLDER [--json]\n"
    "  or:  quillmere --media-info FILE\n"
    "  or:  quillmere --media-render FILE OUT.wav [--volume CENTIBELS] [--playcount N] [--seconds S]\n"
    "\n"
    "Plays an adventure game from its project folder. Without GAME_FOLDER the player\n"
    "uses its own folder when that holds Config/General, else the bundled demo game.\n"
    "GAME_FOLDER may also be the game's archive (.zip, .7z, .rar, .tar.*, .iso): it is\n"
    "unpacked once into $XDG_CACHE_HOME/quillmere/archives/ and played read-only.\n"
    "\n"
    "Options:\n"
    "  --cd CD_FOLDER            where CD 1 (the first --cd), CD 2, ... of a game that runs from\n"
    "                            CDs are (a mounted disc or a copied folder); repeatable\n"
    "  --walkthrough STEPS_FILE  play the game headless from a list of steps and report\n"
    "  --record OUT              with --walkthrough: record it as a video (.mp4, .mkv) with sound\n"
    "  --fast                    with --walkthrough: run on a virtual clock, as fast as the machine\n"
    "                            goes (waits take no time; same results on every run)\n"
    "  --check GAME_FOLDER       read the whole game without playing it and report every problem\n"
    "                            found (files that do not parse or are missing, unknown frames and\n"
    "                            variables, scripts that do not compile), then a summary line\n"
    "  --json                    with --check: print the findings as one JSON document\n"
    "  --media-info FILE         print what the media layer sees in a sound or video file\n"
    "  --media-render FILE OUT   play FILE through the mixer and write what is heard to OUT\n"
    "  --help                    show this help and exit\n"
    "  --version                 show the version and exit\n"
    "\n"
    "Keys while playing (full screen, no menu bar until asked for):\n"
    "  Esc or right click        show or hide the menu bar (Exit, Options, Load, Save)\n"
    "  Ctrl+Q                    quit (asks first)\n"
    "  Ctrl+S / Ctrl+L           save / load a game, when the game allows it\n"
    "  left click                act on what is under the pointer; hides the menu bar\n"
    "  F9 F10 F11 F12            (in this order) show the Debug menu\n"
    "  Tab / Shift+Tab           move a focus ring over what can be clicked: hotspots, items,\n"
    "                            dialogue questions\n"
    "  Enter, or Space tapped    click what the ring is on (Enter on an item picks it up; the\n"
    "                            next Enter drops it where the ring is then)\n"
    "  Space held                outline every hotspot that can be clicked\n"
    "  Alt+Enter                 switch between full screen and a window (remembered per game)\n"
    "\n"
    "Exit status:\n"
    "  0  done\n"
    "  1  the game could not start, a walkthrough step failed, or --check found errors\n"
    "  2  a usage error (bad option, missing folder or steps file, no display), or the\n"
    "     folder given to --check is not a game\n";

}  // namespace

int main(int argc, char** argv) {
  qm::app::Args rest;
  QStringList cdFolders;
  for (int i = 1; i < argc; ++i) {
    // --cd options come first, in CD order.
    if (rest.empty() && std::strcmp(argv[i], "--cd") == 0) {
      if (i + 1 >= argc) {
        std::fputs("quillmere: --cd needs a folder\n", stderr);
        return 2;
      }
      // By its bytes: a copied disc's folder may be named in a code page.
      const QString folder = QDir(qm::platform::nameFromBytes(QByteArray(argv[++i]))).absolutePath();
      if (!qm::platform::isFolderAt(folder)) {
        std::fprintf(stderr, "quillmere: --cd: '%s' is not a folder\n",
                     qm::platform::readableName(folder).toUtf8().constData());
        return 2;
      }
      cdFolders << folder;
      continue;
    }
    rest.emplace_back(argv[i]);
  }
  qm::distribution::runFromCD().drives().setGivenFolders(cdFolders);

  // Without a screen the toolkit's notices about it are noise.
  if (qm::platform::IsHeadlessPlatform() || (!rest.empty() && (rest.front() == "--walkthrough" || rest.front() == "--check")))
    qm::platform::FilterHarmlessToolkitMessages();

  if (!rest.empty()) {
    const std::string& first = rest.front();
    if (first == "--help" || first == "-h") {
      std::fputs(kUsage, stdout);
      return 0;
    }
    if (first == "--version") {
      std::printf("quillmere %s\n", QM_VERSION);
      return 0;
    }
    if (first == "--walkthrough") {
      qm::app::Args words(rest.begin() + 1, rest.end());
      const auto fastAt = std::find(words.begin(), words.end(), std::string("--fast"));
      const bool fast = fastAt != words.end();
      if (fast) words.erase(fastAt);
      std::string record;
      for (auto it = words.begin(); it != words.end(); ++it) {
        if (*it != "--record") continue;
        if (it + 1 == words.end()) {
          std::fputs("quillmere: --record needs an output file\n", stderr);
          return 2;
        }
        record = *(it + 1);
        words.erase(it, it + 2);
        break;
      }
      if (words.empty() || words.size() > 2) {
        std::fputs("quillmere: --walkthrough needs STEPS_FILE [GAME_FOLDER] [--record OUT] [--fast]\n", stderr);
        return 2;
      }
      return qm::app::runWalkthrough(argc, argv, words[0], words.size() == 2 ? words[1] : std::string(), record,
                                     fast);
    }
    if (first == "--check") {
      return qm::app::runCheck(argc, argv, qm::app::Args(rest.begin() + 1, rest.end()));
    }
    if (first == "--media-info") {
      return qm::app::runMediaInfo(argc, argv, qm::app::Args(rest.begin() + 1, rest.end()));
    }
    if (first == "--media-render") {
      return qm::app::runMediaRender(argc, argv, qm::app::Args(rest.begin() + 1, rest.end()));
    }
    if (first.size() > 1 && first[0] == '-') {
      std::fprintf(stderr, "quillmere: unknown option '%s'\n\n%s", first.c_str(), kUsage);
      return 2;
    }
    if (rest.size() > 1) {
      std::fprintf(stderr, "quillmere: one game folder at most\n\n%s", kUsage);
      return 2;
    }
  }
  return qm::app::runPlay(argc, argv, rest.empty() ? std::string() : rest.front());
}
