// qmvbs: runs a script file like a console script host.
//   qmvbs script.vbs [arguments...]   (or --help, --version)
// Offers WScript.Echo, WScript.Arguments, WScript.Quit, WScript.StdOut,
// WScript.StdErr, WScript.Sleep, WScript.ScriptName. Errors print the file,
// line, column, number and description, and the exit code is 1.
#include <cstdio>
#include <fstream>
#include <iostream>
#include <iterator>
#include <string>
#include <vector>

#include "vbsrunner/ScriptHost.h"
#include "vbscript/Engine.h"

using namespace qm::vbs;

namespace {

const char* kUsage =
    "Usage: qmvbs SCRIPT_FILE [ARGUMENTS...]\n"
    "\n"
    "Runs a VBScript file on its own, like a console script host, with the engine the\n"
    "player runs game scripts with. The file may be UTF-16 or UTF-8 with a byte-order\n"
    "mark, UTF-8, or else Windows-1252. The script sees the object WScript (Echo,\n"
    "Arguments, Quit, StdOut, StdErr, Sleep, ScriptName, ScriptFullName, Name,\n"
    "Version); MsgBox prints its text, InputBox reads a line from standard input.\n"
    "\n"
    "Options:\n"
    "  --help     show this help and exit\n"
    "  --version  show the version and exit\n"
    "\n"
    "Exit status:\n"
    "  N  what the script gave WScript.Quit\n"
    "  0  the script ran to its end\n"
    "  1  the script stopped on an error, printed as\n"
    "     FILE(LINE, COLUMN) SOURCE NUMBER: DESCRIPTION\n"
    "  2  a usage error, or a file that cannot be read\n";

}  // namespace

int main(int argc, char** argv) {
  if (argc < 2) {
    std::fputs(kUsage, stderr);
    return 2;
  }
  const std::string first = argv[1];
  if (first == "--help" || first == "-h") {
    std::fputs(kUsage, stdout);
    return 0;
  }
  if (first == "--version") {
    std::printf("qmvbs %s\n", QM_VERSION);
    return 0;
  }
  std::string path = argv[1];
  std::ifstream in(path, std::ios::binary);
  if (!in) {
    std::fprintf(stderr, "qmvbs: cannot open %s\n", path.c_str());
    return 2;
  }
  std::string bytes((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
  std::u16string source = decodeScriptText(bytes);

  std::vector<std::u16string> args;
  for (int i = 2; i < argc; ++i) args.push_back(fromUtf8(argv[i]));

  ConsoleHost host;
  Engine engine;
  engine.setHost(&host);
  engine.setTimeout(-1);
  Ref<WScriptObject> wscript(new WScriptObject(path, args));
  try {
    engine.addObject(u"WScript", wscript.get(), false);
    engine.addCode(source);
  } catch (const QuitRequest& q) {
    std::fflush(stdout);
    return q.code;
  } catch (const ScriptError& e) {
    std::fflush(stdout);
    std::fprintf(stderr, "%s(%d, %d) %s %d: %s\n", path.c_str(), e.line, e.column, toUtf8(e.source).c_str(),
                 e.number, toUtf8(e.description).c_str());
    return 1;
  }
  std::fflush(stdout);
  return 0;
}
