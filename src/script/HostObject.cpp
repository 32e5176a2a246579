#include "script/HostObject.h"

#include "engine/controls/ControlArray.h"
#include "platform/VbError.h"

namespace qm::script {

vbs::Value HostObject::invoke(vbs::DispId id, vbs::InvokeKind kind, std::span<vbs::Value> args) {
  try {
    return call(id, kind, args);
  } catch (const vbs::ScriptError&) {
    throw;
  } catch (const VbError& e) {
    throw vbs::ScriptError(e.number, toU16(e.description));
  } catch (const engine::ControlArrayError& e) {
    throw vbs::ScriptError(e.number, toU16(QString::fromUtf8(e.what())));
  } catch (const std::bad_alloc&) {
    throw vbs::ScriptError(vbs::err::OutOfMemory);
  } catch (const std::exception& e) {
    throw vbs::ScriptError(vbs::err::CannotPerformOperation, toU16(QString::fromUtf8(e.what())));
  }
}

}  // namespace qm::script
