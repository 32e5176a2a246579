#include "startup/RecordField.h"

#include <cmath>

#include "platform/VbError.h"
#include "startup/VbNumbers.h"

namespace qm::startup {
namespace {

[[noreturn]] void mismatch() { throw VbError::typeMismatch(); }
[[noreturn]] void invalidNull() { throw VbError::of(94); }

// A text converted to a number as VB converts a string: blanks around it
// allowed, "True"/"False" allowed, anything else a type mismatch. An empty
// text reads as 0.
double textToNumber(const QString& text) {
  const QString t = text.trimmed();
  if (t.isEmpty()) return 0;
  if (t.compare(QStringLiteral("True"), Qt::CaseInsensitive) == 0) return -1;
  if (t.compare(QStringLiteral("False"), Qt::CaseInsensitive) == 0) return 0;
  const QByteArray latin = t.toLatin1();
  const auto value = parseVbNumber(latin.constData(), latin.size());
  if (!value) mismatch();
  return *value;
}

}  // namespace

QString RecordField::toString() const {
  switch (kind) {
    case FieldKind::Empty: return {};
    case FieldKind::Boolean: return boolean ? QStringLiteral("True") : QStringLiteral("False");
    case FieldKind::Null: invalidNull();
    case FieldKind::Error: mismatch();
    default: return text;
  }
}

double RecordField::toDouble() const {
  switch (kind) {
    case FieldKind::Empty: return 0;
    case FieldKind::Number: return number;
    case FieldKind::Boolean: return boolean ? -1 : 0;
    case FieldKind::String: return textToNumber(text);
    case FieldKind::Text: return 0;  // non-numeric data read into a number gives 0
    case FieldKind::Null: invalidNull();
    case FieldKind::Date:
    case FieldKind::Error: mismatch();
  }
  mismatch();
}

int16_t RecordField::toInt16() const { return roundToInt16(toDouble()); }

int32_t RecordField::toInt32() const { return roundToInt32(toDouble()); }

bool RecordField::toBool() const {
  switch (kind) {
    case FieldKind::Empty: return false;
    case FieldKind::Boolean: return boolean;
    case FieldKind::Number: return number != 0;
    case FieldKind::String: return textToNumber(text) != 0;
    case FieldKind::Text: return text.trimmed().compare(QStringLiteral("True"), Qt::CaseInsensitive) == 0;
    case FieldKind::Null: invalidNull();
    case FieldKind::Date:
    case FieldKind::Error: mismatch();
  }
  mismatch();
}

}  // namespace qm::startup
