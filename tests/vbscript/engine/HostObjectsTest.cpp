// Host objects seen through the dispatch interface: member names, default
// members, arguments, and the order in which global names are found.
#include "ScriptTest.h"

namespace qm::vbs::test {
namespace {

// Records every call it receives.
class Recorder : public Dispatch {
 public:
  std::u16string typeName() const override { return u"Recorder"; }
  DispId findMember(std::u16string_view name) override {
    ++lookups;
    static constexpr MemberEntry table[] = {{u"Item", 0}, {u"Visible", 1}, {u"Move", 2}, {u"Count", 3}};
    return findInTable(table, name);
  }
  const void* classKey() const override { return &kKey; }
  Value invoke(DispId id, InvokeKind kind, std::span<Value> args) override {
    std::u16string line = fromAscii(std::to_string(id)) + u":" + fromAscii(std::to_string(int(kind))) + u":";
    for (const auto& a : args)
      line += (a.isMissing() ? u"<missing>" : a.isObject() ? u"<object>" : toString(a)) + u",";
    calls.push_back(toUtf8(line));
    if (id == 3) return Value(int32_t(2));
    if (id == 0 && kind == InvokeKind::PropertyGet) return Value(u"item");
    return Value();
  }
  std::vector<std::string> calls;
  int lookups = 0;
  static inline int kKey = 0;
};

class HostObjects : public ::testing::Test {
 protected:
  void SetUp() override {
    rec.addRef();
    engine.addObject(u"Obj", &rec, false);
  }
  Recorder rec;
  Engine engine;
};

TEST_F(HostObjects, PropertyKindsAndArguments) {
  engine.addCode(u"Obj.Visible = True\r\nx = Obj.Visible\r\nObj.Move 1, , 3\r\nObj.Move(5)\r\nObj(2) = \"v\"\r\ny = Obj(7)");
  std::vector<std::string> expected = {"1:4:True,", "1:2:", "2:1:1,<missing>,3,", "2:1:5,", "0:4:2,v,", "0:2:7,"};
  EXPECT_EQ(rec.calls, expected);
  EXPECT_EQ(toString(engine.eval(u"y")), u"item");
}

TEST_F(HostObjects, MemberIdsAreCachedPerCallSite) {
  engine.addCode(u"For i = 1 To 50\r\nx = Obj.Count\r\nNext");
  EXPECT_LE(rec.lookups, 2);
  EXPECT_EQ(rec.calls.size(), 50u);
}

TEST_F(HostObjects, ObjectsPassedToHostMethodsStayObjects) {
  engine.addCode(u"Obj.Move Obj\r\nObj.Move (Obj)");
  std::vector<std::string> expected = {"2:1:<object>,", "2:1:<object>,"};
  EXPECT_EQ(rec.calls, expected);
}

TEST_F(HostObjects, UnknownMembersRaise438WithTheName) {
  try {
    engine.addCode(u"Obj.Jump");
    FAIL();
  } catch (const ScriptError& e) {
    EXPECT_EQ(e.number, err::NoSuchMember);
    EXPECT_NE(e.description.find(u"Jump"), std::u16string::npos);
  }
}

TEST_F(HostObjects, ScriptNamesComeBeforeAddedMembers) {
  Recorder globals;
  globals.addRef();
  engine.addObject(u"G", &globals, true);
  engine.addCode(u"Function Count\r\nCount = 99\r\nEnd Function\r\nv = Visible\r\nc = Count");
  EXPECT_EQ(toString(engine.eval(u"c")), u"99");
  EXPECT_EQ(globals.calls.size(), 1u);  // Visible read as a global member
}

TEST_F(HostObjects, NothingAndNonObjectsAreRejected) {
  EXPECT_EQ(errorOf("Set o = Nothing\r\no.Visible = 1"), err::ObjectRequired);
  EXPECT_EQ(errorOf("o = 5\r\no.Visible = 1"), err::ObjectRequired);
  EXPECT_EQ(errorOf("Set o = Nothing\r\nx = o + 1"), err::ObjectNotSet);
}

}  // namespace
}  // namespace qm::vbs::test
