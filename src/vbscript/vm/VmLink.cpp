// The global table and linking: how the names of compiled modules become this
// engine's procedures, classes, constants, variables and host objects; and the
// engine surface built on it (AddCode, AddObject, Run, Reset).
#include "vbscript/vm/ParseCache.h"
#include "vbscript/vm/ScriptObject.h"
#include "vbscript/vm/Vm.h"

namespace qm::vbs {

namespace {
constexpr size_t kStackSize = 1 << 18;  // values
}  // namespace

Vm::Vm() : registry_(defaultRegistry()), memory_(new MemoryAccount) {
  err_ = Ref<ErrObject>(new ErrObject);
  alive_ = std::make_shared<VmAlive>();
  alive_->vm = this;
  stack_.reset(new Value[kStackSize]);
  sp_ = stack_.get();
  stackLimit_ = stack_.get() + kStackSize - 8;
}

Vm::~Vm() {
  try {
    if (runDepth_ == 0) reset();
  } catch (...) {
  }
  alive_->vm = nullptr;
  for (auto& l : links_) l->alive = false;
  // Strings and arrays still charged keep the account until they go.
  if (--memory_->refs == 0) delete memory_;
}

GlobalEntry* Vm::entryFor(std::u16string_view name) {
  std::u16string key = toLowerCopy(name);
  auto it = byName_.find(key);
  if (it != byName_.end()) return it->second;
  entries_.emplace_back();
  GlobalEntry* e = &entries_.back();
  e->name.assign(name);
  byName_.emplace(std::move(key), e);
  return e;
}

// A name no code defines may be a member of an object added with its members
// (the host's Action.Log callable as Log). Looked up again after every such object.
void Vm::tryResolve(GlobalEntry& e) {
  if (e.kind != GlobalEntry::Unresolved || e.triedGeneration == generation_) return;
  e.triedGeneration = generation_;
  for (auto& obj : memberObjects_) {
    DispId id = obj->findMember(e.name);
    if (id != DispIdUnknown) {
      e.kind = GlobalEntry::HostMember;
      e.host = obj.get();
      e.dispId = id;
      return;
    }
  }
}

std::shared_ptr<LinkedModule> Vm::link(std::shared_ptr<const Module> module) {
  auto lm = std::make_shared<LinkedModule>();
  lm->vm = this;
  lm->optionExplicit = module->optionExplicit;
  lm->globals.reserve(module->globalNames.size());
  for (const auto& name : module->globalNames) lm->globals.push_back(entryFor(name));
  for (const auto& p : module->procedures) {
    GlobalEntry* e = lm->globals[static_cast<size_t>(p.global)];
    if (e->kind == GlobalEntry::Object) throw ScriptError(err::NameRedefined, ErrorKind::Syntax);
    bool isNew = e->kind != GlobalEntry::Procedure;
    e->kind = GlobalEntry::Procedure;
    e->value.clear();
    e->fn = p.fn;
    e->link = lm.get();
    if (isNew) procedureOrder_.push_back(e);
  }
  for (const auto& c : module->classDecls) {
    GlobalEntry* e = lm->globals[static_cast<size_t>(c.global)];
    e->kind = GlobalEntry::Class;
    e->cls = c.cls;
    e->link = lm.get();
  }
  for (const auto& c : module->constants) {
    GlobalEntry* e = lm->globals[static_cast<size_t>(c.global)];
    if (e->kind == GlobalEntry::Unresolved || e->kind == GlobalEntry::Variable || e->kind == GlobalEntry::Const) {
      e->kind = GlobalEntry::Const;
      e->value = c.value;
    }
  }
  for (int g : module->variables) {
    GlobalEntry* e = lm->globals[static_cast<size_t>(g)];
    if (e->kind == GlobalEntry::Unresolved || e->kind == GlobalEntry::HostMember) {
      e->kind = GlobalEntry::Variable;
      e->host = nullptr;
    }
  }
  lm->module = std::move(module);
  links_.push_back(lm);
  return lm;
}

std::shared_ptr<LinkedModule> Vm::owner(const LinkedModule* lm) const {
  for (const auto& l : links_) {
    if (l.get() == lm) return l;
  }
  return nullptr;
}

void Vm::dropLink(LinkedModule* lm) {
  for (size_t i = links_.size(); i-- > 0;) {
    if (links_[i].get() == lm) {
      links_.erase(links_.begin() + static_cast<ptrdiff_t>(i));
      return;
    }
  }
}

void Vm::addCode(std::u16string_view code) {
  auto lm = link(compileCached(code, false));
  runTopLevel(lm.get());
}

void Vm::executeGlobal(std::u16string_view code) { addCode(code); }

void Vm::addObject(std::u16string_view name, Dispatch* object, bool addMembers) {
  if (name.empty()) throw ScriptError(err::InvalidCall);
  bool valid = !(name[0] >= '0' && name[0] <= '9');
  for (char16_t c : name) {
    if (!(c == '_' || (c >= '0' && c <= '9') || (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z') || c >= 0xC0))
      valid = false;
  }
  static const char16_t* reserved[] = {
      u"and", u"byref", u"byval", u"call", u"case", u"class", u"const", u"dim", u"do", u"each", u"else",
      u"elseif", u"empty", u"end", u"eqv", u"erase", u"exit", u"false", u"for", u"function", u"goto",
      u"if", u"imp", u"in", u"is", u"loop", u"me", u"mod", u"new", u"next", u"not", u"nothing", u"null",
      u"on", u"option", u"or", u"private", u"public", u"redim", u"select", u"set", u"sub", u"then",
      u"to", u"true", u"until", u"wend", u"while", u"with", u"xor", u"err", u"rem"};
  for (const char16_t* r : reserved) {
    if (equalsNoCase(name, r)) valid = false;
  }
  if (!valid)
    throw ScriptError(err::ExpectedIdentifier, u"Invalid name for an object: '" + std::u16string(name) + u"'");
  GlobalEntry* e = entryFor(name);
  if (e->kind != GlobalEntry::Unresolved && e->kind != GlobalEntry::HostMember)
    throw ScriptError(457, u"The name '" + std::u16string(name) + u"' is already in use");
  e->kind = GlobalEntry::Object;
  e->host = nullptr;
  e->value = Value(object);
  if (addMembers && object) {
    memberObjects_.emplace_back(object);
    ++generation_;
  }
}

void Vm::reset() {
  if (runDepth_ > 0)
    throw ScriptError(err::CannotPerformOperation, u"The script engine cannot be reset while a script is running");
  // Release values first so Class_Terminate code still finds its globals.
  ++runDepth_;
  try {
    // By index: termination code may add entries while this runs.
    for (size_t i = 0; i < entries_.size(); ++i) {
      Value v = std::move(entries_[i].value);
      v.clear();
    }
  } catch (...) {
  }
  --runDepth_;
  for (auto& l : links_) l->alive = false;
  links_.clear();
  byName_.clear();
  entries_.clear();
  memberObjects_.clear();
  procedureOrder_.clear();
  err_->clear();
  ++generation_;
}

std::vector<const GlobalEntry*> Vm::procedureEntries() const {
  std::vector<const GlobalEntry*> out;
  for (const GlobalEntry* e : procedureOrder_) {
    if (e->kind == GlobalEntry::Procedure) out.push_back(e);
  }
  return out;
}

Value Vm::run(std::u16string_view procedure, std::span<const Value> args) {
  auto it = byName_.find(toLowerCopy(procedure));
  if (it == byName_.end() || it->second->kind != GlobalEntry::Procedure)
    raiseNamed(err::SubOrFunctionNotDefined, procedure);
  GlobalEntry* e = it->second;
  std::vector<Value> copy(args.begin(), args.end());
  return callExternal(e->fn, e->link, nullptr, copy);
}

}  // namespace qm::vbs
