// The debug menu's "View variables status...": every integer and variant
// variable with its value, in information boxes of 25 lines each.
#pragma once

#include <QString>
#include <QVariant>
#include <QStringList>

namespace qm::engine {
class Game;
}

namespace qm::logic {

class VariableStore;

// A variant variable's value as joining it to a text shows it: True/False for a
// Boolean, nothing for Null. Throws when the value cannot be shown as text (an object).
QString variantValueText(const QVariant& value);

// The viewer's lines: the introduction, the two headings and one line per
// variable (8 + integers + variants lines). Throws when a value cannot be
// shown as text (an object).
QStringList variablesStatusLines(const VariableStore& variables);

// The text of each box: 25 lines to a box, CR LF after each line; the boxes
// after the first start with a line of 52 blanks; the last box has one more
// line break at its end.
QStringList variablesStatusPages(const QStringList& lines);

// Shows the boxes (titled "Variables Status"); a failure shows the "Error" box.
void ViewVariablesStatus(engine::Game& game);

}  // namespace qm::logic
