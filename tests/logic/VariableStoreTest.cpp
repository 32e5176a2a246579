#include "logic/VariableStore.h"

#include <gtest/gtest.h>

#include "support/VariablesRecords.h"
#include "platform/RecordingDialogService.h"
#include "startup/Project.h"

using qm::logic::PluginVariableNames;
using qm::logic::VariableStore;
using qm::testing::variablesFileBytes;

namespace {

VariableStore storeWith(const QStringList& integers, const std::optional<QStringList>& variants = std::nullopt,
                        const std::vector<PluginVariableNames>& plugins = {}) {
  VariableStore store;
  store.loadVariablesFrom(variablesFileBytes(integers, variants), plugins);
  return store;
}

QStringList integerNames(const VariableStore& store) {
  QStringList names;
  for (const auto& v : store.Variables) names << v.Name;
  return names;
}

QStringList variantNames(const VariableStore& store) {
  QStringList names;
  for (const auto& v : store.VariablesVariant) names << v.Name;
  return names;
}

}  // namespace

TEST(VariablesFile, NamesBeforeTheMarkerAreIntegersAfterItVariants) {
  const auto store = storeWith({"door", "key"}, QStringList{"score", "name"});
  EXPECT_EQ(integerNames(store), (QStringList{"door", "key"}));
  EXPECT_EQ(variantNames(store), (QStringList{"score", "name"}));
  for (const auto& v : store.Variables) EXPECT_EQ(v.Value, 0);
  for (const auto& v : store.VariablesVariant) {
    EXPECT_EQ(v.Value.toInt(), 0);
    EXPECT_EQ(v.Value.metaType(), QMetaType::fromType<int16_t>());
  }
}

TEST(VariablesFile, WithoutMarkerEverythingIsInteger) {
  const auto store = storeWith({"a", "b", "c"});
  EXPECT_EQ(store.Variables.Count(), 3);
  EXPECT_EQ(store.VariablesVariant.Count(), 0);
}

TEST(VariablesFile, OnlyNamesAfterTheMarkerGiveOnlyVariants) {
  const auto store = storeWith({}, QStringList{"x", "y"});
  EXPECT_EQ(store.Variables.Count(), 0);
  EXPECT_EQ(variantNames(store), (QStringList{"x", "y"}));
}

TEST(VariablesFile, LoadingTwiceKeepsOneSet) {
  VariableStore store;
  const auto bytes = variablesFileBytes({"a", "b"}, QStringList{"v"});
  store.loadVariablesFrom(bytes, {});
  store.loadVariablesFrom(bytes, {});
  EXPECT_EQ(store.Variables.Count(), 2);
  EXPECT_EQ(store.VariablesVariant.Count(), 1);
}

TEST(VariablesFile, PluginNamesAreAddedOnceAfterTheFileIgnoringCase) {
  const auto store = storeWith({"door"}, QStringList{"score"},
                               {PluginVariableNames{{"DOOR", "lamp"}, {"SCORE", "level"}},
                                PluginVariableNames{{"Lamp", "fan"}, {}}});
  EXPECT_EQ(integerNames(store), (QStringList{"door", "lamp", "fan"}));
  EXPECT_EQ(variantNames(store), (QStringList{"score", "level"}));
}

TEST(VariablesFile, MissingFileReportsAndLeavesStoresEmpty) {
  qm::startup::resetProjectForTests();
  qm::platform::ScopedRecordingDialogs dialogs;
  VariableStore store;
  store.Variables.Add("old", int16_t{3});
  store.LoadVariables("/nonexistent/folder/Variables", {PluginVariableNames{{"p"}, {}}});
  EXPECT_EQ(store.Variables.Count(), 0);
  ASSERT_EQ(dialogs->count(), 1u);
  EXPECT_TRUE(dialogs->last().text.contains(" Unable to load variables list."));
}

