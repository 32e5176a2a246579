// qmvbs: runs a script file like a console script host.
//   qmvbs script.vbs [arguments...]
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

int main(int argc, char** argv) {
  if (argc < 2) {
    std::fprintf(stderr, "Usage: qmvbs script.vbs [arguments...]\n");
    return 2;
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
