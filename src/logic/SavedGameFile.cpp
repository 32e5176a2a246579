#include "logic/SavedGameFile.h"

#include <QRegularExpression>
#include <cmath>

#include "platform/VbError.h"
#include "script/ScriptValues.h"
#include "startup/RecordReader.h"
#include "startup/RecordWriter.h"
#include "vbscript/runtime/DateTime.h"

namespace qm::logic {

namespace {

using startup::FieldKind;
using startup::RecordField;
using startup::RecordReader;
using startup::RecordWriter;

// ---- Variant values as their own kind ----------------------------------------------

// Write # writes a date as #yyyy-mm-dd hh:mm:ss#, a date without a time as
// #yyyy-mm-dd# and a time on day 0 as #hh:mm:ss#.
QByteArray dateField(double serial) {
  const auto parts = vbs::rt::splitSerial(serial);
  const bool hasDay = vbs::rt::serialDay(serial) != 0;
  const bool hasTime = vbs::rt::serialSecondsOfDay(serial) != 0;
  QString text;
  if (hasDay || !hasTime)
    text = QString::asprintf("%04d-%02d-%02d", parts.year, parts.month, parts.day);
  if (hasTime) {
    if (!text.isEmpty()) text += ' ';
    text += QString::asprintf("%02d:%02d:%02d", parts.hour, parts.minute, parts.second);
  }
  return '#' + text.toLatin1() + '#';
}

std::optional<double> parseDateField(const QString& text) {
  static const QRegularExpression re(
      QStringLiteral(R"(^\s*(?:(\d{1,4})-(\d{1,2})-(\d{1,2}))?\s*(?:(\d{1,2}):(\d{1,2})(?::(\d{1,2}))?)?\s*$)"));
  const auto m = re.match(text);
  if (!m.hasMatch() || (m.captured(1).isEmpty() && m.captured(4).isEmpty())) return std::nullopt;
  int64_t days = 0;
  if (!m.captured(1).isEmpty()) {
    const int month = m.captured(2).toInt(), day = m.captured(3).toInt();
    if (month < 1 || month > 12 || day < 1 || day > 31) return std::nullopt;
    days = vbs::rt::daysFromCivil(m.captured(1).toInt(), month, day);
  }
  int seconds = 0;
  if (!m.captured(4).isEmpty()) {
    const int h = m.captured(4).toInt(), mi = m.captured(5).toInt(), s = m.captured(6).toInt();
    if (h > 23 || mi > 59 || s > 59) return std::nullopt;
    seconds = h * 3600 + mi * 60 + s;
  }
  return vbs::rt::makeSerial(days, seconds);
}

[[noreturn]] void cannotWrite() { throw VbError(13, QStringLiteral("Type mismatch")); }

void writeVariant(RecordWriter& out, const QVariant& v) {
  const vbs::Value value = script::fromQVariant(v);
  const vbs::Value& plain = value.deref();
  switch (plain.type()) {
    case vbs::VarType::Empty: out.empty(); return;
    case vbs::VarType::Null: out.null(); return;
    case vbs::VarType::Boolean: out.boolean(plain.asBool()); return;
    case vbs::VarType::Integer: out.integer(plain.asInteger()); return;
    case vbs::VarType::Long: out.integer(plain.asLong()); return;
    case vbs::VarType::Byte: out.integer(plain.asByte()); return;
    // A Single is written in its own shortest form (0.1, not the double 0.100000001490116).
    case vbs::VarType::Single: out.rawField(script::toQ(vbs::toString(plain)).toLatin1()); return;
    case vbs::VarType::Double: out.num(plain.asDouble()); return;
    case vbs::VarType::Currency: out.num(static_cast<double>(plain.asCurrencyScaled()) / 10000.0); return;
    case vbs::VarType::String: out.str(savedGameText(script::toQ(plain.asString()))); return;
    case vbs::VarType::Date: out.rawField(dateField(plain.asDate())); return;
    case vbs::VarType::Error: out.rawField("#ERROR " + QByteArray::number(plain.asError()) + '#'); return;
    default: cannotWrite();  // objects, arrays
  }
}

QVariant held(vbs::Value v) { return QVariant::fromValue(script::HeldScriptValue{std::make_shared<vbs::Value>(std::move(v))}); }

// A number read into a Variant takes the smallest kind that holds it, as Input # does.
QVariant numberVariant(double n) {
  if (std::trunc(n) == n && std::fabs(n) <= 2147483647.0) {
    if (n >= -32768 && n <= 32767) return QVariant::fromValue<int16_t>(static_cast<int16_t>(n));
    return QVariant(static_cast<int>(n));
  }
  return QVariant(n);
}

QVariant readVariant(RecordReader& in) {
  const RecordField f = in.readAny();
  switch (f.kind) {
    case FieldKind::Empty: return QVariant();
    case FieldKind::String: return QVariant(f.text);
    case FieldKind::Number: return numberVariant(f.number);
    case FieldKind::Boolean: return QVariant(f.boolean);
    case FieldKind::Null: return held(vbs::Value::null());
    case FieldKind::Error: return held(vbs::Value::error(static_cast<int32_t>(f.number)));
    case FieldKind::Date: {
      const auto serial = parseDateField(f.text);
      if (!serial) throw VbError(13, QStringLiteral("Type mismatch"));
      return held(vbs::Value::date(*serial));
    }
    case FieldKind::Text: return QVariant(f.text);
  }
  return QVariant();
}

// A count read from the file; a negative one counts nothing.
int readCount(RecordReader& in) { return std::max<int32_t>(0, in.readInt32()); }

}  // namespace

QString savedGameDate(const QDate& date) {
  return QString::asprintf("%02d/%02d/%d", date.month(), date.day(), date.year());
}

QString savedGameText(const QString& text) {
  QString written = text;
  return written.replace(QLatin1Char('"'), QLatin1Char('\''));
}

QByteArray writeSavedGame(const SavedGameData& d) {
  RecordWriter out;
  auto line = [&out](auto&& write) {
    write();
    out.endRecord();
  };
  line([&] { out.str(savedGameText(d.resumeFrame)); });
  line([&] { out.integer(static_cast<qint64>(d.integers.size())); });
  for (const auto& entry : d.integers) {
    line([&] { out.str(savedGameText(entry.first)); });
    line([&] { out.integer(entry.second); });
  }
  line([&] { out.integer(static_cast<qint64>(d.disappeared.size())); });
  for (const auto& entry : d.disappeared) {
    line([&] { out.str(savedGameText(entry.first)); });
    line([&] { out.integer(entry.second); });
  }
  line([&] { out.integer(d.items.size()); });
  for (const QString& item : d.items) line([&] { out.str(savedGameText(item)); });
  if (!d.history) return out.bytes();
  line([&] { out.integer(d.history->size()); });
  for (const QString& frame : *d.history) line([&] { out.str(savedGameText(frame)); });
  if (!d.info) return out.bytes();
  for (int i = 0; i < 3; ++i) line([&] { out.str(QString()); });
  line([&] { out.str(savedGameText(d.info->projectName)); });
  line([&] { out.str(savedGameText(d.info->gameTitle)); });
  line([&] { out.str(savedGameText(d.info->date)); });
  line([&] { out.str(savedGameText(d.info->version)); });
  if (!d.variants) return out.bytes();
  line([&] { out.integer(static_cast<qint64>(d.variants->size())); });
  // Plain names, not structured bindings: lambdas capture these with every compiler we build with.
  for (const auto& entry : *d.variants) {
    line([&] { out.str(savedGameText(entry.first)); });
    line([&] { writeVariant(out, entry.second); });
  }
  return out.bytes();
}

namespace {
void readInto(const QByteArray& bytes, SavedGameData& d) {
  RecordReader in(bytes);
  d.resumeFrame = in.readString();
  for (int i = 0, n = readCount(in); i < n; ++i) {
    QString name = in.readString();
    d.integers.emplace_back(std::move(name), in.readInt16());
  }
  for (int i = 0, n = readCount(in); i < n; ++i) {
    QString frame = in.readString();
    d.disappeared.emplace_back(std::move(frame), in.readInt16());
  }
  for (int i = 0, n = in.readInt16(); i < n; ++i) d.items << in.readString();
  if (in.atEnd()) return;
  d.history.emplace();
  for (int i = 0, n = in.readInt16(); i < n; ++i) *d.history << in.readString();
  if (in.atEnd()) return;
  in.skip(3);
  SavedGameInfo info;
  info.projectName = in.readString();
  info.gameTitle = in.readString();
  info.date = in.readString();
  info.version = in.readString();
  d.info = info;
  if (in.atEnd()) return;
  d.variants.emplace();
  for (int i = 0, n = readCount(in); i < n; ++i) {
    QString name = in.readString();
    d.variants->emplace_back(std::move(name), readVariant(in));
  }
}
}  // namespace

SavedGameData readSavedGame(const QByteArray& bytes) {
  SavedGameData d;
  readInto(bytes, d);
  return d;
}

SavedGameData readSavedGame(const QByteArray& bytes, QString* failure) {
  SavedGameData d;
  try {
    readInto(bytes, d);
  } catch (const VbError& e) {
    if (failure) *failure = e.description.isNull() ? QStringLiteral("") : e.description;
  }
  return d;
}

QString savedGameFrame(const QByteArray& bytes) {
  try {
    RecordReader in(bytes);
    return in.readString();
  } catch (const VbError&) {
    return QString();
  }
}

}  // namespace qm::logic
