// The registry of built-in functions, constants and creatable classes.
#include "vbscript/Builtins.h"

#include "vbscript/ScriptError.h"

namespace qm::vbs {

int HostServices::msgBox(const std::u16string&, int, const std::u16string&) { return 1; }

std::optional<std::u16string> HostServices::inputBox(const std::u16string&, const std::u16string&,
                                                     const std::u16string& defaultText) {
  return defaultText;
}

Value HostServices::createObject(const std::u16string&, const std::u16string&) { return Value(); }

Value HostServices::getObject(const std::u16string&, const std::u16string&) { raise(err::CannotCreateObject); }

void BuiltinRegistry::addFunction(std::u16string_view name, int minArgs, int maxArgs, BuiltinFn fn) {
  std::u16string key = toLowerCopy(name);
  Builtin b{std::u16string(name), static_cast<uint8_t>(minArgs), static_cast<uint8_t>(maxArgs), fn};
  auto it = functionIndex_.find(key);
  if (it != functionIndex_.end()) {
    functions_[static_cast<size_t>(it->second)] = std::move(b);
    return;
  }
  functionIndex_.emplace(std::move(key), static_cast<int>(functions_.size()));
  functions_.push_back(std::move(b));
}

void BuiltinRegistry::addConstant(std::u16string_view name, Value value) {
  constants_[toLowerCopy(name)] = std::move(value);
}

void BuiltinRegistry::addClass(std::u16string_view name, ObjectFactory factory) {
  classes_[toLowerCopy(name)] = factory;
}

void BuiltinRegistry::addProgId(std::u16string_view progId, ObjectFactory factory) {
  progIds_[toLowerCopy(progId)] = factory;
}

const Builtin* BuiltinRegistry::findFunction(std::u16string_view name) const {
  int i = functionIndex(name);
  return i < 0 ? nullptr : &functions_[static_cast<size_t>(i)];
}

int BuiltinRegistry::functionIndex(std::u16string_view name) const {
  auto it = functionIndex_.find(toLowerCopy(name));
  return it == functionIndex_.end() ? -1 : it->second;
}

const Value* BuiltinRegistry::findConstant(std::u16string_view name) const {
  auto it = constants_.find(toLowerCopy(name));
  return it == constants_.end() ? nullptr : &it->second;
}

ObjectFactory BuiltinRegistry::findClass(std::u16string_view name) const {
  auto it = classes_.find(toLowerCopy(name));
  return it == classes_.end() ? nullptr : it->second;
}

ObjectFactory BuiltinRegistry::findProgId(std::u16string_view progId) const {
  auto it = progIds_.find(toLowerCopy(progId));
  return it == progIds_.end() ? nullptr : it->second;
}

const BuiltinRegistry& defaultRegistry() {
  static const BuiltinRegistry registry = [] {
    BuiltinRegistry r;
    registerRuntimeLibrary(r);
    return r;
  }();
  return registry;
}

}  // namespace qm::vbs
