#include "logic/VariablesViewer.h"

#include "engine/Game.h"
#include "logic/GameLogic.h"
#include "platform/DialogService.h"
#include "script/ScriptValues.h"

namespace qm::logic {

namespace {

constexpr int kLinesPerBox = 25;

const QString kIntroduction = QStringLiteral(
    "This window allows you to view the value of all the project variables. To create a new project variable, click "
    "\"Project Variables...\" from the frame editor menu. To manually change the value of a variable, click \"Execute "
    "VBS code...\" from the Debug menu, and then enter: \"VARIABLE_NAME = NEW_VALUE\" (without the quotes).");
const QString kIntegerHeading =
    QStringLiteral("-------------------------- INTEGER VARIABLES: --------------------------             ");
const QString kVariantHeading =
    QStringLiteral("-------------------------- VARIANT VARIABLES: --------------------------             ");

}  // namespace

QString variantValueText(const QVariant& value) {
  const vbs::Value v = script::fromQVariant(value);
  if (v.isNull()) return QString();
  return script::toQ(vbs::toString(v));
}

QStringList variablesStatusLines(const VariableStore& variables) {
  QStringList lines{kIntroduction, QString(), QString(), kIntegerHeading, QString()};
  for (const auto& v : variables.Variables) lines << v.Name + QStringLiteral(" = ") + QString::number(v.Value);
  lines << QString() << kVariantHeading << QString();
  for (const auto& v : variables.VariablesVariant) lines << v.Name + QStringLiteral(" = ") + variantValueText(v.Value);
  return lines;
}

QStringList variablesStatusPages(const QStringList& lines) {
  QStringList pages;
  QString text;
  for (int n = 0; n < lines.size(); ++n) {
    text += lines[n] + QStringLiteral("\r\n");
    const bool last = n == lines.size() - 1;
    if ((n + 1) % kLinesPerBox == 0 && !last) {
      pages << text;
      text = QString(52, QLatin1Char(' ')) + QStringLiteral("\r\n");
    }
  }
  pages << text + QStringLiteral("\r\n");
  return pages;
}

void ViewVariablesStatus(engine::Game& game) {
  QStringList pages;
  try {
    pages = variablesStatusPages(variablesStatusLines(game.logic().variables));
  } catch (...) {
    platform::messageBox(script::describeCurrentException() + QStringLiteral("Error displaying variables status. "),
                         platform::MsgButtons::OK, platform::MsgIcon::Warning, QStringLiteral("Error"));
    return;
  }
  for (const QString& page : pages)
    platform::messageBox(page, platform::MsgButtons::OK, platform::MsgIcon::Information,
                         QStringLiteral("Variables Status"));
}

}  // namespace qm::logic
