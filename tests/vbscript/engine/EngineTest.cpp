// The engine surface a host uses: objects, code, runs, time-out, reset.
#include <chrono>
#include <thread>

#include "ScriptTest.h"
#include "vbscript/TimeLimit.h"

namespace qm::vbs::test {
namespace {

// A game variable: its default property is Value.
class Variable : public Dispatch {
 public:
  std::u16string typeName() const override { return u"ClassVariable"; }
  DispId findMember(std::u16string_view name) override {
    static constexpr MemberEntry table[] = {{u"Value", 0}, {u"Name", 1}};
    return findInTable(table, name);
  }
  Value invoke(DispId id, InvokeKind kind, std::span<Value> args) override {
    if (id == 1) return Value(u"var");
    if (kind == InvokeKind::PropertyLet) {
      checkArgCount(args, 1, 1);
      value = args[0];
      ++writes;
      return Value();
    }
    return value;
  }
  Value value = Value(int32_t(0));
  int writes = 0;
};

// An action library: methods with optional and ByRef arguments.
class Actions : public Dispatch {
 public:
  std::u16string typeName() const override { return u"Actions"; }
  DispId findMember(std::u16string_view name) override {
    static constexpr MemberEntry table[] = {{u"GoToFrame", 1}, {u"Swap", 2}, {u"Greeting", 3}, {u"Items", 4},
                                            {u"Fail", 5}, {u"Reentrant", 6}};
    return findInTable(table, name);
  }
  bool hasDefaultMember() const override { return false; }
  Value invoke(DispId id, InvokeKind kind, std::span<Value> args) override {
    switch (id) {
      case 1: {
        checkArgCount(args, 1, 2);
        frame = toString(args[0]);
        Value dflt(std::u16string(u"none"));
        transition = toString(argOr(args, 1, dflt));
        return Value();
      }
      case 2: {
        checkArgCount(args, 2, 2);
        std::swap(args[0], args[1]);
        return Value();
      }
      case 3:
        if (kind == InvokeKind::PropertyLet) { greeting = toString(args[0]); return Value(); }
        return Value(greeting);
      case 4:
        // Items(i) applies the index to the collection's default member.
        if (!args.empty()) return items->invoke(DispIdValue, InvokeKind::PropertyGet, args);
        return Value(items.get());
      case 5: throw ScriptError(1234, u"host failure");
      case 6:
        if (engine) engine->reset();
        return Value();
      default: raise(err::NoSuchMember);
    }
  }
  std::u16string frame, transition, greeting = u"hello";
  Ref<Dispatch> items;
  Engine* engine = nullptr;
};

class Items : public Dispatch {
 public:
  std::u16string typeName() const override { return u"Items"; }
  DispId findMember(std::u16string_view name) override { return equalsNoCase(name, u"Count") ? 1 : DispIdUnknown; }
  Value invoke(DispId id, InvokeKind, std::span<Value> args) override {
    if (id == 1) return Value(int32_t(3));
    checkArgCount(args, 1, 1);
    return Value(u"item" + toString(args[0]));
  }
  std::unique_ptr<Enumerator> newEnum() override {
    struct E : Enumerator {
      int i = 0;
      bool next(Value& out) override {
        if (i >= 3) return false;
        out = Value(int32_t(++i * 10));
        return true;
      }
    };
    return std::make_unique<E>();
  }
};

class EngineTest : public ::testing::Test {
 protected:
  void SetUp() override {
    var.addRef();
    actions.addRef();
    actions.items = Ref<Dispatch>(new Items);
    engine.setHost(&host);
    engine.addObject(u"Action", &actions, true);
    engine.addObject(u"Score", &var, true);
  }
  std::string eval(const std::string& expr) { return toUtf8(toString(engine.eval(u(expr)))); }