TEST(VariableRules, DuplicateNamesChangeTogetherAndReadTheFirst) {
  auto store = storeWith({"twice", "other", "twice"});
  store.Variables.Item(3).Value = 7;
  EXPECT_EQ(store.GetVariableValue("twice"), 0);
  store.ChangeVariableValue("twice", 5);
  EXPECT_EQ(store.Variables.Item(1).Value, 5);
  EXPECT_EQ(store.Variables.Item(3).Value, 5);
  EXPECT_EQ(store.Variables.Item(2).Value, 0);
}

TEST(VariableRules, MinusOneFlipsTheLowestBit) {
  auto store = storeWith({"v"});
  const std::pair<int16_t, int16_t> cases[] = {{0, 1}, {1, 0}, {2, 3}, {5, 4}, {-32768, -32767}};
  for (auto [before, after] : cases) {
    store.Variables.Item(1).Value = before;
    store.ChangeVariableValue("v", -1);
    EXPECT_EQ(store.GetVariableValue("v"), after) << before;
  }
}

TEST(VariableRules, MissingOrOtherCaseReadsMinus32000) {
  auto store = storeWith({"door"});
  store.ChangeVariableValue("door", 1);
  EXPECT_EQ(store.GetVariableValue("nothing"), -32000);
  EXPECT_EQ(store.GetVariableValue("DOOR"), -32000);
  EXPECT_EQ(store.GetVariableValue("door"), 1);
}

TEST(VariableRules, ExistenceIgnoresCaseButChangesDoNot) {
  auto store = storeWith({"lamp"}, QStringList{"mood"});
  EXPECT_TRUE(store.DoesIntergerVariableExist("LAMP"));
  EXPECT_TRUE(store.DoesVariantVariableExist("Mood"));
  EXPECT_FALSE(store.DoesIntergerVariableExist("mood"));
  store.ChangeVariableValue("LAMP", 1);
  EXPECT_EQ(store.GetVariableValue("lamp"), 0);
  store.ChangeVariableVariantValue("MOOD", QString("happy"));
  EXPECT_EQ(store.VariablesVariant.Item(1).Value.toInt(), 0);
  store.ChangeVariableVariantValue("mood", QString("happy"));
  EXPECT_EQ(store.VariablesVariant.Item(1).Value.toString(), "happy");
}

TEST(VariableRules, VariantMinusOneIsStoredNotToggled) {
  auto store = storeWith({}, QStringList{"v"});
  store.ChangeVariableVariantValue("v", QVariant::fromValue<int16_t>(-1));
  EXPECT_EQ(store.VariablesVariant.Item(1).Value.toInt(), -1);
}

TEST(VariableRules, UnknownNameChangesNothingSilently) {
  qm::platform::ScopedRecordingDialogs dialogs;
  auto store = storeWith({"a"});
  store.ChangeVariableValue("b", 1);
  store.ChangeVariableVariantValue("b", 1);
  EXPECT_EQ(store.GetVariableValue("a"), 0);
  EXPECT_EQ(dialogs->count(), 0u);
}

TEST(KeyedCollection, KeysPositionsAndRemoval) {
  qm::logic::VariablesCollection list;
  list.Add("a", int16_t{1}, "first");
  list.Add("b", int16_t{2});
  list.Add("c", int16_t{3}, "third");
  EXPECT_EQ(list.Item("FIRST").Name, "a");
  EXPECT_THROW(list.Add("d", int16_t{4}, "Third"), qm::VbError);
  list.Remove(1);
  EXPECT_EQ(list.Count(), 2);
  EXPECT_EQ(list.Item(1).Name, "b");
  list.Remove("third");
  EXPECT_EQ(list.Count(), 1);
  try {
    list.Item(5);
    FAIL();
  } catch (const qm::VbError& e) {
    EXPECT_EQ(e.number, 9);
  }
  try {
    list.Item("nope");
    FAIL();
  } catch (const qm::VbError& e) {
    EXPECT_EQ(e.number, 5);
  }
}
