// The standard error report: a critical box titled with interface text 29:
// text 30, a blank line, text 31 and the failing operation's own text (which
// begins with a blank), then optionally a blank line and the error description.
// Nothing is shown while the game is stopping.
#pragma once

#include <QString>

namespace qm::startup {

void ShowStandardErrorReport(const QString& specificText, const QString& description = {});

// The text of that report (without showing it).
QString StandardErrorReportText(const QString& specificText, const QString& description = {});

}  // namespace qm::startup

namespace qm::startup {

// A media control's Play failed: critical box titled with text 29: text 30, a
// blank, text 31, a blank line, "Unable to play video file. " and the description.
void ShowPlayMediaControlError(const QString& description);

}  // namespace qm::startup
