// Turns the syntax tree into bytecode: resolves names to local slots, class
// fields and members, constants, builtins, or engine globals.
#include <unordered_set>

#include "vbscript/Builtins.h"
#include "vbscript/Operators.h"
#include "vbscript/ScriptError.h"
#include "vbscript/compiler/Ast.h"
#include "vbscript/compiler/Bytecode.h"

namespace qm::vbs {

using namespace ast;

int ClassCode::find(std::u16string_view name) const {
  auto it = memberIndex.find(toLowerCopy(name));
  return it == memberIndex.end() ? -1 : it->second;
}

namespace {

struct Resolved {
  enum Kind { Local, Const, Field, ClassMethod, Global, Dyn, Builtin, Intrinsic, Err } kind = Global;
  int slot = -1;
  int index = -1;  // field, member, builtin, intrinsic
  int global = -1;
  Value constant;
};

struct LoopLabels {
  bool isFor;
  std::vector<size_t> exits;
};

class Compiler {
 public:
  Compiler(bool expressionMode, const FunctionCode* outer)
      : expressionMode_(expressionMode), outer_(outer), reg_(defaultRegistry()) {
    module_ = std::make_shared<Module>();
  }

  std::shared_ptr<Module> compile(const Program& prog) {
    module_->optionExplicit = prog.optionExplicit;
    // The top-level function is always functions[0].
    auto top = std::make_unique<FunctionCode>();
    top->kind = FunctionCode::TopLevel;
    top->module = module_.get();
    FunctionCode* topFn = top.get();
    module_->functions.push_back(std::move(top));

    // Declarations first, so every body can see every procedure, class and constant.
    for (const auto& p : prog.procedures) {
      std::u16string key = toLowerCopy(p.name);
      moduleProcs_.insert(key);
    }
    for (const auto& c : prog.classes) {
      std::u16string key = toLowerCopy(c.name);
      if (moduleClasses_.count(key)) failAt(err::NameRedefined, c.line, c.column);
      moduleClasses_.insert(key);
    }
    scanTopLevel(prog.body);

    for (const auto& c : prog.classes) compileClass(c);
    for (const auto& p : prog.procedures) {
      const FunctionCode* fn = compileProcedure(p, nullptr);
      module_->procedures.push_back({globalIndex(p.name), fn});
    }
    for (auto& [name, value] : topConsts_) module_->constants.push_back({globalIndex(name), value});

    // Top-level code. Code run by Execute or Eval inside a procedure sees the
    // procedure's variables: they arrive as references in the first slots.
    beginFunction(topFn, outer_ ? outer_->owner : nullptr);
    if (outer_) {
      for (const auto& name : outer_->slotNames) {
        int slot = newSlot(name);
        if (!name.empty()) locals_.emplace(toLowerCopy(name), slot);
      }
      topFn->numParams = outer_->numSlots;
      topFn->byValParam.assign(static_cast<size_t>(outer_->numSlots), false);
    }
    if (expressionMode_) {
      fn_->retSlot = newSlot(u"");
      const Stmt& s = *prog.body.at(0);
      setPos(s.line, s.column);
      compileExpr(*s.value);
      emit(OpCode::StoreLocal, 0, static_cast<uint16_t>(fn_->retSlot), 0, StoreMode::Plain);
      addResume(0, here());
    } else {
      compileBlock(prog.body);
    }
    endFunction();
    return module_;
  }

 private:
  // ---- errors and emission ----
  [[noreturn]] void failAt(int32_t number, int line, int column) {
    ScriptError e(number, ErrorKind::Syntax);
    e.line = line;
    e.column = column;
    throw e;
  }

  void setPos(int line, int column) {
    line_ = line;
    column_ = column;
  }

  size_t emit(OpCode op, uint8_t a = 0, uint16_t b = 0, int32_t c = 0, StoreMode mode = StoreMode::Let) {
    fn_->code.push_back(Instr{op, a, b, c, mode});
    fn_->lines.push_back(static_cast<uint32_t>(line_) << 12 | static_cast<uint32_t>(std::min(column_, 4095)));
    return fn_->code.size() - 1;
  }
  size_t here() const { return fn_->code.size(); }

  // An error in the code from `start` up to here continues at `resume`
  // under On Error Resume Next. Returns the entry, for resumes patched later.
  size_t addResume(size_t start, size_t resume) {
    fn_->resumePoints.push_back({static_cast<int32_t>(start), static_cast<int32_t>(here()),
                                 static_cast<int32_t>(resume)});
    return fn_->resumePoints.size() - 1;
  }
  void patchResume(size_t entry, size_t resume) { fn_->resumePoints[entry].resume = static_cast<int32_t>(resume); }
  void patch(size_t at, size_t target) { fn_->code[at].c = static_cast<int32_t>(target); }

  int constant(const Value& v) {
    fn_->constants.push_back(v);
    return static_cast<int>(fn_->constants.size() - 1);
  }
  void pushValue(const Value& v) {
    switch (v.type()) {
      case VarType::Empty: emit(OpCode::PushEmpty); return;
      case VarType::Null: emit(OpCode::PushNull); return;
      case VarType::Boolean: emit(v.asBool() ? OpCode::PushTrue : OpCode::PushFalse); return;
      case VarType::Integer: emit(OpCode::PushInt, 0, 0, v.asInteger()); return;
      case VarType::Object: if (v.isNothing()) { emit(OpCode::PushNothing); return; } break;
      default: break;
    }
    emit(OpCode::PushConst, 0, 0, constant(v));
  }
  int nameIndex(const std::u16string& name) {
    fn_->names.push_back(name);
    return static_cast<int>(fn_->names.size() - 1);
  }
  uint16_t newCache() {
    fn_->caches.emplace_back();
    if (fn_->caches.size() > 65535) failAt(err::OutOfMemorySyntax, line_, column_);
    return static_cast<uint16_t>(fn_->caches.size() - 1);
  }

  int globalIndex(const std::u16string& name) {
    std::u16string key = toLowerCopy(name);
    auto it = globals_.find(key);
    if (it != globals_.end()) return it->second;
    int g = static_cast<int>(module_->globalNames.size());
    module_->globalNames.push_back(name);
    globals_.emplace(std::move(key), g);
    return g;
  }

