// The runner's host objects: WScript and the console message boxes.
#pragma once

#include <string>
#include <vector>

#include "vbscript/Builtins.h"
#include "vbscript/Dispatch.h"

namespace qm::vbs {

// Thrown by WScript.Quit; ends the run with the given exit code.
struct QuitRequest {
  int code = 0;
};

// Script file bytes to text: UTF-16 or UTF-8 with a byte-order mark, UTF-8,
// or else Windows-1252.
std::u16string decodeScriptText(const std::string& bytes);

class ConsoleHost : public HostServices {
 public:
  int msgBox(const std::u16string& prompt, int buttons, const std::u16string& title) override;
  std::optional<std::u16string> inputBox(const std::u16string& prompt, const std::u16string& title,
                                         const std::u16string& defaultText) override;
  void writeLine(const std::u16string& text) override;
};

class WScriptObject : public Dispatch {
 public:
  WScriptObject(std::string scriptPath, std::vector<std::u16string> args);
  std::u16string typeName() const override { return u"Object"; }
  DispId findMember(std::u16string_view name) override;
  Value invoke(DispId id, InvokeKind kind, std::span<Value> args) override;
  bool hasDefaultMember() const override { return false; }

 private:
  std::string path_;
  Value arguments_;
  Value stdOut_;
  Value stdErr_;
};

}  // namespace qm::vbs
