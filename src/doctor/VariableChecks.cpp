// Variable names in conditions and actions: conditions and actions find a
// variable by its exact name, so a name that differs from the declared one
// only in letter case never matches.
#include "doctor/Checks.h"
#include "doctor/GameFacts.h"

namespace qm::doctor {

void checkVariables(const GameFacts& facts, Findings& findings) {
  if (!facts.variablesRead) return;
  for (const VariableReference& ref : facts.variableReferences) {
    if (facts.integerVariables.contains(ref.name, Qt::CaseSensitive)) continue;
    const auto sameLetters = [&](const QStringList& names) -> QString {
      for (const QString& n : names)
        if (n.compare(ref.name, Qt::CaseInsensitive) == 0) return n;
      return {};
    };
    if (const QString declared = sameLetters(facts.integerVariables); !declared.isEmpty()) {
      findings.error(ref.at, QStringLiteral("variable-case"),
                     QStringLiteral("\"%1\" differs only in letter case from the declared variable \"%2\"; conditions "
                                    "and actions match names exactly, so it never finds it")
                         .arg(ref.name, declared));
    } else if (const QString variant = sameLetters(facts.variantVariables); !variant.isEmpty()) {
      findings.error(ref.at, QStringLiteral("not-integer-variable"),
                     QStringLiteral("\"%1\" is a variant variable; conditions and actions use integer variables only")
                         .arg(ref.name));
    } else {
      findings.error(ref.at, QStringLiteral("undeclared-variable"),
                     QStringLiteral("the variable \"%1\" is not declared in Config/Variables").arg(ref.name));
    }
  }
}

}  // namespace qm::doctor