  // ---- constants ----
  bool foldConst(const Expr& e, Value& out) {
    switch (e.kind) {
      case Expr::Literal: out = e.value; return true;
      case Expr::Paren: return foldConst(*e.a, out);
      case Expr::Name: {
        std::u16string key = toLowerCopy(e.name);
        if (fn_) {
          auto it = localConsts_.find(key);
          if (it != localConsts_.end()) { out = it->second; return true; }
        }
        auto it = topConsts_.find(key);
        if (it != topConsts_.end()) { out = it->second; return true; }
        if (const Value* c = reg_.findConstant(e.name)) { out = *c; return true; }
        return false;
      }
      case Expr::Unary: {
        Value a;
        if (!foldConst(*e.a, a)) return false;
        try {
          out = e.op == Op::Neg ? opNeg(a) : opNot(a);
        } catch (const ScriptError&) {
          return false;
        }
        return true;
      }
      case Expr::Binary: {
        Value a, b;
        if (!foldConst(*e.a, a) || !foldConst(*e.b, b)) return false;
        try {
          switch (e.op) {
            case Op::Add: out = opAdd(a, b); break;
            case Op::Sub: out = opSub(a, b); break;
            case Op::Mul: out = opMul(a, b); break;
            case Op::Div: out = opDiv(a, b); break;
            case Op::IntDiv: out = opIntDiv(a, b); break;
            case Op::Mod: out = opMod(a, b); break;
            case Op::Pow: out = opPow(a, b); break;
            case Op::Concat: out = opConcat(a, b); break;
            case Op::And: out = opAnd(a, b); break;
            case Op::Or: out = opOr(a, b); break;
            case Op::Xor: out = opXor(a, b); break;
            default: return false;
          }
        } catch (const ScriptError&) {
          return false;
        }
        return true;
      }
      default: return false;
    }
  }

  // ---- declarations ----
  void scanTopLevel(const Block& body) {
    for (const auto& s : body) scanTopStmt(*s);
  }
  void scanTopStmt(const Stmt& s) {
    switch (s.kind) {
      case Stmt::Dim:
        for (const auto& d : s.items) {
          std::u16string key = toLowerCopy(d.name);
          if (moduleProcs_.count(key) || moduleClasses_.count(key)) failAt(err::NameRedefined, d.line, d.column);
          // Code run by Execute inside a procedure: a Dim of one of the
          // procedure's own names is that variable, not a new global.
          if (int slot = outerSlot(key); slot >= 0) {
            module_->outerDeclared.push_back(slot);
            continue;
          }
          if (moduleVars_.insert(key).second) module_->variables.push_back(globalIndex(d.name));
        }
        break;
      case Stmt::ReDim:
        for (const auto& d : s.items) {
          std::u16string key = toLowerCopy(d.name);
          if (moduleVars_.insert(key).second) module_->variables.push_back(globalIndex(d.name));
        }
        break;
      case Stmt::Const:
        for (const auto& [name, expr] : s.consts) {
          Value v;
          if (!foldConst(*expr, v)) failAt(err::ExpectedLiteralConstant, expr->line, expr->column);
          std::u16string key = toLowerCopy(name);
          if (topConsts_.count(key) || moduleProcs_.count(key)) failAt(err::NameRedefined, s.line, s.column);
          topConsts_[key] = v;
        }
        break;
      case Stmt::If:
        for (const auto& b : s.blocks) scanTopLevel(b);
        scanTopLevel(s.elseBlock);
        break;
      case Stmt::Select:
        for (const auto& c : s.cases) scanTopLevel(c.body);
        break;
      case Stmt::For: case Stmt::ForEach: case Stmt::DoLoop: case Stmt::With:
        scanTopLevel(s.body);
        break;
      default: break;
    }
  }

  // The slot of one of the procedure's own names, for code run inside it; -1 if none.
  int outerSlot(const std::u16string& key) const {
    if (!outer_) return -1;
    for (size_t i = 0; i < outer_->slotNames.size(); ++i) {
      const auto& name = outer_->slotNames[i];
      if (!name.empty() && equalsNoCase(name, key)) return static_cast<int>(i);
    }
    return -1;
  }

  void scanLocals(const Block& body) {
    for (const auto& s : body) scanLocalStmt(*s);
  }
  void scanLocalStmt(const Stmt& s) {
    switch (s.kind) {
      case Stmt::Dim:
        for (const auto& d : s.items) {
          std::u16string key = toLowerCopy(d.name);
          if (locals_.count(key) && !implicit_.count(key)) failAt(err::NameRedefined, d.line, d.column);
          declareLocal(d.name);
        }
        break;
      case Stmt::ReDim:
        for (const auto& d : s.items) {
          std::u16string key = toLowerCopy(d.name);
          bool known = locals_.count(key) || moduleVars_.count(key) ||
                       (cls_ && cls_->find(d.name) >= 0);
          if (!known) declareLocal(d.name);
        }
        break;
      case Stmt::Const:
        for (const auto& [name, expr] : s.consts) {
          Value v;
          if (!foldConst(*expr, v)) failAt(err::ExpectedLiteralConstant, expr->line, expr->column);
          localConsts_[toLowerCopy(name)] = v;
        }
        break;
      case Stmt::If:
        for (const auto& b : s.blocks) scanLocals(b);
        scanLocals(s.elseBlock);
        break;
      case Stmt::Select:
        for (const auto& c : s.cases) scanLocals(c.body);
        break;
      case Stmt::For: case Stmt::ForEach: case Stmt::DoLoop: case Stmt::With:
        scanLocals(s.body);
        break;
      default: break;
    }
  }

  int newSlot(const std::u16string& name) {
    fn_->slotNames.push_back(name);
    fn_->numSlots = static_cast<int>(fn_->slotNames.size());
    if (fn_->numSlots > 60000) failAt(err::OutOfMemorySyntax, line_, column_);
    return fn_->numSlots - 1;
  }
  int declareLocal(const std::u16string& name) {
    std::u16string key = toLowerCopy(name);
    auto it = locals_.find(key);
    if (it != locals_.end()) {
      implicit_.erase(key);
      return it->second;
    }
    int s = newSlot(name);
    locals_.emplace(std::move(key), s);
    return s;
  }
  int hiddenSlot() { return newSlot(u""); }

  void beginFunction(FunctionCode* fn, const ClassCode* cls) {
    fn_ = fn;
    cls_ = cls;
    locals_.clear();
    localConsts_.clear();
    implicit_.clear();
    loops_.clear();
    withSlots_.clear();
    exitJumps_.clear();
    line_ = 0;
    column_ = 0;
  }
  void endFunction() {
    size_t ret = emit(OpCode::Return);
    for (size_t j : exitJumps_) patch(j, ret);
    fn_->caches.shrink_to_fit();
  }

