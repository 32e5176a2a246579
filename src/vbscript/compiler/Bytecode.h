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

// How a store treats the value it stores.
enum class StoreMode : uint8_t {
  Let,    // x = v: an object on the right gives its default value
  Set,    // Set x = v: v must be an object (424 otherwise)
  Plain,  // the compiler's own stores (loop counters, results): the value as it is, no checks
};

// One line per instruction: its operands, then its stack effect (before -> after,
// top of the stack on the right). Operands: a is an argument or dimension count;
// b a local slot, field, cache or flag; c a global, constant, target or other
// index; mode the StoreMode of every instruction that stores.
// "args" are a values pushed left to right. A "reference" is a Value pointing at
// a variable or element (passed ByRef); where one cannot be made, the value.
// A "Dyn" name is one met first inside a procedure without a declaration: the
// global of that name when one exists by the time it runs, else the procedure's
// implicit local in slot b.
enum class OpCode : uint8_t {
  Nop,               //                                 --
  PushConst,         // c: constant index               -- value
  PushInt,           // c: Integer value                -- value
  PushEmpty,         //                                 -- Empty
  PushMissing,       //                                 -- Missing (an argument left out)
  PushNothing,       //                                 -- Nothing
  PushTrue,          //                                 -- True
  PushFalse,         //                                 -- False
  PushNull,          //                                 -- Null
  Pop,               //                                 value --
  LoadLocal,         // b: slot                         -- value
  StoreLocal,        // b: slot; mode                   value --
  RefLocal,          // b: slot                         -- reference
  LoadGlobal,        // c: global                       -- value
  StoreGlobal,       // c: global; mode                 value --
  RefGlobal,         // c: global                       -- reference (a variable) or value
  LoadDyn,           // b: slot, c: global              -- value
  StoreDyn,          // b: slot, c: global; mode        value --
  RefDyn,            // b: slot, c: global              -- reference or value
  LoadField,         // b: field of Me                  -- value
  StoreField,        // b: field of Me; mode            value --
  RefField,          // b: field of Me                  -- reference
  LoadMe,            //                                 -- Me
  LoadErr,           //                                 -- Err
  CallGlobal,        // a: argc, c: global, b: 1 = statement call         args -- result
  CallBuiltin,       // a: argc, c: builtin, b: global that may override it (a script procedure)
                     //                                                   args -- result
  CallMe,            // a: argc, c: member of Me's class, b: 1 = statement call   args -- result
  IndexLocal,        // a: argc, b: slot: array element or default member args -- value
  IndexGlobal,       // a: argc, c: global                                args -- value
  IndexDyn,          // a: argc, b: slot, c: global                       args -- value
  CallDyn,           // a: argc, b: slot, c: global (a call statement)    args -- result
  IndexField,        // a: argc, b: field                                 args -- value
  IndexValue,        // a: argc                                   target, args -- value
  GetMember,         // a: argc, c: name, b: cache                object, args -- value
  CallMember,        // a: argc, c: name, b: cache (a call statement) object, args -- result
  SetMember,         // a: argc, c: name, b: cache; mode   object, args, value --
  StoreIndexLocal,   // a: argc, b: slot; mode                     args, value --
  StoreIndexGlobal,  // a: argc, c: global; mode                   args, value --
  StoreIndexDyn,     // a: argc, b: slot, c: global; mode          args, value --
  StoreIndexField,   // a: argc, b: field; mode                    args, value --
  StoreIndexValue,   // a: argc; mode (target: x(0) in x(0)(1) = v) target, args, value --
  RefIndexLocal,     // a: argc, b: slot                                  args -- reference to the element, or value
  RefIndexGlobal,    // a: argc, c: global                                args -- reference or value
  RefIndexDyn,       // a: argc, b: slot, c: global                       args -- reference or value
  RefIndexField,     // a: argc, b: field                                 args -- reference or value
  RefIndexValue,     // a: argc                                   target, args -- reference or value
  CallValue,         // a: argc: the target's default member, else 13     target, args -- result
  NewObject,         // c: global naming the class, b: 1 = a variable declared in scope  -- object
  CallIntrinsic,     // a: argc, c: Intrinsic                             args -- result
  // Operators: the operands' default values, then the operator.
  Add, Sub, Mul, Div, IntDiv, Mod, Pow, Concat,  //                       x, y -- result
  And, Or, Xor, Eqv, Imp,                        //                       x, y -- result
  Eq, Ne, Lt, Le, Gt, Ge,                        // b: CompareLiteral flags x, y -- result
  Is,                                            // (both objects)        x, y -- Boolean
  Neg, Not,                                      //                          x -- result
  Jump,              // c: target                       --
  JumpIfFalse,       // c: target                       condition --
  JumpIfTrue,        // c: target                       condition --
  ForPrep,           // b: hidden slots b (limit), b+1 (step)     start, limit, step -- start as a number
  ForTest,           // b: hidden slots, c: exit target           counter --   (jumps when past the limit)
  ForStep,           // b: hidden slots (92 when the limit is Empty: a header that failed)  counter -- counter + step
  ForNextLocal,      // b: the loop variable's local slot, c: the loop's ForTest   --
                     // (Next of a local counter: ForStep, the store, and the loop's test in one;
                     //  goes on after the ForTest, or at its exit target)
  ForEachPrep,       // b: hidden slots b, b+1 (the walk's state)  collection --
  ForEachNext,       // b: hidden slots, c: exit target           -- element   (nothing, and jumps, at the end;
                     //                                           451 when the state is Empty: a header that failed)
  MakeArray,         // a: dimensions                   upper bounds -- fixed array
  ReDim,             // a: dimensions, b: 1 = Preserve  reference, upper bounds --
  Erase,             //                                 reference --
  OnErrorResumeNext, //                                 --
  OnErrorGoto0,      //                                 --
  CheckObject,       // (Set's right side: 424 unless an object)  value -- value
  Raise,             // c: error number (errors the compiler leaves to run time)  -- (raises)
  AppendLocal,       // b: slot: x = x & value, in place when x's text is not shared   value --
  AppendGlobal,      // c: global: the same for a global variable                     value --
  Return,            //                                 --
};

struct Instr {
  OpCode op;
  uint8_t a = 0;
  uint16_t b = 0;
  int32_t c = 0;
  StoreMode mode = StoreMode::Let;
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
  std::vector<int> outerDeclared;  // code run inside a procedure: the procedure's slots its Dims name
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
