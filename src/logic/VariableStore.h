#pragma once
// The game's variables: integer variables (16-bit, read by hotspot conditions
// and changed by hotspot actions) and variant variables (any script value).
// Stores are plain ordered lists: a name may appear twice, lookups scan from
// the first record.

#include "logic/VariableCollections.h"

#include <QString>
#include <QStringList>
#include <vector>

namespace qm::startup {
class RecordReader;
}

namespace qm::logic {

// What a loaded plugin declares.
struct PluginVariableNames {
  QStringList integers;
  QStringList variants;
};

// The answer of GetVariableValue for a name that is not in the store.
inline constexpr int16_t kMissingVariableValue = -32000;
// ChangeVariableValue with this value flips the lowest bit (inverts 0 and 1).
inline constexpr int16_t kInvertVariable = -1;

class VariableStore {
 public:
  VariablesCollection Variables;
  VariantCollection VariablesVariant;

  // Every record named exactly VariableName (case counts) changes; -1 flips
  // the lowest bit. No match: nothing happens.
  void ChangeVariableValue(const QString& VariableName, int16_t NewValue);
  void ChangeVariableVariantValue(const QString& VariableName, const QVariant& NewValue);
  // First record named exactly VariableName, else -32000.
  int16_t GetVariableValue(const QString& VariableName) const;
  // These two ignore letter case.
  bool DoesIntergerVariableExist(const QString& sVariableName) const;
  bool DoesVariantVariableExist(const QString& sVariableName) const;

  // Rebuilds both stores from the "Variables" file (a header field, then one
  // name per field; names after "***" are variant variables) and then adds
  // the plugins' names that are not there yet. Failures are reported and the
  // stores keep what was loaded so far.
  void LoadVariables(const QString& variablesFilePath, const std::vector<PluginVariableNames>& plugins = {});
  // The same from the file's bytes (no report; throws VbError).
  void loadVariablesFrom(const QByteArray& bytes, const std::vector<PluginVariableNames>& plugins);
  // The same from a reader, which shows where a failure stopped it.
  void loadVariablesFrom(startup::RecordReader& reader, const std::vector<PluginVariableNames>& plugins);

  void clear();
};

}  // namespace qm::logic
