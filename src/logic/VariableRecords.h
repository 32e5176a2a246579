#pragma once
// The three kinds of variable record kept by the game: an integer variable,
// a variant variable (any script value) and a text variable.

#include <QString>
#include <QVariant>
#include <cstdint>

namespace qm::logic {

struct ClassVariable {
  QString Name;
  int16_t Value = 0;
};

// A variant variable holds whatever a script stores in it; an object value is
// kept by reference (the QVariant then carries a shared pointer).
struct ClassVariableVariant {
  QString Name;
  QVariant Value = QVariant::fromValue<int16_t>(0);
};

struct ClassVariableString {
  QString Name;
  QString Value;
};

}  // namespace qm::logic
