#include <QStringList>

#include "doctor/Doctor.h"
#include "doctor/Reports.h"

namespace qm::doctor {

QString summaryLine(const CheckResult& result) {
  const Findings& f = result.findings;
  return QStringLiteral("%1 errors, %2 warnings, %3 notes in %4 files")
      .arg(f.count(Severity::Error))
      .arg(f.count(Severity::Warning))
      .arg(f.count(Severity::Note))
      .arg(result.filesChecked);
}

QString textReport(const CheckResult& result) {
  QString out;
  for (const Finding& f : result.findings.all()) {
    QString where = f.place.file.isEmpty() ? QStringLiteral("(game)") : f.place.file;
    if (f.place.line > 0) where += QStringLiteral(":%1").arg(f.place.line);
    QStringList detail;
    if (f.place.record > 0) detail << QStringLiteral("record %1").arg(f.place.record);
    if (!f.place.field.isEmpty()) detail << f.place.field;
    out += where + QStringLiteral(": ");
    if (!detail.isEmpty()) out += detail.join(QStringLiteral(", ")) + QStringLiteral(": ");
    out += severityName(f.severity) + QStringLiteral(": ") + f.message + QStringLiteral(" [") + f.code +
           QStringLiteral("]\n");
  }
  out += summaryLine(result) + u'\n';
  return out;
}

}  // namespace qm::doctor
