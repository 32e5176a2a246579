// What the game doctor found: one problem of a game folder, with where it is
// (file, line, record, field), how bad it is, a stable code tools can match,
// and a one-line message for the game's author.
#pragma once

#include <QString>
#include <vector>

namespace qm::doctor {

enum class Severity { Error, Warning, Note };

// "error", "warning", "note".
QString severityName(Severity severity);

// Where in the game folder something is. Unknown parts stay 0 or empty.
struct Place {
  QString file;    // relative to the game folder, '/' between names ("FramesData/Hall.fm3")
  int line = 0;    // 1-based line of the file (or of the script)
  int record = 0;  // 1-based record of a list file (hotspot, question, ...)
  QString field;   // which field: its name or "field N"
};

struct Finding {
  Place place;
  Severity severity = Severity::Error;
  QString code;     // stable identifier, e.g. "missing-file"
  QString message;  // one line, for the game's author
};

class Findings {
 public:
  void add(const Place& place, Severity severity, const QString& code, const QString& message);
  void error(const Place& place, const QString& code, const QString& message) {
    add(place, Severity::Error, code, message);
  }
  void warning(const Place& place, const QString& code, const QString& message) {
    add(place, Severity::Warning, code, message);
  }
  void note(const Place& place, const QString& code, const QString& message) {
    add(place, Severity::Note, code, message);
  }

  const std::vector<Finding>& all() const { return items_; }
  int count(Severity severity) const;
  bool empty() const { return items_.empty(); }
  // In file order, then line, record, code; equal places keep the order they were found in.
  void sort();

 private:
  std::vector<Finding> items_;
};

}  // namespace qm::doctor
