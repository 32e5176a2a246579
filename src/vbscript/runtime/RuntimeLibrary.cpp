// Fills a registry with the whole runtime library.
#include "vbscript/Builtins.h"
#include "vbscript/runtime/DateTime.h"
#include "vbscript/runtime/LibrarySupport.h"

namespace qm::vbs {

void registerRuntimeLibrary(BuiltinRegistry& registry)
{
    rt::registerStringFunctions(registry);
    rt::registerConversionFunctions(registry);
    rt::registerMathFunctions(registry);
    rt::registerDateFunctions(registry);
    rt::registerFormatFunctions(registry);
    rt::registerArrayFunctions(registry);
    rt::registerHostFunctions(registry);
    rt::registerConstants(registry);
    rt::registerLibraryObjects(registry);
}

bool parseDateText(std::u16string_view text, double& serial)
{
    auto parsed = rt::parseDate(std::u16string(text), rt::splitSerial(rt::nowSerial()).year);
    if (!parsed)
        return false;
    serial = *parsed;
    return true;
}

} // namespace qm::vbs
