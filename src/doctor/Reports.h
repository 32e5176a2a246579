// The doctor's reports: lines for people, one JSON document for tools.
#pragma once

#include <QByteArray>
#include <QString>

namespace qm::doctor {

struct CheckResult;

// "N errors, N warnings, N notes in N files"
QString summaryLine(const CheckResult& result);

// One line per finding ("FILE:LINE: record R, FIELD: severity: message [code]"),
// then the summary line.
QString textReport(const CheckResult& result);

// {"files": N, "errors": N, "warnings": N, "notes": N, "findings": [{"file",
// "line", "record", "field", "severity", "code", "message"}, ...]}
QByteArray jsonReport(const CheckResult& result);

}  // namespace qm::doctor