  const FunctionCode* compileProcedure(const Procedure& p, const ClassCode* cls) {
    auto fnHolder = std::make_unique<FunctionCode>();
    FunctionCode* fn = fnHolder.get();
    module_->functions.push_back(std::move(fnHolder));
    fn->module = module_.get();
    fn->owner = cls;
    fn->name = p.name;
    fn->isPublic = p.isPublic;
    switch (p.kind) {
      case Procedure::Sub: fn->kind = FunctionCode::Sub; break;
      case Procedure::Function: fn->kind = FunctionCode::Function; break;
      case Procedure::PropertyGet: fn->kind = FunctionCode::PropertyGet; break;
      case Procedure::PropertyLet: fn->kind = FunctionCode::PropertyLet; break;
      case Procedure::PropertySet: fn->kind = FunctionCode::PropertySet; break;
    }
    beginFunction(fn, cls);
    setPos(p.line, p.column);
    for (const auto& prm : p.params) {
      std::u16string key = toLowerCopy(prm.name);
      if (locals_.count(key)) failAt(err::NameRedefined, p.line, p.column);
      declareLocal(prm.name);
      fn->byValParam.push_back(prm.byVal);
    }
    fn->numParams = static_cast<int>(p.params.size());
    if (fn->kind == FunctionCode::Function || fn->kind == FunctionCode::PropertyGet) {
      fn->retSlot = newSlot(p.name);
      std::u16string key = toLowerCopy(p.name);
      if (!locals_.count(key)) locals_.emplace(key, fn->retSlot);
    }
    scanLocals(p.body);
    compileBlock(p.body);
    endFunction();
    return fn;
  }

  void compileClass(const ClassDecl& c) {
    auto holder = std::make_unique<ClassCode>();
    ClassCode* cls = holder.get();
    module_->classes.push_back(std::move(holder));
    cls->name = c.name;
    auto memberFor = [&](const std::u16string& name) -> int {
      std::u16string key = toLowerCopy(name);
      auto it = cls->memberIndex.find(key);
      if (it != cls->memberIndex.end()) return it->second;
      cls->members.push_back(qm::vbs::ClassMember{name});
      int idx = static_cast<int>(cls->members.size() - 1);
      cls->memberIndex.emplace(std::move(key), idx);
      return idx;
    };
    fn_ = nullptr;
    for (const auto& f : c.fields) {
      ClassField field;
      field.name = f.name;
      field.isPublic = f.isPublic;
      field.isArray = f.isArray;
      for (const auto& b : f.bounds) {
        Value v;
        if (!foldConst(*b, v) || !v.isNumeric()) failAt(err::ExpectedInteger, b->line, b->column);
        field.bounds.push_back(toInt32(v));
      }
      std::u16string key = toLowerCopy(f.name);
      if (cls->memberIndex.count(key)) failAt(err::NameRedefined, f.line, f.column);
      cls->fields.push_back(std::move(field));
      int m = memberFor(f.name);
      cls->members[m].field = static_cast<int>(cls->fields.size() - 1);
      cls->members[m].isPublic = f.isPublic;
    }
    // Members first (so bodies can call each other), bodies after.
    std::vector<std::pair<const Procedure*, int>> order;
    for (const auto& p : c.procedures) {
      int m = memberFor(p.name);
      qm::vbs::ClassMember& mem = cls->members[m];
      if (mem.field >= 0) failAt(err::NameRedefined, p.line, p.column);
      bool clash = false;
      switch (p.kind) {
        case Procedure::Sub: case Procedure::Function: clash = mem.method || mem.get || mem.let || mem.set; break;
        case Procedure::PropertyGet: clash = mem.method || mem.get; break;
        case Procedure::PropertyLet: clash = mem.method || mem.let; break;
        case Procedure::PropertySet: clash = mem.method || mem.set; break;
      }
      if (clash) failAt(err::NameRedefined, p.line, p.column);
      mem.isPublic = p.isPublic;
      if (p.isDefault) {
        if (cls->defaultMember >= 0 && cls->defaultMember != m) failAt(err::MultipleDefault, p.line, p.column);
        cls->defaultMember = m;
      }
      order.emplace_back(&p, m);
      // Mark presence now so bodies resolve it; real pointers are set below.
      static const FunctionCode placeholder;
      switch (p.kind) {
        case Procedure::Sub: case Procedure::Function: mem.method = &placeholder; break;
        case Procedure::PropertyGet: mem.get = &placeholder; break;
        case Procedure::PropertyLet: mem.let = &placeholder; break;
        case Procedure::PropertySet: mem.set = &placeholder; break;
      }
    }
    for (auto& [p, m] : order) {
      const FunctionCode* fn = compileProcedure(*p, cls);
      qm::vbs::ClassMember& mem = cls->members[m];
      switch (p->kind) {
        case Procedure::Sub: case Procedure::Function: mem.method = fn; break;
        case Procedure::PropertyGet: mem.get = fn; break;
        case Procedure::PropertyLet: mem.let = fn; break;
        case Procedure::PropertySet: mem.set = fn; break;
      }
      if (p->kind == Procedure::Sub && equalsNoCase(p->name, u"Class_Initialize")) {
        if (!p->params.empty()) failAt(err::ClassInitNoArgs, p->line, p->column);
        cls->initialize = fn;
      }
      if (p->kind == Procedure::Sub && equalsNoCase(p->name, u"Class_Terminate")) {
        if (!p->params.empty()) failAt(err::ClassInitNoArgs, p->line, p->column);
        cls->terminate = fn;
      }
    }
    module_->classDecls.push_back({globalIndex(c.name), cls});
  }

