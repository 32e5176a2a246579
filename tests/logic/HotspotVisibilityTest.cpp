#include "logic/HotspotVisibility.h"

#include <gtest/gtest.h>

#include "logic/DisappearList.h"
#include "logic/VariableStore.h"
#include "platform/VbError.h"
#include "startup/RecordReader.h"
#include "support/HotspotRecords.h"

using namespace qm::logic;
using qm::testing::hotspotFileBytes;
using qm::testing::HotspotSpec;

namespace {

struct VisibilityFixture : ::testing::Test {
  VariableStore variables;
  VariablesCollection disappear;

  void SetUp() override {
    for (const char* name : {"zero", "one", "two"}) variables.Variables.Add(name, int16_t{0});
    variables.ChangeVariableValue("one", 1);
    variables.ChangeVariableValue("two", 2);
  }

  std::vector<bool> table(const std::vector<HotspotSpec>& specs, const QString& frame = "Hall") {
    VisibilityContext context{frame, &disappear, &variables, {}};
    return hotspotVisibilityTable(hotspotFileBytes(specs), context);
  }

  static HotspotSpec conditional(QStringList a, QStringList b, int use = 1) {
    HotspotSpec s;
    s.useConditions = use;
    s.mustBeFalse = std::move(a);
    s.mustBeTrue = std::move(b);
    return s;
  }
};

}  // namespace

TEST_F(VisibilityFixture, ListsDecideWhenConditionsAreUsed) {
  const auto shown = table({
      conditional({"zero"}, {"one"}),         // both hold
      conditional({"one"}, {}),               // A fails
      conditional({}, {"zero"}),              // B fails
      conditional({"two"}, {}),               // 2 is not 0
      conditional({}, {"two"}),               // 2 is not 1
      conditional({"gone"}, {"removed"}),     // missing variables hold
      conditional({"one"}, {"zero"}, 0),      // conditions ignored
  });
  EXPECT_EQ(shown, (std::vector<bool>{true, false, false, false, false, true, true}));
}

TEST_F(VisibilityFixture, ChangingAVariableHidesTheHotspot) {
  const std::vector<HotspotSpec> specs{conditional({"zero"}, {"one"})};
  EXPECT_EQ(table(specs), std::vector<bool>{true});
  variables.ChangeVariableValue("zero", 1);
  EXPECT_EQ(table(specs), std::vector<bool>{false});
}

TEST_F(VisibilityFixture, VariableHoldingMinus32000CountsAsMissing) {
  variables.ChangeVariableValue("two", -32000);
  EXPECT_EQ(table({conditional({"two"}, {"two"})}), std::vector<bool>{true});
}

TEST_F(VisibilityFixture, DisappearedOnlyForTheSameFrameNameAndCase) {
  addDisappearedHotspot(disappear, "Hall", 2);
  addDisappearedHotspot(disappear, "Cellar", 1);
  addDisappearedHotspot(disappear, "hall", 3);
  const std::vector<HotspotSpec> specs(3);
  EXPECT_EQ(table(specs, "Hall"), (std::vector<bool>{true, false, true}));
}

TEST_F(VisibilityFixture, DisappearedWinsOverConditionsThatHold) {
  addDisappearedHotspot(disappear, "Hall", 1);
  EXPECT_EQ(table({conditional({"zero"}, {"one"}), conditional({"zero"}, {"one"})}),
            (std::vector<bool>{false, true}));
}

TEST_F(VisibilityFixture, OldRecordsWithoutOptionalBlocksAreRead) {
  auto a = conditional({"one"}, {});
  a.optionalBlocks = 0;
  auto b = conditional({}, {"one"});
  b.optionalBlocks = 1;
  auto c = conditional({"zero", "one"}, {"one"});  // fails on its second name
  EXPECT_EQ(table({a, b, c, HotspotSpec{}}), (std::vector<bool>{false, true, false, true}));
}

TEST_F(VisibilityFixture, ReadErrorAppliesTheHotspotsBeforeIt) {
  QByteArray bytes = hotspotFileBytes({HotspotSpec{}, conditional({"zero"}, {})});
  bytes.truncate(bytes.lastIndexOf("\"zero\""));
  std::vector<int> applied;
  qm::startup::RecordReader reader(bytes);
  VisibilityContext context{"Hall", &disappear, &variables, {}};
  EXPECT_THROW(evaluateHotspotVisibility(reader, context, [&](int n, bool) { applied.push_back(n); }), qm::VbError);
  EXPECT_EQ(applied, std::vector<int>{1});
}

TEST_F(VisibilityFixture, StoppingTheGameEndsThePass) {
  qm::startup::RecordReader reader(hotspotFileBytes(std::vector<HotspotSpec>(3)));
  int calls = 0;
  VisibilityContext context{"Hall", &disappear, &variables, [&] { return calls >= 1; }};
  evaluateHotspotVisibility(reader, context, [&](int, bool) { ++calls; });
  EXPECT_EQ(calls, 1);
}
