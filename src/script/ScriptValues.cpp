#include "script/ScriptValues.h"

#include "engine/controls/ControlArray.h"
#include "platform/VbError.h"

namespace qm::script {

QVariant toQVariant(const vbs::Value& in) {
  const vbs::Value& v = in.deref();
  switch (v.type()) {
    case vbs::VarType::Empty: return QVariant();
    case vbs::VarType::Boolean: return QVariant(v.asBool());
    case vbs::VarType::Integer: return QVariant::fromValue<int16_t>(v.asInteger());
    case vbs::VarType::Long: return QVariant(static_cast<int>(v.asLong()));
    case vbs::VarType::Byte: return QVariant(static_cast<int>(v.asByte()));
    case vbs::VarType::Single: return QVariant(static_cast<double>(v.asSingle()));
    case vbs::VarType::Double: return QVariant(v.asDouble());
    case vbs::VarType::Currency: return QVariant(static_cast<double>(v.asCurrencyScaled()) / 10000.0);
    case vbs::VarType::String: return QVariant(toQ(v.asString()));
    default: return QVariant::fromValue(HeldScriptValue{std::make_shared<vbs::Value>(v)});
  }
}

vbs::Value fromQVariant(const QVariant& v) {
  if (!v.isValid() || v.isNull()) return vbs::Value();
  if (v.userType() == qMetaTypeId<HeldScriptValue>()) {
    const auto held = v.value<HeldScriptValue>();
    return held.value ? *held.value : vbs::Value();
  }
  switch (v.userType()) {
    case QMetaType::Bool: return vbs::Value(v.toBool());
    case QMetaType::Short: return vbs::Value(static_cast<int16_t>(v.value<int16_t>()));
    case QMetaType::Int:
    case QMetaType::UInt:
    case QMetaType::Long:
    case QMetaType::LongLong:
    case QMetaType::UShort:
    case QMetaType::UChar:
    case QMetaType::Char:
    case QMetaType::SChar: {
      const qlonglong n = v.toLongLong();
      if (n >= INT32_MIN && n <= INT32_MAX) return vbs::Value(static_cast<int32_t>(n));
      return vbs::Value(static_cast<double>(n));
    }
    case QMetaType::Double:
    case QMetaType::Float: return vbs::Value(v.toDouble());
    case QMetaType::QString: return vbs::Value(toU16(v.toString()));
    default: break;
  }
  if (v.canConvert<QString>()) return vbs::Value(toU16(v.toString()));
  return vbs::Value();
}

// The value itself, or the default member of an object (followed a few levels).
static vbs::Value plain(const vbs::Value& in) {
  const vbs::Value& v = in.deref();
  if (!v.isObject()) return v;
  vbs::Value cur = v;
  for (int depth = 0; depth < 8 && cur.isObject(); ++depth) {
    vbs::Dispatch* d = cur.asObject();
    if (!d) vbs::raise(vbs::err::ObjectNotSet);
    cur = d->invoke(vbs::DispIdValue, vbs::InvokeKind::PropertyGet, {});
  }
  if (cur.isObject()) vbs::raise(vbs::err::TypeMismatch);
  return cur;
}

QString argText(const vbs::Value& v) {
  const vbs::Value p = plain(v);
  if (p.isMissing() || p.isNull()) return QString();
  return toQ(vbs::toString(p));
}
double argNumber(const vbs::Value& v) {
  const vbs::Value p = plain(v);
  if (p.isMissing()) return 0;
  return vbs::toDouble(p);
}
bool argBool(const vbs::Value& v) {
  const vbs::Value p = plain(v);
  if (p.isMissing()) return false;
  return vbs::toBool(p);
}
int16_t argInt16(const vbs::Value& v) {
  const vbs::Value p = plain(v);
  if (p.isMissing()) return 0;
  return vbs::toInt16(p);
}

QString describeCurrentException() {
  try {
    throw;
  } catch (const vbs::ScriptError& e) {
    return toQ(e.description);
  } catch (const VbError& e) {
    return e.description;
  } catch (const engine::ControlArrayError& e) {
    return QString::fromUtf8(e.what());
  } catch (const std::bad_alloc&) {
    // Allocation failure becomes the script's "Out of memory" (7), never an abort.
    return toQ(vbs::standardDescription(vbs::err::OutOfMemory));
  } catch (const std::exception& e) {
    return QString::fromUtf8(e.what());
  } catch (...) {
    return QStringLiteral("Unknown error");
  }
}

void raiseText(int32_t number, const QString& text) { throw vbs::ScriptError(number, toU16(text)); }

void raiseUnavailable(const QString& memberName, const QString& capability) {
  raiseText(vbs::err::CannotPerformOperation,
            memberName + QStringLiteral(": ") + capability + QStringLiteral(" are not available in this version of the player"));
}

}  // namespace qm::script