  // ---- names ----
  Resolved resolve(const std::u16string& name, bool forCall) {
    std::u16string key = toLowerCopy(name);
    Resolved r;
    r.kind = Resolved::Global;
    auto lit = locals_.find(key);
    if (lit != locals_.end() && !(forCall && lit->second == fn_->retSlot)) {
      if (implicit_.count(key)) {
        r.kind = Resolved::Dyn;
        r.slot = lit->second;
        r.global = globalIndex(name);
        return r;
      }
      r.kind = Resolved::Local;
      r.slot = lit->second;
      return r;
    }
    auto cit = localConsts_.find(key);
    if (cit != localConsts_.end()) {
      r.kind = Resolved::Const;
      r.constant = cit->second;
      return r;
    }
    if (cls_) {
      int m = cls_->find(name);
      if (m >= 0) {
        const qm::vbs::ClassMember& mem = cls_->members[static_cast<size_t>(m)];
        if (mem.field >= 0) {
          r.kind = Resolved::Field;
          r.index = mem.field;
        } else {
          r.kind = Resolved::ClassMethod;
          r.index = m;
        }
        return r;
      }
    }
    auto tit = topConsts_.find(key);
    if (tit != topConsts_.end()) {
      r.kind = Resolved::Const;
      r.constant = tit->second;
      return r;
    }
    bool moduleDefines = moduleProcs_.count(key) || moduleVars_.count(key) || moduleClasses_.count(key);
    if (!moduleDefines) {
      if (key == u"err") { r.kind = Resolved::Err; return r; }
      if (key == u"eval") { r.kind = Resolved::Intrinsic; r.index = int(Intrinsic::Eval); return r; }
      if (key == u"execute") { r.kind = Resolved::Intrinsic; r.index = int(Intrinsic::Execute); return r; }
      if (key == u"executeglobal") { r.kind = Resolved::Intrinsic; r.index = int(Intrinsic::ExecuteGlobal); return r; }
      if (key == u"getref") { r.kind = Resolved::Intrinsic; r.index = int(Intrinsic::GetRef); return r; }
      if (const Value* c = reg_.findConstant(name)) {
        r.kind = Resolved::Const;
        r.constant = *c;
        return r;
      }
      int b = reg_.functionIndex(name);
      if (b >= 0) {
        r.kind = Resolved::Builtin;
        r.index = b;
        r.global = globalIndex(name);
        return r;
      }
    }
    r.global = globalIndex(name);
    if (fn_->kind == FunctionCode::TopLevel || moduleDefines) return r;
    // Inside a procedure an unknown name is a global when one exists at run
    // time, otherwise an implicitly declared local.
    int slot = newSlot(name);
    locals_.emplace(key, slot);
    implicit_.insert(key);
    r.kind = Resolved::Dyn;
    r.slot = slot;
    return r;
  }

  static uint16_t u16(int v) { return static_cast<uint16_t>(v); }

  // ---- expressions ----
  void compileWithObject() {
    if (withSlots_.empty()) emit(OpCode::Raise, 0, 0, err::UnqualifiedReference);
    else emit(OpCode::LoadLocal, 0, u16(withSlots_.back()));
  }

  // (F)(3), ((x))(0): parentheses around a callee change nothing.
  static const Expr& unparen(const Expr& e) {
    const Expr* p = &e;
    while (p->kind == Expr::Paren && (p->a->kind == Expr::Name || p->a->kind == Expr::Member || p->a->kind == Expr::Paren))
      p = p->a.get();
    return *p;
  }

  void compileArgs(const std::vector<ExprPtr>& args) {
    if (args.size() > 255) failAt(err::Syntax, line_, column_);
    for (const auto& a : args) compileArg(*a);
  }

  void compileArg(const Expr& e) {
    if (e.kind == Expr::Name) {
      Resolved r = resolve(e.name, false);
      switch (r.kind) {
        case Resolved::Local: emit(OpCode::RefLocal, 0, u16(r.slot)); return;
        case Resolved::Field: emit(OpCode::RefField, 0, u16(r.index)); return;
        case Resolved::Global: emit(OpCode::RefGlobal, 0, 0, r.global); return;
        case Resolved::Dyn: emit(OpCode::RefDyn, 0, u16(r.slot), r.global); return;
        default: break;
      }
    } else if (e.kind == Expr::Call && e.a->kind == Expr::Name) {
      Resolved r = resolve(e.a->name, true);
      uint8_t argc = static_cast<uint8_t>(e.args.size());
      switch (r.kind) {
        case Resolved::Local: compileArgs(e.args); emit(OpCode::RefIndexLocal, argc, u16(r.slot)); return;
        case Resolved::Field: compileArgs(e.args); emit(OpCode::RefIndexField, argc, u16(r.index)); return;
        case Resolved::Global: compileArgs(e.args); emit(OpCode::RefIndexGlobal, argc, 0, r.global); return;
        case Resolved::Dyn: compileArgs(e.args); emit(OpCode::RefIndexDyn, argc, u16(r.slot), r.global); return;
        default: break;
      }
    } else if (e.kind == Expr::Call && (e.a->kind == Expr::Call || e.a->kind == Expr::Paren)) {
      // x(0)(1): a reference into the element x(0) holds.
      compileArg(unparen(*e.a));
      compileArgs(e.args);
      emit(OpCode::RefIndexValue, static_cast<uint8_t>(e.args.size()));
      return;
    } else if (e.kind == Expr::Missing) {
      emit(OpCode::PushMissing);
      return;
    }
    compileExpr(e);
  }

  void compileNameLoad(const Expr& e) {
    Resolved r = resolve(e.name, false);
    switch (r.kind) {
      case Resolved::Local: emit(OpCode::LoadLocal, 0, u16(r.slot)); break;
      case Resolved::Const: pushValue(r.constant); break;
      case Resolved::Field: emit(OpCode::LoadField, 0, u16(r.index)); break;
      case Resolved::ClassMethod: emit(OpCode::CallMe, 0, 0, r.index); break;
      case Resolved::Global: emit(OpCode::LoadGlobal, 0, 0, r.global); break;
      case Resolved::Dyn: emit(OpCode::LoadDyn, 0, u16(r.slot), r.global); break;
      case Resolved::Builtin: emit(OpCode::CallBuiltin, 0, u16(r.global), r.index); break;
      case Resolved::Intrinsic: emit(OpCode::CallIntrinsic, 0, 0, r.index); break;
      case Resolved::Err: emit(OpCode::LoadErr); break;
    }
  }

  // Randomize gives no value; a conversion function's value cannot be dropped
  // (Call CByte(1) is error 458, a type the language does not support).
  static bool builtinMisused(const std::u16string& name, bool statement) {
    if (!statement) return equalsNoCase(name, u"Randomize");
    for (const char16_t* c : {u"CBool", u"CByte", u"CCur", u"CDate", u"CDbl", u"CInt", u"CLng", u"CSng", u"CStr"}) {
      if (equalsNoCase(name, c)) return true;
    }
    return false;
  }

