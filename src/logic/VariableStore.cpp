#include "logic/VariableStore.h"

#include "logic/ErrorReports.h"
#include "platform/FileResolver.h"
#include "platform/VbError.h"
#include "startup/RecordReader.h"

namespace qm::logic {

namespace {
const QString kVariantSectionMarker = QStringLiteral("***");

QString changeFailureText(const QString& name) {
  return QStringLiteral(" Unable to change the value of the following variable: '") + name +
         QStringLiteral("'. The variable may have been removed during the project creation.");
}
}  // namespace

void VariableStore::ChangeVariableValue(const QString& VariableName, int16_t NewValue) {
  try {
    for (auto& record : Variables) {
      if (record.Name != VariableName) continue;
      record.Value = NewValue == kInvertVariable ? static_cast<int16_t>(record.Value ^ 1) : NewValue;
    }
  } catch (const VbError&) {
    reportStandardError(changeFailureText(VariableName));
  }
}

void VariableStore::ChangeVariableVariantValue(const QString& VariableName, const QVariant& NewValue) {
  try {
    for (auto& record : VariablesVariant)
      if (record.Name == VariableName) record.Value = NewValue;
  } catch (const VbError&) {
    reportStandardError(changeFailureText(VariableName));
  }
}

int16_t VariableStore::GetVariableValue(const QString& VariableName) const {
  for (const auto& record : Variables)
    if (record.Name == VariableName) return record.Value;
  return kMissingVariableValue;
}

bool VariableStore::DoesIntergerVariableExist(const QString& sVariableName) const {
  const QString wanted = sVariableName.toLower();
  for (const auto& record : Variables)
    if (record.Name.toLower() == wanted) return true;
  return false;
}

bool VariableStore::DoesVariantVariableExist(const QString& sVariableName) const {
  const QString wanted = sVariableName.toLower();
  for (const auto& record : VariablesVariant)
    if (record.Name.toLower() == wanted) return true;
  return false;
}

void VariableStore::clear() {
  Variables.Clear();
  VariablesVariant.Clear();
}

void VariableStore::loadVariablesFrom(const QByteArray& bytes, const std::vector<PluginVariableNames>& plugins) {
  startup::RecordReader reader(bytes, QStringLiteral("Variables"));
  loadVariablesFrom(reader, plugins);
}

void VariableStore::loadVariablesFrom(startup::RecordReader& reader, const std::vector<PluginVariableNames>& plugins) {
  clear();
  reader.skip(1);  // header
  bool variantSection = false;
  while (!reader.atEnd()) {
    const QString name = reader.readString();
    if (name == kVariantSectionMarker) {
      variantSection = true;
    } else if (variantSection) {
      VariablesVariant.Add(name, QVariant::fromValue<int16_t>(0));
    } else {
      Variables.Add(name, int16_t{0});
    }
  }
  for (const auto& plugin : plugins) {
    for (const auto& name : plugin.integers)
      if (!DoesIntergerVariableExist(name)) Variables.Add(name, int16_t{0});
    for (const auto& name : plugin.variants)
      if (!DoesVariantVariableExist(name)) VariablesVariant.Add(name, QVariant::fromValue<int16_t>(0));
  }
}

void VariableStore::LoadVariables(const QString& variablesFilePath, const std::vector<PluginVariableNames>& plugins) {
  try {
    clear();
    loadVariablesFrom(platform::readWholeFile(variablesFilePath), plugins);
  } catch (const VbError&) {
    reportStandardError(QStringLiteral(" Unable to load variables list."));
  }
}

}  // namespace qm::logic
