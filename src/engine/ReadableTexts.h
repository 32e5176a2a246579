// What a player can read on the game picture at this moment: the in-frame
// message panel, the dialogue's questions and the frame's text boxes, each
// counted only while it is shown and no other control stands in front of any
// part of it. A message shown and hidden (or covered) before the screen is
// painted again was never readable.
#pragma once

#include <QString>
#include <QStringList>
#include <vector>

class QWidget;

namespace qm::engine {

class Game;

struct ReadableText {
  QString text;
  QString where;      // "the message panel", "dialogue question 2", "text box 3"
  QString coveredBy;  // the control in front of it, "" when nothing is
};

// Every text of those kinds that is shown now (empty ones left out), readable
// or covered.
std::vector<ReadableText> shownTexts(Game& game);

// The texts of shownTexts that nothing covers.
QStringList readableTexts(Game& game);

// The control that stands in front of part of `widget` on the game picture
// (a shown control later in the stacking order whose rectangle meets the
// part of `widget` its containers let show), or nullptr.
QWidget* controlInFrontOf(Game& game, QWidget* widget);

// A control's name as the game's code knows it: "FrameMessageBox", "Area(3)".
QString controlName(QWidget* widget);

}  // namespace qm::engine