  // Compiles a call or index expression; `statement` marks a call statement.
  void compileCall(const Expr& e, bool statement) {
    const Expr& t = unparen(*e.a);
    uint8_t argc = static_cast<uint8_t>(e.args.size());
    if (t.kind == Expr::Name) {
      Resolved r = resolve(t.name, true);
      if (statement && (r.kind == Resolved::Local || r.kind == Resolved::Field)) {
        // A call statement on a variable calls the default member of the object it holds.
        compileNameLoad(t);
        compileArgs(e.args);
        emit(OpCode::CallValue, argc);
        return;
      }
      if (statement && r.kind == Resolved::Dyn) {
        compileArgs(e.args);
        emit(OpCode::CallDyn, argc, u16(r.slot), r.global);
        return;
      }
      switch (r.kind) {
        case Resolved::Local: compileArgs(e.args); emit(OpCode::IndexLocal, argc, u16(r.slot)); return;
        case Resolved::Field: compileArgs(e.args); emit(OpCode::IndexField, argc, u16(r.index)); return;
        case Resolved::ClassMethod:
          compileArgs(e.args);
          emit(OpCode::CallMe, argc, statement ? 1 : 0, r.index);
          return;
        case Resolved::Global:
          compileArgs(e.args);
          emit(OpCode::CallGlobal, argc, statement ? 1 : 0, r.global);
          return;
        case Resolved::Dyn: compileArgs(e.args); emit(OpCode::IndexDyn, argc, u16(r.slot), r.global); return;
        case Resolved::Builtin:
          compileArgs(e.args);
          if (builtinMisused(t.name, statement)) emit(OpCode::Raise, 0, 0, statement ? 458 : err::TypeMismatch);
          emit(OpCode::CallBuiltin, argc, u16(r.global), r.index);
          return;
        case Resolved::Intrinsic: compileArgs(e.args); emit(OpCode::CallIntrinsic, argc, 0, r.index); return;
        case Resolved::Const: pushValue(r.constant); break;
        case Resolved::Err: emit(OpCode::LoadErr); break;
      }
      compileArgs(e.args);
      emit(OpCode::IndexValue, argc);
      return;
    }
    if (t.kind == Expr::Member) {
      if (t.a) compileExpr(*t.a);
      else compileWithObject();
      compileArgs(e.args);
      emit(statement ? OpCode::CallMember : OpCode::GetMember, argc, newCache(), nameIndex(t.name));
      return;
    }
    compileExpr(t);
    compileArgs(e.args);
    emit(statement ? OpCode::CallValue : OpCode::IndexValue, argc);
  }

  void compileExpr(const Expr& e) {
    switch (e.kind) {
      case Expr::Literal: pushValue(e.value); return;
      case Expr::Name: compileNameLoad(e); return;
      case Expr::Me:
        if (!cls_) failAt(err::InvalidUseOfMeKeyword, e.line, e.column);
        emit(OpCode::LoadMe);
        return;
      case Expr::Member:
        if (e.a) compileExpr(*e.a);
        else compileWithObject();
        emit(OpCode::GetMember, 0, newCache(), nameIndex(e.name));
        return;
      case Expr::Call: compileCall(e, false); return;
      case Expr::Paren: compileExpr(*e.a); return;
      case Expr::Missing: emit(OpCode::PushMissing); return;
      case Expr::New: {
        std::u16string key = toLowerCopy(e.name);
        bool declared = (locals_.count(key) && !implicit_.count(key)) || moduleVars_.count(key) ||
                        (cls_ && cls_->find(e.name) >= 0);
        emit(OpCode::NewObject, 0, declared ? 1 : 0, globalIndex(e.name));
        return;
      }
      case Expr::Unary: {
        Value folded;
        if (foldConst(e, folded)) { pushValue(folded); return; }
        compileExpr(*e.a);
        emit(e.op == Op::Neg ? OpCode::Neg : OpCode::Not);
        return;
      }
      case Expr::Binary: {
        compileExpr(*e.a);
        compileExpr(*e.b);
        OpCode op = OpCode::Add;
        switch (e.op) {
          case Op::Add: op = OpCode::Add; break;
          case Op::Sub: op = OpCode::Sub; break;
          case Op::Mul: op = OpCode::Mul; break;
          case Op::Div: op = OpCode::Div; break;
          case Op::IntDiv: op = OpCode::IntDiv; break;
          case Op::Mod: op = OpCode::Mod; break;
          case Op::Pow: op = OpCode::Pow; break;
          case Op::Concat: op = OpCode::Concat; break;
          case Op::And: op = OpCode::And; break;
          case Op::Or: op = OpCode::Or; break;
          case Op::Xor: op = OpCode::Xor; break;
          case Op::Eqv: op = OpCode::Eqv; break;
          case Op::Imp: op = OpCode::Imp; break;
          case Op::Eq: op = OpCode::Eq; break;
          case Op::Ne: op = OpCode::Ne; break;
          case Op::Lt: op = OpCode::Lt; break;
          case Op::Le: op = OpCode::Le; break;
          case Op::Gt: op = OpCode::Gt; break;
          case Op::Ge: op = OpCode::Ge; break;
          case Op::Is: op = OpCode::Is; break;
          default: break;
        }
        bool compares = op == OpCode::Eq || op == OpCode::Ne || op == OpCode::Lt || op == OpCode::Le ||
                        op == OpCode::Gt || op == OpCode::Ge;
        emit(op, 0, compares ? literalFlags(e.a.get(), e.b.get()) : 0);
        return;
      }
    }
  }

  // CompareLiteral flags of a comparison's operands (either may be null: a
  // value the compiler loads itself, such as the value of a Select Case).
  static uint16_t literalFlags(const Expr* left, const Expr* right) {
    auto kind = [](const Expr* x, uint16_t number, uint16_t text) -> uint16_t {
      if (!x || x->kind != Expr::Literal) return 0;
      if (x->value.isString()) return text;
      return x->value.isNumeric() || x->value.type() == VarType::Date ? number : 0;
    };
    return kind(left, kLeftNumberLiteral, kLeftStringLiteral) | kind(right, kRightNumberLiteral, kRightStringLiteral);
  }

  // ---- assignment ----
  // Stores the value on top of the stack into a plain variable name.
  void storeName(const std::u16string& name, StoreMode mode, int line, int column) {
    Resolved r = resolve(name, false);
    switch (r.kind) {
      case Resolved::Local: emit(OpCode::StoreLocal, 0, u16(r.slot), 0, mode); return;
      case Resolved::Field: emit(OpCode::StoreField, 0, u16(r.index), 0, mode); return;
      case Resolved::Global: emit(OpCode::StoreGlobal, 0, 0, r.global, mode); return;
      case Resolved::Dyn: emit(OpCode::StoreDyn, 0, u16(r.slot), r.global, mode); return;
      case Resolved::Builtin: emit(OpCode::StoreGlobal, 0, 0, r.global, mode); return;
      default:
        // A constant, Err, Eval...: the statement fails when it runs, not the whole script.
        (void)line, (void)column;
        emit(OpCode::Raise, 0, 0, err::IllegalAssignment);
    }
  }

