#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>

#include "doctor/Doctor.h"
#include "doctor/Reports.h"

namespace qm::doctor {

QByteArray jsonReport(const CheckResult& result) {
  QJsonArray items;
  for (const Finding& f : result.findings.all()) {
    QJsonObject o;
    o.insert(QStringLiteral("file"), f.place.file);
    o.insert(QStringLiteral("line"), f.place.line);
    o.insert(QStringLiteral("record"), f.place.record);
    o.insert(QStringLiteral("field"), f.place.field);
    o.insert(QStringLiteral("severity"), severityName(f.severity));
    o.insert(QStringLiteral("code"), f.code);
    o.insert(QStringLiteral("message"), f.message);
    items.append(o);
  }
  QJsonObject root;
  root.insert(QStringLiteral("files"), result.filesChecked);
  root.insert(QStringLiteral("errors"), result.findings.count(Severity::Error));
  root.insert(QStringLiteral("warnings"), result.findings.count(Severity::Warning));
  root.insert(QStringLiteral("notes"), result.findings.count(Severity::Note));
  root.insert(QStringLiteral("findings"), items);
  return QJsonDocument(root).toJson(QJsonDocument::Indented);
}

}  // namespace qm::doctor
