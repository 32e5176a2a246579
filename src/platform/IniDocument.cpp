#include "platform/IniDocument.h"

namespace qm::platform {
namespace {

// The section name of a header line, or nullopt when the line is not a header.
std::optional<QString> headerName(const QString& line) {
  const QString t = line.trimmed();
  if (!t.startsWith(u'[')) return std::nullopt;
  qsizetype close = t.indexOf(u']');
  if (close < 0) close = t.size();
  return t.mid(1, close - 1).trimmed();
}

// The key of a "key=value" line, or nullopt.
std::optional<QString> keyName(const QString& line) {
  const qsizetype eq = line.indexOf(u'=');
  if (eq < 0) return std::nullopt;
  return line.left(eq).trimmed();
}

bool sameName(const QString& a, const QString& b) { return a.compare(b, Qt::CaseInsensitive) == 0; }

}  // namespace

IniDocument IniDocument::parse(const QString& text) {
  QString t = text;
  t.replace(QStringLiteral("\r\n"), QStringLiteral("\n"));
  t.replace(u'\r', u'\n');
  QStringList lines = t.split(u'\n');
  if (!lines.isEmpty() && lines.back().isEmpty()) lines.removeLast();
  return fromLines(lines);
}

IniDocument IniDocument::fromLines(const QStringList& lines) {
  IniDocument doc;
  doc.lines_ = lines;
  doc.origins_.resize(static_cast<size_t>(lines.size()));
  for (qsizetype i = 0; i < lines.size(); ++i) doc.origins_[static_cast<size_t>(i)] = i;
  return doc;
}

void IniDocument::insertLine(qsizetype at, const QString& line) {
  lines_.insert(at, line);
  origins_.insert(origins_.begin() + at, -1);
}

void IniDocument::eraseLines(qsizetype from, qsizetype to) {
  lines_.erase(lines_.begin() + from, lines_.begin() + to);
  origins_.erase(origins_.begin() + from, origins_.begin() + to);
}

QString IniDocument::toText() const {
  QString out;
  for (const QString& line : lines_) {
    out += line;
    out += QStringLiteral("\r\n");
  }
  return out;
}

qsizetype IniDocument::findSection(const QString& section) const {
  for (qsizetype i = 0; i < lines_.size(); ++i) {
    const auto name = headerName(lines_[i]);
    if (name && sameName(*name, section.trimmed())) return i;
  }
  return -1;
}

qsizetype IniDocument::sectionEnd(qsizetype header) const {
  qsizetype i = header + 1;
  while (i < lines_.size() && !headerName(lines_[i])) ++i;
  return i;
}

qsizetype IniDocument::findKey(qsizetype header, const QString& key) const {
  const qsizetype end = sectionEnd(header);
  for (qsizetype i = header + 1; i < end; ++i) {
    const auto name = keyName(lines_[i]);
    if (name && sameName(*name, key.trimmed())) return i;
  }
  return -1;
}

std::optional<QString> IniDocument::value(const QString& section, const QString& key) const {
  const qsizetype header = findSection(section);
  if (header < 0) return std::nullopt;
  const qsizetype line = findKey(header, key);
  if (line < 0) return std::nullopt;
  const QString& l = lines_[line];
  QString v = l.mid(l.indexOf(u'=') + 1).trimmed();
  if (v.size() >= 2 && (v.front() == u'"' || v.front() == u'\'') && v.back() == v.front()) {
    v = v.mid(1, v.size() - 2);
  }
  return v;
}

void IniDocument::setValue(const QString& section, const QString& key, const QString& value) {
  const QString line = key.trimmed() + u'=' + value;
  qsizetype header = findSection(section);
  if (header < 0) {
    insertLine(lines_.size(), u'[' + section.trimmed() + u']');
    insertLine(lines_.size(), line);
    return;
  }
  const qsizetype existing = findKey(header, key);
  if (existing >= 0) {
    if (lines_[existing] != line) {
      lines_[existing] = line;
      origins_[static_cast<size_t>(existing)] = -1;
    }
    return;
  }
  // After the section's last non-blank line.
  qsizetype at = sectionEnd(header);
  while (at > header + 1 && lines_[at - 1].trimmed().isEmpty()) --at;
  insertLine(at, line);
}

bool IniDocument::removeKey(const QString& section, const QString& key) {
  const qsizetype header = findSection(section);
  if (header < 0) return false;
  const qsizetype line = findKey(header, key);
  if (line < 0) return false;
  eraseLines(line, line + 1);
  return true;
}

bool IniDocument::removeSection(const QString& section) {
  const qsizetype header = findSection(section);
  if (header < 0) return false;
  const qsizetype end = sectionEnd(header);
  eraseLines(header, end);
  return true;
}

QStringList IniDocument::keys(const QString& section) const {
  QStringList out;
  const qsizetype header = findSection(section);
  if (header < 0) return out;
  const qsizetype end = sectionEnd(header);
  for (qsizetype i = header + 1; i < end; ++i) {
    if (const auto name = keyName(lines_[i])) out.push_back(*name);
  }
  return out;
}

}  // namespace qm::platform