  // A Sub or Function of the class (not a property with a Let/Set).
  bool isClassProcedure(const Resolved& r) const {
    if (r.kind != Resolved::ClassMethod) return false;
    const qm::vbs::ClassMember& m = cls_->members[static_cast<size_t>(r.index)];
    return m.method && !m.let && !m.set;
  }

  void compileAssign(const Stmt& s) {
    const Expr& t = *s.target;
    StoreMode mode = s.isSet ? StoreMode::Set : StoreMode::Let;
    auto value = [&] {
      compileExpr(*s.value);
      if (s.isSet) emit(OpCode::CheckObject);
    };
    if (!s.isSet && t.kind == Expr::Name && s.value->kind == Expr::Binary && s.value->op == Op::Concat &&
        s.value->a->kind == Expr::Name && equalsNoCase(s.value->a->name, t.name)) {
      // x = x & y: appends in place.
      Resolved r = resolve(t.name, false);
      if (r.kind == Resolved::Local || r.kind == Resolved::Global) {
        compileExpr(*s.value->b);
        if (r.kind == Resolved::Local) emit(OpCode::AppendLocal, 0, u16(r.slot));
        else emit(OpCode::AppendGlobal, 0, 0, r.global);
        return;
      }
    }
    switch (t.kind) {
      case Expr::Name: {
        Resolved r = resolve(t.name, false);
        if (isClassProcedure(r)) {
          value();
          emit(OpCode::Raise, 0, 0, err::IllegalAssignment);
          return;
        }
        if (r.kind == Resolved::ClassMethod) {
          emit(OpCode::LoadMe);
          value();
          emit(OpCode::SetMember, 0, newCache(), nameIndex(t.name), mode);
          return;
        }
        value();
        storeName(t.name, mode, t.line, t.column);
        return;
      }
      case Expr::Member:
        if (t.a) compileExpr(*t.a);
        else compileWithObject();
        value();
        emit(OpCode::SetMember, 0, newCache(), nameIndex(t.name), mode);
        return;
      case Expr::Call: {
        const Expr& callee = unparen(*t.a);
        uint8_t argc = static_cast<uint8_t>(t.args.size());
        if (callee.kind == Expr::Name) {
          Resolved r = resolve(callee.name, false);
          switch (r.kind) {
            case Resolved::Local:
              compileArgs(t.args); value();
              emit(OpCode::StoreIndexLocal, argc, u16(r.slot), 0, mode);
              return;
            case Resolved::Field:
              compileArgs(t.args); value();
              emit(OpCode::StoreIndexField, argc, u16(r.index), 0, mode);
              return;
            case Resolved::Global: case Resolved::Builtin:
              compileArgs(t.args); value();
              emit(OpCode::StoreIndexGlobal, argc, 0, r.global, mode);
              return;
            case Resolved::Dyn:
              compileArgs(t.args); value();
              emit(OpCode::StoreIndexDyn, argc, u16(r.slot), r.global, mode);
              return;
            case Resolved::ClassMethod:
              emit(OpCode::LoadMe);
              compileArgs(t.args); value();
              emit(OpCode::SetMember, argc, newCache(), nameIndex(callee.name), mode);
              return;
            default:
              compileArgs(t.args); value();
              emit(OpCode::Raise, 0, 0, err::IllegalAssignment);
              return;
          }
        }
        if (callee.kind == Expr::Member) {
          if (callee.a) compileExpr(*callee.a);
          else compileWithObject();
          compileArgs(t.args);
          value();
          emit(OpCode::SetMember, argc, newCache(), nameIndex(callee.name), mode);
          return;
        }
        // x(0)(1) = v writes into the array x(0) holds: go through a reference.
        compileArg(callee);
        compileArgs(t.args);
        value();
        emit(OpCode::StoreIndexValue, argc, 0, 0, mode);
        return;
      }
      case Expr::Me:
        if (!cls_) failAt(err::InvalidUseOfMeKeyword, t.line, t.column);
        failAt(err::IllegalAssignment, t.line, t.column);
      default:
        failAt(err::IllegalAssignment, t.line, t.column);
    }
  }

  // A reference to a variable for ReDim / Erase.
  void compileVarRef(const std::u16string& name, int line, int column) {
    Resolved r = resolve(name, false);
    switch (r.kind) {
      case Resolved::Local: emit(OpCode::RefLocal, 0, u16(r.slot)); return;
      case Resolved::Field: emit(OpCode::RefField, 0, u16(r.index)); return;
      case Resolved::Global: emit(OpCode::RefGlobal, 0, 0, r.global); return;
      case Resolved::Dyn: emit(OpCode::RefDyn, 0, u16(r.slot), r.global); return;
      default: failAt(err::IllegalAssignment, line, column);
    }
  }

  void loadName(const std::u16string& name, int line, int column) {
    Expr e(Expr::Name, line, column);
    e.name = name;
    compileNameLoad(e);
  }

  // ---- statements ----
  void compileBlock(const Block& b) {
    for (const auto& s : b) compileStmt(*s);
  }

  void compileStmt(const Stmt& s) {
    setPos(s.line, s.column);
    // A simple statement continues after its own code; compound statements
    // mark their parts themselves.
    size_t start = here();
    bool simple = s.kind != Stmt::If && s.kind != Stmt::Select && s.kind != Stmt::For &&
                  s.kind != Stmt::ForEach && s.kind != Stmt::DoLoop && s.kind != Stmt::With;
    compileStmtCode(s);
    if (simple && here() > start) addResume(start, here());
  }

