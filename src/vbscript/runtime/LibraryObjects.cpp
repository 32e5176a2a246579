// Registers the library's creatable objects.
#include "vbscript/runtime/Dictionary.h"
#include "vbscript/runtime/FileSystem.h"
#include "vbscript/runtime/LibrarySupport.h"
#include "vbscript/runtime/RegExpObject.h"

namespace qm::vbs::rt {

void registerLibraryObjects(BuiltinRegistry& r)
{
    r.addClass(u"RegExp", newRegExp);
    r.addProgId(u"VBScript.RegExp", newRegExp);
    r.addProgId(u"Scripting.Dictionary", newDictionary);
    r.addProgId(u"Scripting.FileSystemObject", newFileSystemObject);
}

} // namespace qm::vbs::rt
