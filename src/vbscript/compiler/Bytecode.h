// Compiled form of a script: functions of compact instructions with resolved
// local slots, class layouts, and the global names a module refers to.
// A compiled Module does not depend on any engine: engines link it to their
// own global tables, so one Module can be shared through the parse cache.
#pragma once

#include <cstdint>
#include <memory>
#include <string>
#include <unordered_map>
#include <vector>

#include "vbscript/Value.h"

namespace qm::vbs {

enum class OpCode : uint8_t {
  Nop,
  PushConst,    // c: constant index
  PushInt,      // c: Integer value
  PushEmpty, PushMissing, PushNothing, PushTrue, PushFalse, PushNull,
  Pop,
  // Variables. a: 0 = Let, 1 = Set, 2 = plain store (no default member, no checks).
  LoadLocal, StoreLocal, RefLocal,          // b: slot
  LoadGlobal, StoreGlobal, RefGlobal,       // c: global index
  LoadDyn, StoreDyn, RefDyn,                // b: slot (implicit local), c: global index
  LoadField, StoreField, RefField,          // b: field index of Me
  LoadMe, LoadErr,
  // Calls and indexing. a: argument count.
  CallGlobal,       // c: global; b: 1 = statement call
  CallBuiltin,      // c: builtin index; b: global index to check for a script override
  CallMe,           // c: member index of Me's class; b: 1 = statement call
  IndexLocal,       // b: slot: array element or default member
  IndexGlobal,      // c: global
  IndexDyn,         // b: slot, c: global
  CallDyn,          // b: slot, c: global: a call statement on a name met first inside a procedure
  IndexField,       // b: field
  IndexValue,       // the target value lies below the arguments
  GetMember,        // c: name index; b: cache index; object below the arguments
  CallMember,       // c: name index; b: cache index (statement call)
  SetMember,        // c: name index; b: cache index; d(flags in a's high bit?) -> see SetMemberSet
  SetMemberSet,     // as SetMember, with Set
  StoreIndexLocal,  // b: slot; c: 0 Let / 1 Set; stack: args..., value
  StoreIndexGlobal, // c: global; b: 0 Let / 1 Set
  StoreIndexDyn,    // b: slot; c: global | (Set << 30)
  StoreIndexField,  // b: field; c: 0 Let / 1 Set
  StoreIndexValue,  // b: 0 Let / 1 Set; stack: target, args..., value
  RefIndexLocal,    // b: slot: a reference to the element (or the value)
  RefIndexGlobal,   // c: global
  RefIndexDyn,      // b: slot, c: global
  RefIndexField,    // b: field
  RefIndexValue,    // a reference (or value) lies below the arguments: a reference to its element
  CallValue,        // a call statement on a value below the arguments: its default member, else 13
  NewObject,        // c: global index of the class name
  CallIntrinsic,    // c: intrinsic id; a: argc
  // Operators.
  Add, Sub, Mul, Div, IntDiv, Mod, Pow, Neg, Concat, Not, And, Or, Xor, Eqv, Imp,
  Eq, Ne, Lt, Le, Gt, Ge, Is,
  // Control.
  Jump,           // c: target
  JumpIfFalse,    // c: target (pops)
  JumpIfTrue,     // c: target (pops)
  ForPrep,        // b: hidden slot h; stack: to, step -> h = to, h+1 = step
  ForTest,        // b: h; c: exit target; pops the counter value
  ForEachPrep,    // b: h; stack: collection
  ForEachNext,    // b: h; c: exit target; pushes the next element
  MakeArray,      // a: dimensions; stack: upper bounds -> a fixed array
  ReDim,          // a: dimensions; b: preserve; stack: reference, bounds...
  Erase,          // stack: reference
  OnErrorResumeNext, OnErrorGoto0,
  CheckObject,    // Set's right side must be an object (424)
  Raise,          // c: error number: raises it (errors the compiler leaves to run time)
  AppendLocal,    // b: slot: x = x & value, appending in place when x's text is not shared
  AppendGlobal,   // c: global: the same for a global variable
  Return,
};

struct Instr {
  OpCode op;
  uint8_t a = 0;
  uint16_t b = 0;
  int32_t c = 0;
};

enum class Intrinsic : int32_t { Eval, Execute, ExecuteGlobal, GetRef };

struct ClassCode;
struct Module;

// Per call site cache of a member id for objects sharing a classKey.
struct MemberCache {
  const void* key = nullptr;
  int32_t id = -1;
};

struct FunctionCode {
  enum Kind : uint8_t { TopLevel, Sub, Function, PropertyGet, PropertyLet, PropertySet } kind = TopLevel;
  std::u16string name;
  bool isPublic = true;
  int numParams = 0;
  std::vector<bool> byValParam;
  int numSlots = 0;
  int retSlot = -1;
  std::vector<std::u16string> slotNames;
  std::vector<Instr> code;
  std::vector<uint32_t> lines;      // per instruction: line << 12 | min(column, 4095)
  // Where On Error Resume Next continues: an error at a pc in [start, end)
  // goes on at `resume`. Sorted by start and disjoint.
  struct ResumePoint { int32_t start, end, resume; };
  std::vector<ResumePoint> resumePoints;
  std::vector<Value> constants;
  std::vector<std::u16string> names;  // member names
  mutable std::vector<MemberCache> caches;
  const ClassCode* owner = nullptr;
  const Module* module = nullptr;
};

struct ClassField {
  std::u16string name;
  bool isPublic = true;
  bool isArray = false;
  std::vector<int32_t> bounds;  // fixed array upper bounds (empty: dynamic or scalar)
};

struct ClassMember {
  std::u16string name;
  bool isPublic = true;
  int field = -1;  // a public/private variable
  const FunctionCode* method = nullptr;  // Sub or Function
  const FunctionCode* get = nullptr;
  const FunctionCode* let = nullptr;
  const FunctionCode* set = nullptr;
};

struct ClassCode {
  std::u16string name;
  std::vector<ClassField> fields;
  std::vector<ClassMember> members;
  std::unordered_map<std::u16string, int> memberIndex;  // lower-case name
  int defaultMember = -1;
  const FunctionCode* initialize = nullptr;
  const FunctionCode* terminate = nullptr;
  int find(std::u16string_view name) const;
};

struct Module {
  bool optionExplicit = false;
  std::vector<std::unique_ptr<FunctionCode>> functions;  // [0] is the top-level code
  std::vector<std::unique_ptr<ClassCode>> classes;
  std::vector<std::u16string> globalNames;  // what global indices refer to
  struct ProcDecl { int global; const FunctionCode* fn; };
  struct ClassDecl { int global; const ClassCode* cls; };
  struct ConstDecl { int global; Value value; };
  std::vector<ProcDecl> procedures;
  std::vector<ClassDecl> classDecls;
  std::vector<ConstDecl> constants;
  std::vector<int> variables;  // globals declared with Dim/Public/Private
  const FunctionCode* top() const { return functions[0].get(); }
};

// Compiles a parsed program. Expression mode makes a top-level function that
// returns the value of the expression. With `outer`, the code runs inside
// that procedure (Execute, Eval): its top-level function takes the
// procedure's slots as by-reference parameters. Throws ScriptError (Syntax).
namespace ast { struct Program; }
std::shared_ptr<Module> compileProgram(const ast::Program& program, bool expressionMode,
                                       const FunctionCode* outer = nullptr);

}  // namespace qm::vbs
