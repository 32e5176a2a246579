// Builds the syntax tree of a script text.
#pragma once

#include <string_view>

#include "vbscript/compiler/Ast.h"

namespace qm::vbs {

enum class ParseMode { Program, Expression };

// Parses a whole script (procedures, classes, statements) or, in Expression
// mode, one expression (stored as the value of a single Assign-less
// statement: program.body[0]->value). Throws ScriptError (Syntax) with line,
// column and the line's text.
ast::Program parseProgram(std::u16string_view text, ParseMode mode = ParseMode::Program);

}  // namespace qm::vbs
