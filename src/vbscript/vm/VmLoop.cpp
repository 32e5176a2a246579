// The instruction loop. Each case takes its operands and stack effect from
// the opcode table in Bytecode.h; a case does the common path inline and
// leaves anything longer to a named helper of VmAccess.cpp or VmCalls.cpp.
#include <cmath>

#include "vbscript/Operators.h"
#include "vbscript/vm/ScriptObject.h"
#include "vbscript/vm/Vm.h"

namespace qm::vbs {

namespace {

// Integer, Long and Double operands of + - * take this path without the
// general coercion rules; false when either operand is of another subtype.
enum class FastOp { Add, Sub, Mul };
[[gnu::always_inline]] inline bool fastArith(FastOp op, Value& a, const Value& b) {
  VarType ta = a.type(), tb = b.type();
  bool ia = ta == VarType::Integer || ta == VarType::Long;
  bool ib = tb == VarType::Integer || tb == VarType::Long;
  if (ia && ib) {
    int64_t x = ta == VarType::Integer ? a.asInteger() : a.asLong();
    int64_t y = tb == VarType::Integer ? b.asInteger() : b.asLong();
    int64_t r = op == FastOp::Add ? x + y : op == FastOp::Sub ? x - y : x * y;
    bool bothInt = ta == VarType::Integer && tb == VarType::Integer;
    if (bothInt && r >= -32768 && r <= 32767) a = Value(static_cast<int16_t>(r));
    else if (r >= INT32_MIN && r <= INT32_MAX) a = Value(static_cast<int32_t>(r));
    else a = Value(static_cast<double>(r));
    return true;
  }
  bool da = ta == VarType::Double, db = tb == VarType::Double;
  if ((da && (db || ib)) || (db && ia)) {
    double x = da ? a.asDouble() : (ta == VarType::Integer ? a.asInteger() : a.asLong());
    double y = db ? b.asDouble() : (tb == VarType::Integer ? b.asInteger() : b.asLong());
    double r = op == FastOp::Add ? x + y : op == FastOp::Sub ? x - y : x * y;
    if (!std::isfinite(r)) raise(err::Overflow);
    a = Value(r);
    return true;
  }
  return false;
}

[[gnu::always_inline]] inline bool isWhole(VarType t) { return t == VarType::Integer || t == VarType::Long; }
[[gnu::always_inline]] inline int32_t wholeOf(const Value& v) {
  return v.type() == VarType::Integer ? v.asInteger() : v.asLong();
}

// Mod of two Integers or Longs without the general coercions: an Integer
// when both are Integers, else a Long. False for any other pair.
[[gnu::always_inline]] inline bool fastMod(Value& a, const Value& b) {
  VarType ta = a.type(), tb = b.type();
  if (!isWhole(ta) || !isWhole(tb)) return false;
  int64_t y = wholeOf(b);
  if (y == 0) raise(err::DivisionByZero);
  int64_t r = int64_t(wholeOf(a)) % y;
  if (ta == VarType::Integer && tb == VarType::Integer) a = Value(static_cast<int16_t>(r));
  else a = Value(static_cast<int32_t>(r));
  return true;
}

// Two Integers or Longs compared without the general rules; false for any other pair.
[[gnu::always_inline]] inline bool fastCompare(CompareOp op, Value& a, const Value& b) {
  if (!isWhole(a.type()) || !isWhole(b.type())) return false;
  int32_t x = wholeOf(a), y = wholeOf(b);
  bool r = false;
  switch (op) {
    case CompareOp::Eq: r = x == y; break;
    case CompareOp::Ne: r = x != y; break;
    case CompareOp::Lt: r = x < y; break;
    case CompareOp::Le: r = x <= y; break;
    case CompareOp::Gt: r = x > y; break;
    case CompareOp::Ge: r = x >= y; break;
  }
  a = Value(r);
  return true;
}

// Whether a For loop's counter is past its limit (hidden[0]) for its step (hidden[1]).
[[gnu::always_inline]] inline bool forDone(const Value& v, const Value* hidden) {
  const Value& to = hidden[0];
  const Value& step = hidden[1];
  if (isWhole(v.type()) && isWhole(to.type()) && isWhole(step.type())) {
    int32_t x = wholeOf(v), lim = wholeOf(to);
    return wholeOf(step) >= 0 ? x > lim : x < lim;
  }
  double s = toDouble(step);
  double x = toDouble(v);
  double lim = toDouble(to);
  return s >= 0 ? x > lim : x < lim;
}

}  // namespace

void Vm::loop(Frame& f) {
  const Instr* code = f.fn->code.data();
  const FunctionCode* fn = f.fn;
  LinkedModule* lm = f.link;
  auto global = [lm](const Instr& in) -> GlobalEntry& { return *lm->globals[static_cast<size_t>(in.c)]; };
  for (;;) {
    const Instr& in = code[f.pc++];
    switch (in.op) {
      case OpCode::Nop: break;
      case OpCode::PushConst: push(fn->constants[static_cast<size_t>(in.c)]); break;
      case OpCode::PushInt: push(Value(static_cast<int16_t>(in.c))); break;
      case OpCode::PushEmpty: push(Value()); break;
      case OpCode::PushMissing: push(Value::missing()); break;
      case OpCode::PushNothing: push(Value::nothing()); break;
      case OpCode::PushTrue: push(Value(true)); break;
      case OpCode::PushFalse: push(Value(false)); break;
      case OpCode::PushNull: push(Value::null()); break;
      case OpCode::Pop: (--sp_)->clear(); break;

      case OpCode::LoadLocal: push(slot(f, in.b)); break;
      case OpCode::StoreLocal: {
        Value v = pop();
        Value& t = slot(f, in.b);
        if (in.mode == StoreMode::Let && !v.isObject() && !t.isArray()) t = std::move(v);
        else assign(t, std::move(v), in.mode);
        break;
      }
      case OpCode::RefLocal: push(Value::reference(&slot(f, in.b))); break;

      case OpCode::LoadGlobal: {
        GlobalEntry& e = global(in);
        if (e.kind == GlobalEntry::Variable) push(e.value);
        else push(loadGlobal(e, lm));
        break;
      }
      case OpCode::StoreGlobal: {
        GlobalEntry& e = global(in);
        Value v = pop();
        if (e.kind == GlobalEntry::Variable && in.mode == StoreMode::Let && !v.isObject() && !e.value.isArray())
          e.value = std::move(v);
        else storeGlobal(e, lm, std::move(v), in.mode);
        break;
      }
      case OpCode::RefGlobal: push(refGlobal(global(in), lm)); break;
      case OpCode::LoadDyn: {
        GlobalEntry& e = global(in);
        if (Value* local = resolveDyn(f, in.b, e, lm)) push(*local);
        else push(loadGlobal(e, lm));
        break;
      }
      case OpCode::StoreDyn: {
        GlobalEntry& e = global(in);
        Value v = pop();
        if (Value* local = resolveDyn(f, in.b, e, lm)) assign(*local, std::move(v), in.mode);
        else storeGlobal(e, lm, std::move(v), in.mode);
        break;
      }
      case OpCode::RefDyn: {
        GlobalEntry& e = global(in);
        if (Value* local = resolveDyn(f, in.b, e, lm)) push(Value::reference(local));
        else push(refGlobal(e, lm));
        break;
      }
      case OpCode::LoadField: push(f.me->fields()[in.b]); break;
      case OpCode::StoreField: {
        Value v = pop();
        Value& t = f.me->fields()[in.b];
        if (in.mode == StoreMode::Let && !v.isObject() && !t.isArray()) t = std::move(v);
        else assign(t, std::move(v), in.mode);
        break;
      }
      case OpCode::RefField: push(Value::reference(&f.me->fields()[in.b])); break;
      case OpCode::LoadMe: push(Value(static_cast<Dispatch*>(f.me))); break;
      case OpCode::LoadErr: push(Value(static_cast<Dispatch*>(err_.get()))); break;

      case OpCode::CallGlobal: {
        Value* args = sp_ - in.a;
        GlobalEntry& e = global(in);
        Value r = callGlobal(e, lm, args, in.a, in.b == 1);
        replaceWithResult(args, std::move(r));
        break;
      }
      case OpCode::CallBuiltin: {
        Value* args = sp_ - in.a;
        GlobalEntry& e = *lm->globals[in.b];  // a script procedure of the built-in's name
        Value r = e.kind != GlobalEntry::Unresolved && e.kind != GlobalEntry::HostMember
                      ? callGlobal(e, lm, args, in.a, false)
                      : callBuiltin(in.c, args, in.a);
        replaceWithResult(args, std::move(r));
        break;
      }
      case OpCode::CallMe: {
        Value* args = sp_ - in.a;
        Value r = callScriptMember(f.me, in.c, in.b == 1 ? InvokeKind::Method : InvokeKind::PropertyGet, args, in.a,
                                   true);
        replaceWithResult(args, std::move(r));
        break;
      }
      case OpCode::IndexLocal: case OpCode::IndexField: case OpCode::IndexValue: {
        Value* args = sp_ - in.a;
        Value r;
        if (in.op == OpCode::IndexLocal) r = indexValue(slot(f, in.b), args, in.a);
        else if (in.op == OpCode::IndexField) r = indexValue(f.me->fields()[in.b], args, in.a);
        else r = indexValue(Value(args[-1]), args, in.a);
        unpinAbove(args);
        popTo(in.op == OpCode::IndexValue ? args - 1 : args);
        push(std::move(r));
        break;
      }
      case OpCode::IndexGlobal: {
        Value* args = sp_ - in.a;
        Value r = callGlobal(global(in), lm, args, in.a, false);
        replaceWithResult(args, std::move(r));
        break;
      }
      case OpCode::IndexDyn: case OpCode::CallDyn: {
        bool statement = in.op == OpCode::CallDyn;
        Value* args = sp_ - in.a;
        GlobalEntry& e = global(in);
        Value r;
        if (Value* local = resolveDyn(f, in.b, e, lm)) {
          if ((statement || in.a == 0) && local->isEmpty()) raiseNamed(err::TypeMismatch, e.name);
          r = statement ? callValue(Value(*local), args, in.a) : indexValue(*local, args, in.a);
        } else {
          r = callGlobal(e, lm, args, in.a, statement);
        }
        replaceWithResult(args, std::move(r));
        break;
      }
      case OpCode::CallValue: {
        Value* args = sp_ - in.a;
        Value r = callValue(Value(args[-1]), args, in.a);
        replaceWithResult(args - 1, std::move(r));
        break;
      }
      case OpCode::GetMember: case OpCode::CallMember: {
        Value* args = sp_ - in.a;
        Value obj = args[-1];
        Value r = invokeMember(obj, fn, in.c, in.b, in.op == OpCode::CallMember ? InvokeKind::Method : InvokeKind::PropertyGet,
                               args, in.a, f);
        replaceWithResult(args - 1, std::move(r));
        break;
      }
      case OpCode::SetMember: {
        bool isSet = in.mode == StoreMode::Set;
        Value* args = sp_ - in.a - 1;
        Value obj = args[-1];
        // A script class's Property Let receives an object as it is; a
        // field stores (and a host property receives) its default value.
        if (!isSet && sp_[-1].isObject() && hasDefault(sp_[-1])) {
          const Value& target = obj.deref();
          if (!target.isObject() || !target.asObject() || !target.asObject()->isScriptObject())
            sp_[-1] = resolveDefault(sp_[-1]);
        }
        invokeMember(obj, fn, in.c, in.b, isSet ? InvokeKind::PropertySet : InvokeKind::PropertyLet, args, in.a + 1, f);
        unpinAbove(args - 1);
        popTo(args - 1);
        break;
      }
      case OpCode::StoreIndexLocal: case OpCode::StoreIndexField: case OpCode::StoreIndexGlobal:
      case OpCode::StoreIndexDyn: case OpCode::StoreIndexValue: {
        Value v = pop();
        Value* args = sp_ - in.a;
        switch (in.op) {
          case OpCode::StoreIndexLocal: storeIndexed(slot(f, in.b), args, in.a, std::move(v), in.mode); break;
          case OpCode::StoreIndexField:
            storeIndexed(f.me->fields()[in.b], args, in.a, std::move(v), in.mode);
            break;
          case OpCode::StoreIndexGlobal: storeIndexedGlobal(global(in), lm, args, in.a, std::move(v), in.mode); break;
          case OpCode::StoreIndexDyn: {
            GlobalEntry& e = global(in);
            if (Value* local = resolveDyn(f, in.b, e, lm)) storeIndexed(*local, args, in.a, std::move(v), in.mode);
            else storeIndexedGlobal(e, lm, args, in.a, std::move(v), in.mode);
            break;
          }
          default: {
            // The target is a reference when it is an element of a variable (x(0)(1) = v).
            Value& target = args[-1].derefMut();
            if (target.isNothing() && in.a > 0) raise(err::TypeMismatch);
            storeIndexed(target, args, in.a, std::move(v), in.mode);
            unpinAbove(args - 1);
            popTo(args - 1);
            continue;
          }
        }
        unpinAbove(args);
        popTo(args);
        break;
      }
      case OpCode::RefIndexLocal: case OpCode::RefIndexField: case OpCode::RefIndexGlobal: case OpCode::RefIndexDyn: {
        Value* args = sp_ - in.a;
        Value r;
        if (in.op == OpCode::RefIndexLocal) {
          r = refIndexed(slot(f, in.b), args, in.a);
        } else if (in.op == OpCode::RefIndexField) {
          r = refIndexed(f.me->fields()[in.b], args, in.a);
        } else if (in.op == OpCode::RefIndexGlobal) {
          r = refIndexedGlobal(global(in), lm, args, in.a);
        } else if (Value* local = resolveDyn(f, in.b, global(in), lm)) {
          r = refIndexed(*local, args, in.a);
        } else {
          r = refIndexedGlobal(global(in), lm, args, in.a);
        }
        // Keep the pin (if any) alive while the reference is on the stack:
        // re-mark it at the slot the reference will occupy.
        if (r.isReference() && !pins_.empty()) pins_.back().mark = args;
        for (Value* p = sp_; p > args;) (--p)->clear();
        sp_ = args;
        push(std::move(r));
        break;
      }
      case OpCode::RefIndexValue: {
        Value* args = sp_ - in.a;
        Value r = args[-1].isReference() ? refIndexed(*args[-1].referenceTarget(), args, in.a)
                                         : indexValue(args[-1], args, in.a);
        if (r.isReference() && !pins_.empty()) pins_.back().mark = args - 1;
        for (Value* p = sp_; p > args - 1;) (--p)->clear();
        sp_ = args - 1;
        push(std::move(r));
        break;
      }
      case OpCode::NewObject: push(newObject(global(in), lm, in.b != 0)); break;
      case OpCode::CallIntrinsic: {
        Value* args = sp_ - in.a;
        Value r = callIntrinsic(static_cast<Intrinsic>(in.c), args, in.a, f);
        popTo(args);
        push(std::move(r));
        break;
      }

#define QM_BINARY(NAME, FN)                                       \
  case OpCode::NAME: {                                            \
    Value b = pop();                                              \
    Value& a = sp_[-1];                                           \
    if (a.isObject()) a = resolveDefault(a);                      \
    if (b.isObject()) b = resolveDefault(b);                      \
    a = FN(a, b);                                                 \
    break;                                                        \
  }
#define QM_FAST(NAME, FAST, FN)                                   \
  case OpCode::NAME: {                                            \
    Value& a = sp_[-2];                                           \
    Value& b = sp_[-1];                                           \
    if (!fastArith(FastOp::FAST, a, b)) {                         \
      if (a.isObject()) a = resolveDefault(a);                    \
      if (b.isObject()) b = resolveDefault(b);                    \
      a = FN(a, b);                                               \
    }                                                             \
    (--sp_)->clear();                                             \
    break;                                                        \
  }
      QM_FAST(Add, Add, opAdd)
      QM_FAST(Sub, Sub, opSub)
      QM_FAST(Mul, Mul, opMul)
#undef QM_FAST
      QM_BINARY(Div, opDiv)
      QM_BINARY(IntDiv, opIntDiv)
      case OpCode::Mod: {
        Value& a = sp_[-2];
        Value& b = sp_[-1];
        if (!fastMod(a, b)) {
          if (a.isObject()) a = resolveDefault(a);
          if (b.isObject()) b = resolveDefault(b);
          a = opMod(a, b);
        }
        (--sp_)->clear();
        break;
      }
      QM_BINARY(Pow, opPow)
      case OpCode::Concat: {
        Value b = pop();
        Value& a = sp_[-1];
        if (a.isObject()) a = resolveDefault(a);
        if (b.isObject()) b = resolveDefault(b);
        a = opConcat(a, b);
        countWork(a);
        break;
      }
      QM_BINARY(And, opAnd)
      QM_BINARY(Or, opOr)
      QM_BINARY(Xor, opXor)
      QM_BINARY(Eqv, opEqv)
      QM_BINARY(Imp, opImp)
#undef QM_BINARY
// Two whole numbers compared for an If or a loop's condition: the jump that
// follows is taken here, and the Boolean never reaches the stack.
#define QM_COMPARE(NAME)                                                      \
  case OpCode::NAME: {                                                        \
    Value& a = sp_[-2];                                                       \
    Value& b = sp_[-1];                                                       \
    if (!fastCompare(CompareOp::NAME, a, b)) {                                \
      if (a.isObject()) a = resolveDefault(a);                                \
      if (b.isObject()) b = resolveDefault(b);                                \
      a = opCompare(CompareOp::NAME, a, b, static_cast<uint8_t>(in.b));       \
    } else if (const Instr& next = code[f.pc];                                \
               next.op == OpCode::JumpIfFalse || next.op == OpCode::JumpIfTrue) { \
      bool t = a.asBool();                                                    \
      (--sp_)->clear();                                                       \
      (--sp_)->clear();                                                       \
      ++f.pc;                                                                 \
      if (t == (next.op == OpCode::JumpIfTrue)) {                             \
        if (next.c < f.pc && --budget_ <= 0) checkBudget();                   \
        f.pc = next.c;                                                        \
      }                                                                       \
      break;                                                                  \
    }                                                                         \
    (--sp_)->clear();                                                         \
    break;                                                                    \
  }
      QM_COMPARE(Eq)
      QM_COMPARE(Ne)
      QM_COMPARE(Lt)
      QM_COMPARE(Le)
      QM_COMPARE(Gt)
      QM_COMPARE(Ge)
#undef QM_COMPARE
      case OpCode::Neg: {
        Value& a = sp_[-1];
        if (a.isObject()) a = resolveDefault(a);
        a = opNeg(a);
        break;
      }
      case OpCode::Not: {
        Value& a = sp_[-1];
        if (a.isObject()) a = resolveDefault(a);
        a = opNot(a);
        break;
      }
      case OpCode::Is: {
        Value b = pop();
        Value& a = sp_[-1];
        if (!a.isObject() || !b.isObject()) raise(err::ObjectRequired);
        a = Value(a.asObject() == b.asObject());
        break;
      }

      case OpCode::Jump:
        if (in.c < f.pc && --budget_ <= 0) checkBudget();
        f.pc = in.c;
        break;
      case OpCode::JumpIfFalse: case OpCode::JumpIfTrue: {
        Value v = pop();
        if (v.isObject()) v = resolveDefault(v);
        bool t = v.type() == VarType::Boolean ? v.asBool() : conditionTrue(v);
        if (t == (in.op == OpCode::JumpIfTrue)) {
          if (in.c < f.pc && --budget_ <= 0) checkBudget();
          f.pc = in.c;
        }
        break;
      }
      case OpCode::ForPrep: {
        Value step = pop();
        Value to = pop();
        if (step.isObject()) step = resolveDefault(step);
        if (to.isObject()) to = resolveDefault(to);
        Value& from = sp_[-1];
        if (from.isObject()) from = resolveDefault(from);
        f.base[in.b] = toNumber(to);
        f.base[in.b + 1] = toNumber(step);
        if (from.isString()) from = toNumber(from);
        break;
      }
      case OpCode::ForTest: {
        Value v = pop();
        if (v.isObject()) v = resolveDefault(v);
        if (forDone(v, f.base + in.b)) f.pc = in.c;
        break;
      }
      case OpCode::ForStep: {
        if (f.base[in.b].isEmpty()) raise(err::ForLoopNotInitialized);
        Value& counter = sp_[-1];
        const Value& step = f.base[in.b + 1];
        if (!fastArith(FastOp::Add, counter, step)) {
          if (counter.isObject()) counter = resolveDefault(counter);
          counter = opAdd(counter, step);
        }
        break;
      }
      case OpCode::ForNextLocal: {
        // The same steps as LoadLocal, ForStep, StoreLocal, Jump, LoadLocal, ForTest.
        const Instr& test = code[in.c];
        Value* hidden = f.base + test.b;
        if (hidden[0].isEmpty()) raise(err::ForLoopNotInitialized);
        Value& var = slot(f, in.b);
        if (!var.isArray() && fastArith(FastOp::Add, var, hidden[1])) {
          // stored in place: a number on a number
        } else {
          Value counter = var;
          if (!fastArith(FastOp::Add, counter, hidden[1])) {
            if (counter.isObject()) counter = resolveDefault(counter);
            counter = opAdd(counter, hidden[1]);
          }
          Value& t = slot(f, in.b);
          if (!counter.isObject() && !t.isArray()) t = std::move(counter);
          else assign(t, std::move(counter), StoreMode::Let);
        }
        if (--budget_ <= 0) checkBudget();
        const Value& now = slot(f, in.b);
        bool done;
        if (now.isObject()) done = forDone(resolveDefault(now), hidden);
        else done = forDone(now, hidden);
        f.pc = done ? test.c : in.c + 1;
        break;
      }
      case OpCode::ForEachPrep: {
        Value c = pop();
        forEachPrep(f, in.b, std::move(c));
        break;
      }
      case OpCode::ForEachNext:
        if (--budget_ <= 0) checkBudget();
        if (!forEachNext(f, in.b)) f.pc = in.c;
        break;
      case OpCode::MakeArray: {
        Value* bounds = sp_ - in.a;
        Value arr = makeArray(bounds, in.a);
        popTo(bounds);
        push(std::move(arr));
        break;
      }
      case OpCode::ReDim: {
        Value* bounds = sp_ - in.a;
        Value& target = bounds[-1].derefMut();
        redim(target, bounds, in.a, in.b != 0);
        popTo(bounds - 1);
        break;
      }
      case OpCode::Erase: {
        Value ref = pop();
        Value& t = ref.derefMut();
        if (!t.isArray()) raise(err::TypeMismatch);
        if (t.asArray().locks > 0) raise(err::ArrayFixedOrLocked);
        if (t.asArray().fixedSize) {
          ArrayData& a = t.mutableArray();
          for (auto& el : a.elements) el.clear();
        } else {
          t = Value::array(new ArrayData);
        }
        break;
      }
      case OpCode::OnErrorResumeNext:
        f.resumeNext = true;
        err_->clear();
        break;
      case OpCode::OnErrorGoto0:
        f.resumeNext = false;
        err_->clear();
        break;
      case OpCode::CheckObject:
        if (!sp_[-1].isObject()) raise(err::ObjectRequired);
        break;
      case OpCode::Raise: raise(in.c);
      case OpCode::AppendLocal: {
        Value rhs = pop();
        appendTo(slot(f, in.b), std::move(rhs));
        break;
      }
      case OpCode::AppendGlobal: {
        Value rhs = pop();
        GlobalEntry& e = global(in);
        if (e.kind == GlobalEntry::Variable) {
          appendTo(e.value, std::move(rhs));
        } else {
          Value cur = loadGlobal(e, lm);
          if (cur.isObject()) cur = resolveDefault(cur);
          if (rhs.isObject()) rhs = resolveDefault(rhs);
          storeGlobal(e, lm, opConcat(cur, rhs), StoreMode::Let);
        }
        break;
      }
      case OpCode::Return: return;
    }
  }
}

}  // namespace qm::vbs
