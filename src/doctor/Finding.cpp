#include "doctor/Finding.h"

#include <algorithm>
#include <tuple>

namespace qm::doctor {

QString severityName(Severity severity) {
  switch (severity) {
    case Severity::Error: return QStringLiteral("error");
    case Severity::Warning: return QStringLiteral("warning");
    case Severity::Note: return QStringLiteral("note");
  }
  return QStringLiteral("error");
}

void Findings::add(const Place& place, Severity severity, const QString& code, const QString& message) {
  // One line each: a message quoting a file's text must not break the report's lines.
  QString oneLine = message;
  oneLine.replace(QLatin1String("\r\n"), QLatin1String(" ")).replace(u'\r', u' ').replace(u'\n', u' ');
  items_.push_back(Finding{place, severity, code, oneLine});
}

int Findings::count(Severity severity) const {
  return static_cast<int>(std::count_if(items_.begin(), items_.end(),
                                        [severity](const Finding& f) { return f.severity == severity; }));
}

void Findings::sort() {
  std::stable_sort(items_.begin(), items_.end(), [](const Finding& a, const Finding& b) {
    const int byFile = a.place.file.compare(b.place.file, Qt::CaseInsensitive);
    if (byFile != 0) return byFile < 0;
    return std::tie(a.place.line, a.place.record) < std::tie(b.place.line, b.place.record);
  });
}

}  // namespace qm::doctor
