#include "platform/VbError.h"

namespace qm {

VbError::VbError(int number_, QString description_)
    : number(number_), description(std::move(description_)), utf8_(description.toStdString()) {}

QString VbError::standardDescription(int number) {
  switch (number) {
    case 3: return QStringLiteral("Return without GoSub");
    case 5: return QStringLiteral("Invalid procedure call or argument");
    case 6: return QStringLiteral("Overflow");
    case 7: return QStringLiteral("Out of memory");
    case 9: return QStringLiteral("Subscript out of range");
    case 11: return QStringLiteral("Division by zero");
    case 13: return QStringLiteral("Type mismatch");
    case 52: return QStringLiteral("Bad file name or number");
    case 53: return QStringLiteral("File not found");
    case 54: return QStringLiteral("Bad file mode");
    case 55: return QStringLiteral("File already open");
    case 57: return QStringLiteral("Device I/O error");
    case 58: return QStringLiteral("File already exists");
    case 61: return QStringLiteral("Disk full");
    case 62: return QStringLiteral("Input past end of file");
    case 67: return QStringLiteral("Too many files");
    case 68: return QStringLiteral("Device unavailable");
    case 70: return QStringLiteral("Permission denied");
    case 71: return QStringLiteral("Disk not ready");
    case 75: return QStringLiteral("Path/File access error");
    case 76: return QStringLiteral("Path not found");
    case 91: return QStringLiteral("Object variable or With block variable not set");
    case 94: return QStringLiteral("Invalid use of Null");
    case 380: return QStringLiteral("Invalid property value");
    case 424: return QStringLiteral("Object required");
    case 429: return QStringLiteral("ActiveX component can't create object");
    case 438: return QStringLiteral("Object doesn't support this property or method");
    case 481: return QStringLiteral("Invalid picture");
    default: return QStringLiteral("Application-defined or object-defined error");
  }
}

VbError VbError::of(int number) { return VbError(number, standardDescription(number)); }

QString VbError::describe(const std::exception& e) {
  if (const auto* vb = dynamic_cast<const VbError*>(&e)) return vb->description;
  return QString::fromUtf8(e.what());
}

static VbError withPath(int number, const QString& path) {
  VbError e = VbError::of(number);
  e.path = path;
  return e;
}

VbError VbError::fileNotFound(const QString& path) { return withPath(53, path); }
VbError VbError::badFileName(const QString& path) { return withPath(52, path); }
VbError VbError::pathNotFound(const QString& path) { return withPath(76, path); }
VbError VbError::permissionDenied(const QString& path) { return withPath(70, path); }

}  // namespace qm
