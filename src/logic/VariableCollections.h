#pragma once
// The three variable collections of the game.

#include "logic/KeyedList.h"
#include "logic/VariableRecords.h"

namespace qm::logic {

using VariablesCollection = KeyedList<ClassVariable>;
using VariantCollection = KeyedList<ClassVariableVariant>;
using VariablesStrCollection = KeyedList<ClassVariableString>;

}  // namespace qm::logic
