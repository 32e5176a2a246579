#include "startup/SchemeDescription.h"

#include <QGuiApplication>
#include <QPalette>
#include <algorithm>

#include "platform/FileResolver.h"
#include "platform/VbError.h"
#include "startup/RecordReader.h"

namespace qm::startup {

namespace {

const char* const kSchemeFileName = "Scheme.txt";

bool namesNoPicture(const QString& name) {
  const QString lower = name.toLower();
  return lower == QLatin1String("[none]") || lower == QLatin1String("[default]");
}

// Runs one read; a failing read leaves the value unset.
template <typename T, typename Read>
std::optional<T> tryRead(Read read) {
  try {
    return read();
  } catch (const VbError&) {
    return std::nullopt;
  }
}

void trySkip(RecordReader& reader, int count) {
  for (int i = 0; i < count; ++i) {
    try {
      reader.skip(1);
    } catch (const VbError&) {
    }
  }
}

SchemeDescription parse(RecordReader& reader) {
  SchemeDescription d;
  d.found = true;

  trySkip(reader, 3);
  d.pictureCount = tryRead<int16_t>([&] { return reader.readInt16(); }).value_or(0);
  if (d.pictureCount == 0) return d;

  // Pictures beyond the four slots are read and dropped. Once the file has
  // ended every further name would read as "[default]", so the loop stops there
  // instead of spinning through a huge count.
  for (int i = 0; i < d.pictureCount; ++i) {
    if (reader.atEnd()) {
      while (static_cast<int>(d.pictures.size()) < std::min(d.pictureCount, kSchemePictureSlots)) {
        d.pictures.emplace_back();
      }
      break;
    }
    QString name = tryRead<QString>([&] { return reader.readString(); }).value_or(QStringLiteral("[default]"));
    if (i < kSchemePictureSlots) d.pictures.push_back(namesNoPicture(name) ? QString() : name);
  }

  d.colourLevel = tryRead<int16_t>([&] { return reader.readInt16(); }).value_or(0);
  if (d.colourLevel == 0) return d;
  d.backColour = tryRead<int32_t>([&] { return reader.readInt32(); });
  d.titleColour = tryRead<int32_t>([&] { return reader.readInt32(); });
  d.labelColour = tryRead<int32_t>([&] { return reader.readInt32(); });
  if (d.colourLevel >= 4) d.buttonColour = tryRead<int32_t>([&] { return reader.readInt32(); });

  if (!reader.atEnd()) {
    trySkip(reader, 3);
    // A switch that cannot be read counts as 0: the title shows.
    const double titleSwitch = tryRead<double>([&] { return reader.readDouble(); }).value_or(0.0);
    d.hideTitle = titleSwitch != 0.0;
  }
  if (!reader.atEnd()) {
    trySkip(reader, 1);
    d.logoSelector1 = tryRead<int16_t>([&] { return reader.readInt16(); });
    d.logoSelector2 = tryRead<bool>([&] { return reader.readBool(); });
  }
  return d;
}

}  // namespace

QString SchemeFolder(const QString& schemesPath, const QString& schemeName) {
  return schemesPath + schemeName + QLatin1Char('/');
}

SchemeDescription ReadSchemeDescription(const QString& schemeFolder) {
  const QString file = schemeFolder + QLatin1String(kSchemeFileName);
  if (!platform::fileExists(file)) return {};
  try {
    RecordReader reader = RecordReader::fromFile(file);
    return parse(reader);
  } catch (const VbError&) {
    // The file vanished or cannot be read: nothing of it applies.
    SchemeDescription d;
    d.found = true;
    return d;
  }
}

SchemeDescription ParseSchemeDescription(const QByteArray& bytes) {
  RecordReader reader(bytes, QString::fromLatin1(kSchemeFileName));
  return parse(reader);
}

QColor ColourFromStored(int32_t stored) {
  const auto value = static_cast<uint32_t>(stored);
  if (value & 0x80000000u) {
    // System colours by their index.
    const QPalette palette = qobject_cast<QGuiApplication*>(QCoreApplication::instance())
                                 ? QGuiApplication::palette()
                                 : QPalette();
    switch (value & 0xFFu) {
      case 0x05: return palette.color(QPalette::Base);             // window background
      case 0x08: return palette.color(QPalette::Text);             // window text
      case 0x0D: return palette.color(QPalette::Highlight);        // highlight
      case 0x0E: return palette.color(QPalette::HighlightedText);  // highlighted text
      case 0x11: return palette.color(QPalette::Disabled, QPalette::Text);  // grey text
      case 0x12: return palette.color(QPalette::ButtonText);       // button text
      case 0x0F:                                                    // button face
      default: return palette.color(QPalette::Button);
    }
  }
  return QColor(static_cast<int>(value & 0xFFu), static_cast<int>((value >> 8) & 0xFFu),
                static_cast<int>((value >> 16) & 0xFFu));
}

}  // namespace qm::startup