  void compileStmtCode(const Stmt& s) {
    switch (s.kind) {
      case Stmt::Assign: compileAssign(s); break;
      case Stmt::CallStmt: {
        const Expr& t = *s.target;
        if (t.kind == Expr::Call) compileCall(t, true);
        else if (t.kind == Expr::Member) {
          if (t.a) compileExpr(*t.a);
          else compileWithObject();
          emit(OpCode::CallMember, 0, newCache(), nameIndex(t.name));
        } else if (t.kind == Expr::Name) {
          Resolved r = resolve(t.name, true);
          if (r.kind == Resolved::Global) emit(OpCode::CallGlobal, 0, 1, r.global);
          else if (r.kind == Resolved::ClassMethod) emit(OpCode::CallMe, 0, 1, r.index);
          else if (r.kind == Resolved::Dyn) emit(OpCode::CallDyn, 0, u16(r.slot), r.global);
          else if (r.kind == Resolved::Local || r.kind == Resolved::Field) {
            compileNameLoad(t);
            emit(OpCode::CallValue, 0);
          } else compileNameLoad(t);
        } else {
          compileExpr(t);
        }
        emit(OpCode::Pop);
        break;
      }
      case Stmt::Dim:
        for (const auto& d : s.items) {
          if (!d.isArray) continue;
          for (const auto& b : d.bounds) compileExpr(*b);
          if (d.bounds.size() > 60) failAt(err::Syntax, d.line, d.column);
          emit(OpCode::MakeArray, static_cast<uint8_t>(d.bounds.size()));
          storeName(d.name, StoreMode::Plain, d.line, d.column);
        }
        break;
      case Stmt::ReDim:
        for (const auto& d : s.items) {
          compileVarRef(d.name, d.line, d.column);
          for (const auto& b : d.bounds) compileExpr(*b);
          if (d.bounds.size() > 60) failAt(err::Syntax, d.line, d.column);
          emit(OpCode::ReDim, static_cast<uint8_t>(d.bounds.size()), s.preserve ? 1 : 0);
        }
        break;
      case Stmt::Erase:
        if (s.target->kind != Expr::Name) failAt(err::Syntax, s.line, s.column);
        compileVarRef(s.target->name, s.line, s.column);
        emit(OpCode::Erase);
        break;
      case Stmt::Const: break;
      case Stmt::If: compileIf(s); break;
      case Stmt::Select: compileSelect(s); break;
      case Stmt::For: compileFor(s); break;
      case Stmt::ForEach: compileForEach(s); break;
      case Stmt::DoLoop: compileDo(s); break;
      case Stmt::Exit: compileExit(s); break;
      case Stmt::With: {
        size_t start = here();
        compileExpr(*s.value);
        emit(OpCode::CheckObject);
        int h = hiddenSlot();
        emit(OpCode::StoreLocal, 0, u16(h), 0, StoreMode::Plain);
        addResume(start, here());
        withSlots_.push_back(h);
        compileBlock(s.body);
        withSlots_.pop_back();
        emit(OpCode::PushEmpty);
        emit(OpCode::StoreLocal, 0, u16(h), 0, StoreMode::Plain);
        break;
      }
      case Stmt::OnErrorResumeNext: emit(OpCode::OnErrorResumeNext); break;
      case Stmt::OnErrorGoto0: emit(OpCode::OnErrorGoto0); break;
      case Stmt::Randomize: {
        int b = reg_.functionIndex(u"Randomize");
        if (b < 0) break;
        uint8_t argc = 0;
        if (s.value) { compileExpr(*s.value); argc = 1; }
        emit(OpCode::CallBuiltin, argc, u16(globalIndex(u"Randomize")), b);
        emit(OpCode::Pop);
        break;
      }
      case Stmt::Nop: break;
    }
  }

  void compileIf(const Stmt& s) {
    std::vector<size_t> toEnd;
    for (size_t i = 0; i < s.conds.size(); ++i) {
      if (i > 0) setPos(s.conds[i]->line, s.conds[i]->column);
      // A failing condition goes on into its own block.
      size_t start = here();
      compileExpr(*s.conds[i]);
      size_t jf = emit(OpCode::JumpIfFalse);
      addResume(start, here());
      compileBlock(s.blocks[i]);
      if (i + 1 < s.conds.size() || s.hasElse) toEnd.push_back(emit(OpCode::Jump));
      patch(jf, here());
    }
    if (s.hasElse) compileBlock(s.elseBlock);
    for (size_t j : toEnd) patch(j, here());
  }

  void compileSelect(const Stmt& s) {
    // A failing test value skips the whole statement; a failing Case item
    // goes on into that Case's block.
    size_t start = here();
    compileExpr(*s.value);
    int h = hiddenSlot();
    emit(OpCode::StoreLocal, 0, u16(h), 0, StoreMode::Plain);
    size_t valueEntry = addResume(start, 0);
    std::vector<size_t> toEnd;
    for (const auto& c : s.cases) {
      std::vector<size_t> toBody, itemEntries;
      size_t skip = 0;
      bool isElse = c.items.empty();
      for (const auto& item : c.items) {
        size_t itemStart = here();
        switch (item.kind) {
          case CaseClause::Item::Value:
            emit(OpCode::LoadLocal, 0, u16(h));
            compileExpr(*item.a);
            emit(OpCode::Eq, 0, literalFlags(nullptr, item.a.get()));
            break;
          case CaseClause::Item::Range:  // both bounds belong to the range
            emit(OpCode::LoadLocal, 0, u16(h));
            compileExpr(*item.a);
            emit(OpCode::Ge, 0, literalFlags(nullptr, item.a.get()));  // value >= lower bound
            emit(OpCode::LoadLocal, 0, u16(h));
            compileExpr(*item.b);
            emit(OpCode::Le, 0, literalFlags(nullptr, item.b.get()));  // value <= upper bound
            emit(OpCode::And);
            break;
          case CaseClause::Item::Compare: {
            emit(OpCode::LoadLocal, 0, u16(h));
            compileExpr(*item.a);
            OpCode op = OpCode::Eq;
            switch (item.op) {
              case Op::Ne: op = OpCode::Ne; break;
              case Op::Lt: op = OpCode::Lt; break;
              case Op::Le: op = OpCode::Le; break;
              case Op::Gt: op = OpCode::Gt; break;
              case Op::Ge: op = OpCode::Ge; break;
              default: break;
            }
            emit(op, 0, literalFlags(nullptr, item.a.get()));
            break;
          }
        }
        toBody.push_back(emit(OpCode::JumpIfTrue));
        itemEntries.push_back(addResume(itemStart, 0));
      }
      if (!isElse) skip = emit(OpCode::Jump);
      for (size_t j : toBody) patch(j, here());
      for (size_t e : itemEntries) patchResume(e, here());
      compileBlock(c.body);
      toEnd.push_back(emit(OpCode::Jump));
      if (!isElse) patch(skip, here());
    }
    for (size_t j : toEnd) patch(j, here());
    patchResume(valueEntry, here());
    emit(OpCode::PushEmpty);
    emit(OpCode::StoreLocal, 0, u16(h), 0, StoreMode::Plain);
  }

