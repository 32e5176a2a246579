// An INI file held as its lines: "[section]" headers and "key=value" lines,
// names compared without regard to letter case, the first matching section and
// key winning, every other line kept as it is.
#pragma once

#include <QString>
#include <QStringList>
#include <optional>
#include <vector>

namespace qm::platform {

class IniDocument {
 public:
  static IniDocument parse(const QString& text);
  // The document of these lines (without their line ends).
  static IniDocument fromLines(const QStringList& lines);
  QString toText() const;  // lines joined with CR LF, ending with CR LF

  const QStringList& lines() const { return lines_; }
  // Where each line came from: its index among the parsed lines, or -1 for a
  // line set or added since. A writer keeps the untouched lines byte for byte.
  const std::vector<qsizetype>& origins() const { return origins_; }

  std::optional<QString> value(const QString& section, const QString& key) const;
  void setValue(const QString& section, const QString& key, const QString& value);
  bool removeKey(const QString& section, const QString& key);
  bool removeSection(const QString& section);

  // The key names of a section, in file order.
  QStringList keys(const QString& section) const;

 private:
  qsizetype findSection(const QString& section) const;  // header line, or -1
  qsizetype sectionEnd(qsizetype header) const;          // first line after the section
  qsizetype findKey(qsizetype header, const QString& key) const;

  void insertLine(qsizetype at, const QString& line);
  void eraseLines(qsizetype from, qsizetype to);

  QStringList lines_;
  std::vector<qsizetype> origins_;  // one per line
};

}  // namespace qm::platform
