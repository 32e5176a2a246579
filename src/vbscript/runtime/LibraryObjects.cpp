// Registers the library's creatable objects.
#include "vbscript/runtime/LibrarySupport.h"

namespace qm::vbs::rt {

void registerLibraryObjects(BuiltinRegistry&) {}

} // namespace qm::vbs::rt
