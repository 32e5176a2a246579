// The host-facing surface of the script engine.
#include "vbscript/Engine.h"

#include "vbscript/vm/ScriptObject.h"
#include "vbscript/vm/Vm.h"

namespace qm::vbs {

Engine::Engine() : vm_(std::make_unique<Vm>()) {}
Engine::~Engine() = default;

void Engine::setHost(HostServices* host) { vm_->setHost(host); }
void Engine::reset() { vm_->reset(); }
void Engine::addObject(std::u16string_view name, Dispatch* object, bool addMembers) {
  vm_->addObject(name, object, addMembers);
}
void Engine::addCode(std::u16string_view code) { vm_->addCode(code); }
Value Engine::run(std::u16string_view procedure, std::span<const Value> args) { return vm_->run(procedure, args); }
Value Engine::eval(std::u16string_view expression) { return vm_->evalText(expression); }
void Engine::setTimeout(int milliseconds) { vm_->setTimeout(milliseconds < 0 ? -1 : milliseconds); }
void Engine::setMemoryLimit(int64_t bytes) { vm_->setMemoryLimit(bytes); }
int64_t Engine::memoryLimit() const { return vm_->memoryLimit(); }
int Engine::timeout() const { return vm_->timeout(); }
bool Engine::isRunning() const { return vm_->running(); }

std::vector<ProcedureInfo> Engine::procedures() const {
  std::vector<ProcedureInfo> out;
  for (const GlobalEntry* e : vm_->procedureEntries()) {
    ProcedureInfo info;
    info.name = e->fn->name;
    info.numArgs = e->fn->numParams;
    info.hasReturnValue = e->fn->kind == FunctionCode::Function;
    out.push_back(std::move(info));
  }
  return out;
}

int32_t Engine::errNumber() const { return vm_->errObject().number; }
std::u16string Engine::errDescription() const { return vm_->errObject().description; }

}  // namespace qm::vbs