  RecordingHost host;
  Variable var;
  Actions actions;
  Engine engine;
};

TEST_F(EngineTest, AssigningAnObjectNameUsesItsDefaultProperty) {
  engine.addCode(u"Score = 5\r\nScore = Score + 1");
  EXPECT_EQ(toString(var.value), u"6");
  EXPECT_EQ(var.writes, 2);
  EXPECT_EQ(eval("Score * 2"), "12");
  EXPECT_EQ(eval("Score.Value"), "6");
  EXPECT_EQ(eval("TypeName(Score)"), "ClassVariable");
}

TEST_F(EngineTest, AddMembersMakesMethodsGlobal) {
  engine.addCode(u"GoToFrame \"Hall\", 3\r\nAction.Greeting = \"hi\"\r\ng = Greeting");
  EXPECT_EQ(actions.frame, u"Hall");
  EXPECT_EQ(actions.transition, u"3");
  EXPECT_EQ(eval("g"), "hi");
  engine.addCode(u"Action.GoToFrame \"Cellar\"");
  EXPECT_EQ(actions.frame, u"Cellar");
  EXPECT_EQ(actions.transition, u"none");
}

TEST_F(EngineTest, HostMethodsWriteBackVariablesAndArrayElements) {
  engine.addCode(u"a = 1 : b = 2\r\nSwap a, b\r\nDim arr(1)\r\narr(0) = \"x\" : arr(1) = \"y\"\r\nSwap arr(0), arr(1)\r\n"
                 u"c = 1\r\nSwap (c), b");
  EXPECT_EQ(eval("a & b & arr(0) & arr(1) & c"), "21yx1");
}

TEST_F(EngineTest, HostCollectionsEnumerateAndIndex) {
  engine.addCode(u"For Each v In Action.Items\r\ns = s + v\r\nNext\r\nt = Action.Items(2)");
  EXPECT_EQ(eval("s & t"), "60item2");
}

TEST_F(EngineTest, HostErrorsReachScriptsAndCanBeHandled) {
  EXPECT_EQ(errorOf("x = 1"), 0);
  try {
    engine.addCode(u"Action.Fail");
    FAIL();
  } catch (const ScriptError& e) {
    EXPECT_EQ(e.number, 1234);
    EXPECT_EQ(e.description, u"host failure");
    EXPECT_EQ(e.line, 1);
  }
  engine.addCode(u"On Error Resume Next\r\nFail\r\nn = Err.Number");
  EXPECT_EQ(eval("n"), "1234");
  try {
    engine.addCode(u"Action.NoSuchThing");
    FAIL();
  } catch (const ScriptError& e) {
    EXPECT_EQ(e.number, err::NoSuchMember);
  }
}

TEST_F(EngineTest, RunCallsProceduresWithAnArgument) {
  engine.addCode(u"Function Twice(n)\r\nTwice = n * 2\r\nEnd Function\r\nSub StartupProcedure\r\nScore = 42\r\nEnd Sub");
  Value arg(int32_t(21));
  EXPECT_EQ(toString(engine.run(u"twice", std::span<const Value>(&arg, 1))), u"42");
  engine.run(u"StartupProcedure");
  EXPECT_EQ(toString(var.value), u"42");
  EXPECT_THROW(engine.run(u"Missing"), ScriptError);
  try {
    engine.run(u"Twice");
    FAIL();
  } catch (const ScriptError& e) {
    EXPECT_EQ(e.number, err::WrongArgCount);
  }
}

TEST_F(EngineTest, ProceduresListsDefinedProcedures) {
  engine.addCode(u"Sub Alpha\r\nEnd Sub\r\nFunction Beta(a, b)\r\nEnd Function\r\nClass C\r\nSub Hidden\r\nEnd Sub\r\nEnd Class");
  auto procs = engine.procedures();
  ASSERT_EQ(procs.size(), 2u);
  EXPECT_EQ(procs[0].name, u"Alpha");
  EXPECT_EQ(procs[1].name, u"Beta");
  EXPECT_EQ(procs[1].numArgs, 2);
  EXPECT_TRUE(procs[1].hasReturnValue);
}

TEST_F(EngineTest, ResetDiscardsCodeAndObjects) {
  engine.addCode(u"x = 5\r\nSub S\r\nEnd Sub");
  engine.reset();
  EXPECT_TRUE(engine.procedures().empty());
  EXPECT_EQ(eval("IsEmpty(x)"), "True");
  EXPECT_EQ(eval("IsEmpty(Score)"), "True");
  EXPECT_THROW(engine.addCode(u"Score.Value = 2"), ScriptError);
  engine.reset();
  engine.addObject(u"Score", &var, true);
  engine.addCode(u"Score = 9");
  EXPECT_EQ(toString(var.value), u"9");
}

TEST_F(EngineTest, ResetFailsWhileRunning) {
  actions.engine = &engine;
  engine.addCode(u"On Error Resume Next\r\nReentrant\r\nn = Err.Number");
  EXPECT_EQ(eval("n"), std::to_string(err::CannotPerformOperation));
}

TEST_F(EngineTest, ObjectNamesMustBeValidAndUnique) {
  EXPECT_THROW(engine.addObject(u"Score", &var, false), ScriptError);
  EXPECT_THROW(engine.addObject(u"If", &var, false), ScriptError);
  EXPECT_THROW(engine.addObject(u"two words", &var, false), ScriptError);
}

TEST_F(EngineTest, TimeoutStopsEndlessLoops) {
  engine.setTimeout(100);
  auto t0 = std::chrono::steady_clock::now();
  try {
    engine.addCode(u"On Error Resume Next\r\nDo\r\nx = x + 1\r\nLoop");
    FAIL();
  } catch (const ScriptError& e) {
    EXPECT_EQ(e.number, err::UserInterrupt);
  }
  EXPECT_LT(std::chrono::steady_clock::now() - t0, std::chrono::seconds(5));
  // The engine keeps working after a time-out.
  engine.addCode(u"y = 1");
  EXPECT_EQ(eval("y"), "1");
}

TEST(EngineTimeout, TimeSpentInDialogsDoesNotCount) {
  class SlowHost : public HostServices {
   public:
    int msgBox(const std::u16string&, int, const std::u16string&) override {
      std::this_thread::sleep_for(std::chrono::milliseconds(150));
      return 1;
    }
  } host;
  Engine e;
  e.setHost(&host);
  e.setTimeout(100);
  EXPECT_NO_THROW(e.addCode(u"MsgBox \"a\"\r\nMsgBox \"b\"\r\nFor i = 1 To 1000\r\nNext"));
}

// The error number of running `code` in `e` (0 when none).
int errorOf(Engine& e, const std::u16string& code) {
  try {
    e.addCode(code);
  } catch (const ScriptError& err) {
    return err.number;
  }
  return 0;
}

// The limit holds inside built-ins and object methods: only boxes and the
// host's deliberate waits (PauseTimeLimit) are left out.
int iterationsBeforeTimeout(Engine& e, const std::u16string& code) {
  e.setTimeout(100);
  try {
    e.addCode(code);
    ADD_FAILURE() << "no time-out";
  } catch (const ScriptError& err) {
    EXPECT_EQ(err.number, err::UserInterrupt);
  }
  return toInt32(e.eval(u"n"));
}

TEST(EngineTimeout, LargeStringBuiltinsSeeTheClock) {
  Engine e;
  // A few thousand instructions of huge strings once ran for many seconds unchecked.
  int n = iterationsBeforeTimeout(e, u"On Error Resume Next\r\nDo\r\nn = n + 1\r\ns = Space(3000000) & n\r\nLoop");
  EXPECT_GT(n, 0);
  EXPECT_LT(n, 1000);
}

TEST(EngineTimeout, ObjectMethodsCountTowardsTheLimit) {
  Engine e;
  int n = iterationsBeforeTimeout(
      e, u"Set re = New RegExp : re.Pattern = \"z\" : t = String(300000, \"a\")\r\nDo\r\nn = n + 1\r\nr = re.Test(t)\r\nLoop");
  EXPECT_GT(n, 0);
  EXPECT_LT(n, 100000);
}

TEST(EngineTimeout, HostPausesLeaveTheirTimeOut) {
  class Waiter : public Dispatch {
   public:
    std::u16string typeName() const override { return u"Waiter"; }
    DispId findMember(std::u16string_view) override { return 1; }
    Value invoke(DispId, InvokeKind, std::span<Value>) override {
      PauseTimeLimit pause;
      PauseTimeLimit nested;  // counts once
      std::this_thread::sleep_for(std::chrono::milliseconds(150));
      return Value();
    }
  } waiter;
  waiter.addRef();
  Engine e;
  e.addObject(u"Waiter", &waiter, false);
  e.setTimeout(100);
  EXPECT_NO_THROW(e.addCode(u"Waiter.Wait\r\nWaiter.Wait\r\nFor i = 1 To 1000\r\nNext"));
}

TEST(EngineMemory, ScriptsStopAtTheEnginesMemoryBudget) {
  Engine e;
  EXPECT_EQ(e.memoryLimit(), int64_t(512) << 20);
  e.setMemoryLimit(int64_t(16) << 20);
  // A thousand 60-million-character strings once went on until the machine swapped.
  EXPECT_EQ(errorOf(e, u"Dim a(1000)\r\nFor i = 0 To 1000\r\na(i) = Space(1000000)\r\nNext"), err::OutOfMemory);
  EXPECT_LT(toInt32(e.eval(u"i")), 16);
  // What is let go is given back: the same work fits again.
  EXPECT_EQ(errorOf(e, u"Erase a\r\nDim b(3)\r\nFor j = 0 To 3\r\nb(j) = Space(1000000)\r\nNext"), 0);
  // Strings grown in place are charged too.
  EXPECT_EQ(errorOf(e, u"Do\r\ns = s & Space(100000)\r\nLoop"), err::OutOfMemory);
  EXPECT_EQ(errorOf(e, u"On Error Resume Next\r\nReDim big(4000000)\r\nn = Err.Number"), 0);
  EXPECT_EQ(toInt32(e.eval(u"n")), err::OutOfMemory);
}

TEST(EngineMemory, HugeArraySizesAreOutOfMemory) {
  Engine e;
  EXPECT_EQ(errorOf(e, u"ReDim a(2147483647)"), err::OutOfMemory);
  EXPECT_EQ(errorOf(e, u"ReDim a(65535, 65535)"), err::OutOfMemory);
  EXPECT_EQ(errorOf(e, u"ReDim a(10)\r\na(10) = 1"), 0);
}

TEST_F(EngineTest, TimeoutMinusOneMeansNoLimit) {
  engine.setTimeout(-1);
  EXPECT_EQ(engine.timeout(), -1);
  engine.addCode(u"For i = 1 To 200000\r\nNext");
}

TEST_F(EngineTest, HugeStringsEndWithAnError) {
  try {
    engine.addCode(u"s = \"x\"\r\nDo\r\ns = s & s\r\nLoop");
    FAIL();
  } catch (const ScriptError& e) {
    EXPECT_EQ(e.number, err::OutOfStringSpace);
  }
}

TEST_F(EngineTest, LongChainsOfObjectsAndNestedArraysAreFreedWithoutRecursion) {
  engine.setTimeout(-1);
  engine.addCode(u"Class Link\r\nPublic NextLink\r\nEnd Class\r\nDim head\r\nSet head = Nothing\r\n"
                 u"For i = 1 To 300000\r\nSet n = New Link\r\nSet n.NextLink = head\r\nSet head = n\r\nNext\r\n"
                 u"Set n = Nothing\r\nSet head = Nothing\r\n"
                 u"a = Empty\r\nFor i = 1 To 300000\r\na = Array(a)\r\nNext\r\na = 0");
  EXPECT_EQ(eval("a"), "0");
}

TEST_F(EngineTest, ReaddingTheSameTextGivesFreshState) {
  std::u16string text = u"Dim counter\r\ncounter = counter + 1\r\nSub Show\r\nEnd Sub";
  for (int i = 0; i < 3; ++i) {
    engine.reset();
    engine.addCode(text);
    EXPECT_EQ(eval("counter"), "1");
  }
}

TEST_F(EngineTest, MessageBoxesGoToTheHost) {
  engine.addCode(u"r = MsgBox(\"Hello\", vbOKCancel)");
  ASSERT_EQ(host.messages.size(), 1u);
  EXPECT_EQ(host.messages[0], "Hello");
  EXPECT_EQ(eval("r"), "1");
}

TEST(EngineLifetime, ObjectsOutlivingTheEngineAreSafe) {
  Value kept;
  {
    Engine e;
    e.addCode(u"Class K\r\nPublic V\r\nSub Class_Terminate\r\nV = 0\r\nEnd Sub\r\nEnd Class\r\nSet obj = New K\r\nobj.V = 3");
    kept = e.eval(u"obj");
  }
  ASSERT_TRUE(kept.isObject());
  EXPECT_THROW(kept.asObject()->invoke(1, InvokeKind::PropertyGet, {}), ScriptError);
  kept.clear();
}

TEST(EngineHostCalls, ScriptObjectsCanBeCalledFromTheHost) {
  Engine e;
  e.addCode(u"Class K\r\nPublic Function Add(a, b)\r\nAdd = a + b\r\nb = 0\r\nEnd Function\r\nEnd Class\r\nSet obj = New K");
  Value k = e.eval(u"obj");
  Dispatch* d = k.asObject();
  DispId id = d->findMember(u"add");
  ASSERT_NE(id, DispIdUnknown);
  Value args[2] = {Value(int32_t(2)), Value(int32_t(3))};
  EXPECT_EQ(toString(d->invoke(id, InvokeKind::Method, args)), u"5");
  EXPECT_EQ(toString(args[1]), u"0");  // ByRef parameter written back.
}

// The host may set any property of a script object; it gets the script's own
// rules: Set wants an object, Let takes an object's default value.
TEST(EngineHostCalls, HostStoresIntoScriptFieldsFollowTheScriptsRules) {
  Engine e;
  e.addCode(u"Class K\r\nPublic F\r\nPublic Default Property Get V : V = 7 : End Property\r\nEnd Class\r\n"
            u"Set obj = New K\r\nSet other = New K");
  Value k = e.eval(u"obj");
  Dispatch* d = k.asObject();
  DispId field = d->findMember(u"F");
  ASSERT_NE(field, DispIdUnknown);
  Value number[1] = {Value(int32_t(5))};
  try {
    d->invoke(field, InvokeKind::PropertySet, number);
    ADD_FAILURE() << "Set of a number into a field";
  } catch (const ScriptError& error) {
    EXPECT_EQ(error.number, err::ObjectRequired);
  }
  Value object[1] = {e.eval(u"other")};
  d->invoke(field, InvokeKind::PropertySet, object);
  EXPECT_EQ(toString(e.eval(u"TypeName(obj.F)")), u"K");
  d->invoke(field, InvokeKind::PropertyLet, object);
  EXPECT_EQ(toString(e.eval(u"TypeName(obj.F)")), u"Integer");
  // DispIdValue names the class's Default member.
  EXPECT_EQ(toString(d->invoke(DispIdValue, InvokeKind::PropertyGet, {})), u"7");
}

}  // namespace
}  // namespace qm::vbs::test