  void compileFor(const Stmt& s) {
    // Under On Error Resume Next a failing header enters the body once, the
    // loop variable untouched and Err holding the header's error; its Next
    // then ends the loop with error 92 (the pad leaves the limit Empty, which
    // ForStep takes for a loop that was never set up).
    size_t start = here();
    compileExpr(*s.from);
    compileExpr(*s.to);
    if (s.step) compileExpr(*s.step);
    else emit(OpCode::PushInt, 0, 0, 1);
    int h = hiddenSlot();
    hiddenSlot();  // h + 1: the step
    emit(OpCode::ForPrep, 0, u16(h));
    storeName(s.name, StoreMode::Let, s.line, s.column);
    size_t header = addResume(start, 0);
    size_t overPad = emit(OpCode::Jump);
    patchResume(header, here());
    emit(OpCode::PushEmpty);
    emit(OpCode::StoreLocal, 0, u16(h), 0, StoreMode::Plain);
    size_t padToBody = emit(OpCode::Jump);
    patch(overPad, here());
    size_t top = here();
    loadName(s.name, s.line, s.column);
    size_t test = emit(OpCode::ForTest, 0, u16(h));
    size_t testEntry = addResume(top, 0);
    patch(padToBody, here());
    loops_.push_back(LoopLabels{true, {}});
    compileBlock(s.body);
    setPos(s.line, s.column);
    size_t stepStart = here();
    Resolved counter = resolve(s.name, false);
    if (counter.kind == Resolved::Local) {
      emit(OpCode::ForNextLocal, 0, u16(counter.slot), static_cast<int32_t>(test));
    } else {
      loadName(s.name, s.line, s.column);
      emit(OpCode::ForStep, 0, u16(h));
      storeName(s.name, StoreMode::Let, s.line, s.column);
      emit(OpCode::Jump, 0, 0, static_cast<int32_t>(top));
    }
    size_t stepEntry = addResume(stepStart, 0);
    patch(test, here());
    patchResume(testEntry, here());
    patchResume(stepEntry, here());
    for (size_t j : loops_.back().exits) patch(j, here());
    loops_.pop_back();
  }

  void compileForEach(const Stmt& s) {
    // Under On Error Resume Next a failing collection enters the body once,
    // the loop variable untouched; its Next then ends the loop with error 451
    // (the pad leaves the walk's state Empty). A failing step to the next
    // element leaves the loop.
    size_t start = here();
    compileExpr(*s.value);
    int h = hiddenSlot();
    hiddenSlot();  // h + 1: the position in an array
    emit(OpCode::ForEachPrep, 0, u16(h));
    size_t header = addResume(start, 0);
    size_t top = here();
    size_t next = emit(OpCode::ForEachNext, 0, u16(h));
    storeName(s.name, StoreMode::Plain, s.line, s.column);
    size_t nextEntry = addResume(top, 0);
    size_t body = here();
    loops_.push_back(LoopLabels{true, {}});
    compileBlock(s.body);
    emit(OpCode::Jump, 0, 0, static_cast<int32_t>(top));
    patchResume(header, here());
    emit(OpCode::PushEmpty);
    emit(OpCode::StoreLocal, 0, u16(h), 0, StoreMode::Plain);
    emit(OpCode::Jump, 0, 0, static_cast<int32_t>(body));
    patch(next, here());
    patchResume(nextEntry, here());
    for (size_t j : loops_.back().exits) patch(j, here());
    loops_.pop_back();
    emit(OpCode::PushEmpty);
    emit(OpCode::StoreLocal, 0, u16(h), 0, StoreMode::Plain);
  }

  void compileDo(const Stmt& s) {
    size_t top = here();
    size_t exitJump = SIZE_MAX;
    loops_.push_back(LoopLabels{false, {}});
    // A failing condition at the top goes on into the body; at the bottom
    // it leaves the loop.
    if (s.preTest && s.value) {
      compileExpr(*s.value);
      exitJump = emit(s.isUntil ? OpCode::JumpIfTrue : OpCode::JumpIfFalse);
      addResume(top, here());
    }
    compileBlock(s.body);
    if (!s.preTest && s.value) {
      setPos(s.value->line, s.value->column);
      size_t condStart = here();
      compileExpr(*s.value);
      emit(s.isUntil ? OpCode::JumpIfFalse : OpCode::JumpIfTrue, 0, 0, static_cast<int32_t>(top));
      addResume(condStart, here());
    } else {
      emit(OpCode::Jump, 0, 0, static_cast<int32_t>(top));
    }
    if (exitJump != SIZE_MAX) patch(exitJump, here());
    for (size_t j : loops_.back().exits) patch(j, here());
    loops_.pop_back();
  }

  void compileExit(const Stmt& s) {
    switch (s.exitKind) {
      case Stmt::ExitDo: case Stmt::ExitFor: {
        bool wantFor = s.exitKind == Stmt::ExitFor;
        for (auto it = loops_.rbegin(); it != loops_.rend(); ++it) {
          if (it->isFor == wantFor) {
            it->exits.push_back(emit(OpCode::Jump));
            return;
          }
        }
        failAt(err::InvalidExitStatement, s.line, s.column);
      }
      case Stmt::ExitSub:
        if (fn_->kind != FunctionCode::Sub) failAt(err::InvalidExitStatement, s.line, s.column);
        break;
      case Stmt::ExitFunction:
        if (fn_->kind != FunctionCode::Function) failAt(err::InvalidExitStatement, s.line, s.column);
        break;
      case Stmt::ExitProperty:
        if (fn_->kind != FunctionCode::PropertyGet && fn_->kind != FunctionCode::PropertyLet &&
            fn_->kind != FunctionCode::PropertySet)
          failAt(err::InvalidExitStatement, s.line, s.column);
        break;
    }
    exitJumps_.push_back(emit(OpCode::Jump));
  }

  bool expressionMode_;
  const FunctionCode* outer_;
  const BuiltinRegistry& reg_;
  std::shared_ptr<Module> module_;
  std::unordered_map<std::u16string, int> globals_;
  std::unordered_set<std::u16string> moduleProcs_, moduleVars_, moduleClasses_;
  std::unordered_map<std::u16string, Value> topConsts_;

  FunctionCode* fn_ = nullptr;
  const ClassCode* cls_ = nullptr;
  std::unordered_map<std::u16string, int> locals_;
  std::unordered_set<std::u16string> implicit_;
  std::unordered_map<std::u16string, Value> localConsts_;
  std::vector<LoopLabels> loops_;
  std::vector<int> withSlots_;
  std::vector<size_t> exitJumps_;
  int line_ = 0;
  int column_ = 0;
};

}  // namespace

std::shared_ptr<Module> compileProgram(const ast::Program& program, bool expressionMode, const FunctionCode* outer) {
  Compiler c(expressionMode, outer);
  return c.compile(program);
}

}  // namespace qm::vbs
