// Conversions between the player's Qt values and the script engine's values,
// and the helpers host objects share (errors, argument reading).
#pragma once

#include <QMetaType>
#include <QString>
#include <QVariant>
#include <memory>
#include <span>
#include <string>

#include "vbscript/Dispatch.h"
#include "vbscript/ScriptError.h"
#include "vbscript/Value.h"

namespace qm::script {

inline std::u16string toU16(const QString& s) {
  return std::u16string(reinterpret_cast<const char16_t*>(s.utf16()), static_cast<size_t>(s.size()));
}
inline QString toQ(std::u16string_view s) { return QString::fromUtf16(s.data(), static_cast<qsizetype>(s.size())); }

// A script value kept inside a QVariant (a variant variable holding an object,
// an array, Null or a date keeps it exactly).
struct HeldScriptValue {
  std::shared_ptr<vbs::Value> value;
};

// Plain values (numbers, strings, Booleans, Empty) become plain QVariants;
// everything else is held as it is.
QVariant toQVariant(const vbs::Value& v);
vbs::Value fromQVariant(const QVariant& v);

// Reads a script value as the types host members take. The default member of
// an object is read first.
QString argText(const vbs::Value& v);
double argNumber(const vbs::Value& v);
bool argBool(const vbs::Value& v);
int16_t argInt16(const vbs::Value& v);

// The text of the exception being handled (VbError, ScriptError or other).
QString describeCurrentException();

// Raises a run-time error with this number and text.
[[noreturn]] void raiseText(int32_t number, const QString& text);

// A capability this player build does not provide yet.
[[noreturn]] void raiseUnavailable(const QString& memberName, const QString& capability);

}  // namespace qm::script

Q_DECLARE_METATYPE(qm::script::HeldScriptValue)
