// The syntax tree the parser builds and the compiler turns into bytecode.
#pragma once

#include <memory>
#include <string>
#include <vector>

#include "vbscript/Value.h"

namespace qm::vbs::ast {

enum class Op : uint8_t {
  Pow, Neg, Mul, Div, IntDiv, Mod, Add, Sub, Concat,
  Eq, Ne, Lt, Le, Gt, Ge, Is, Not, And, Or, Xor, Eqv, Imp,
};

struct Expr;
using ExprPtr = std::unique_ptr<Expr>;

struct Expr {
  enum Kind : uint8_t {
    Literal,   // value
    Name,      // name
    Me,
    Member,    // object.name (object null: the With object)
    Call,      // target(args): array element, call, or default member
    Unary,     // op a
    Binary,    // a op b
    New,       // New name
    Paren,     // (a): a value, never a reference
    Missing,   // an argument left out: f(1, , 3)
  };
  Kind kind;
  Op op = Op::Add;
  int line = 0;
  int column = 0;
  Value value;
  std::u16string name;
  ExprPtr a, b;
  std::vector<ExprPtr> args;
  Expr(Kind k, int l, int c) : kind(k), line(l), column(c) {}
};

struct Stmt;
using StmtPtr = std::unique_ptr<Stmt>;
using Block = std::vector<StmtPtr>;

struct DimItem {
  std::u16string name;
  int line = 0, column = 0;
  bool isArray = false;            // Dim a() or Dim a(3)
  std::vector<ExprPtr> bounds;     // upper bounds (empty for a dynamic array)
};

struct CaseClause {
  struct Item {
    enum Kind : uint8_t { Value, Range, Compare } kind = Value;
    Op op = Op::Eq;  // for Compare (Case Is > 3)
    ExprPtr a, b;
  };
  std::vector<Item> items;  // empty = Case Else
  Block body;
};

struct Stmt {
  enum Kind : uint8_t {
    Assign,      // target = value / Set target = value
    CallStmt,    // a call used as a statement: expr (Call or Member or Name)
    Dim,         // items
    ReDim,       // items (preserve)
    Erase,       // target
    Const,       // names + values
    If,          // conds[i] -> blocks[i]; elseBlock
    Select,      // subject; cases
    For,         // var, from, to, step; body
    ForEach,     // var, collection; body
    DoLoop,      // cond (optional), preTest, isUntil; body
    Exit,        // exitKind
    With,        // subject; body
    OnErrorResumeNext,
    OnErrorGoto0,
    Randomize,   // value optional
    Nop,
  };
  Kind kind;
  int line = 0;
  int column = 0;
  bool isSet = false;
  bool preserve = false;
  bool preTest = false;
  bool isUntil = false;
  enum ExitKind : uint8_t { ExitDo, ExitFor, ExitSub, ExitFunction, ExitProperty } exitKind = ExitDo;
  ExprPtr target, value, from, to, step;
  std::u16string name;  // For / For Each variable
  std::vector<DimItem> items;
  std::vector<ExprPtr> conds;
  std::vector<Block> blocks;
  Block body;
  Block elseBlock;
  bool hasElse = false;
  std::vector<CaseClause> cases;
  std::vector<std::pair<std::u16string, ExprPtr>> consts;
  bool isPublic = true;
  Stmt(Kind k, int l, int c) : kind(k), line(l), column(c) {}
};

struct Param {
  std::u16string name;
  bool byVal = false;
  bool isArray = false;  // name()
};

struct Procedure {
  enum Kind : uint8_t { Sub, Function, PropertyGet, PropertyLet, PropertySet } kind = Sub;
  std::u16string name;
  bool isPublic = true;
  bool isDefault = false;
  int line = 0, column = 0;
  std::vector<Param> params;
  Block body;
};

struct ClassMember : DimItem {  // Public/Private/Dim fields
  bool isPublic = true;
};

struct ClassDecl {
  std::u16string name;
  int line = 0, column = 0;
  std::vector<ClassMember> fields;
  std::vector<Procedure> procedures;
};

struct Program {
  bool optionExplicit = false;
  std::vector<Procedure> procedures;
  std::vector<ClassDecl> classes;
  Block body;  // top-level statements in order
};

}  // namespace qm::vbs::ast
