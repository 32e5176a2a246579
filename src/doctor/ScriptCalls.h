// The calls a piece of script makes, found in its syntax tree: a bare name
// called (GoToFrame "Hall", 1, 0) or a member of the action object
// (Action.GoToFrame ...), with the number of arguments and the literal text
// of each argument that is a string.
#pragma once

#include <QString>
#include <QStringList>
#include <optional>
#include <vector>

namespace qm::vbs::ast {
struct Program;
}

namespace qm::doctor {

struct ScriptCall {
  QString name;        // as written
  int line = 0;        // 1-based line of the compiled text
  int argumentCount = 0;
  bool hasArguments = false;  // called with an argument list (even an empty "()")
  std::vector<std::optional<QString>> literals;  // per argument: its text when a string literal
};

// Every call of a bare name or of a member of "Action" in the program, in
// source order, plus assignments to Action.sFrameToLoad (as a call named
// "sFrameToLoad" with the assigned value as its one argument).
std::vector<ScriptCall> findScriptCalls(const vbs::ast::Program& program);

// The lower-case names of the procedures and classes the program defines.
QStringList definedNames(const vbs::ast::Program& program);

}  // namespace qm::doctor
