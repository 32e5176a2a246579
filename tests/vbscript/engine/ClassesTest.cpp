// Script classes: members, properties, defaults, initialisation and termination.
#include "ScriptTest.h"

namespace qm::vbs::test {
namespace {

const char* kAccount =
    "Class Account\r\n"
    "  Private mBalance\r\n"
    "  Public Owner\r\n"
    "  Private Sub Class_Initialize\r\n    mBalance = 100\r\n  End Sub\r\n"
    "  Public Default Property Get Balance\r\n    Balance = mBalance\r\n  End Property\r\n"
    "  Public Property Let Balance(v)\r\n    If v < 0 Then Err.Raise 5\r\n    mBalance = v\r\n  End Property\r\n"
    "  Public Property Get Partner\r\n    Set Partner = mPartner\r\n  End Property\r\n"
    "  Public Property Set Partner(o)\r\n    Set mPartner = o\r\n  End Property\r\n"
    "  Private mPartner\r\n"
    "  Public Function Deposit(n)\r\n    mBalance = mBalance + n\r\n    Deposit = Me.Balance\r\n  End Function\r\n"
    "  Sub Double_()\r\n    Balance = Balance * 2\r\n  End Sub\r\n"
    "End Class\r\n";

TEST(Classes, PropertiesFieldsAndMethods) {
  std::string code = std::string(kAccount) + "Set a = New Account\r\na.Owner = \"Ann\"\r\na.Balance = 5\r\nx = a.Deposit(10)\r\n";
  EXPECT_EQ(evalAfter(code, "x & a.Owner & a.Balance"), "15Ann15");
  EXPECT_EQ(evalAfter(code + "a.Double_", "a.Balance"), "30");
  EXPECT_EQ(evalAfter(code, "TypeName(a)"), "Account");
}

TEST(Classes, DefaultPropertyIsUsedForValues) {
  std::string code = std::string(kAccount) + "Set a = New Account\r\n";
  EXPECT_EQ(evalAfter(code, "a + 1"), "101");
  EXPECT_EQ(evalAfter(code + "v = a", "TypeName(v) & v"), "Integer100");
  EXPECT_EQ(evalAfter(code, "a = 100"), "True");
}

TEST(Classes, PropertySetStoresObjects) {
  std::string code = std::string(kAccount) + "Set a = New Account\r\nSet b = New Account\r\nSet a.Partner = b\r\n";
  EXPECT_EQ(evalAfter(code, "a.Partner Is b"), "True");
  EXPECT_EQ(errorOf(std::string(kAccount) + "Set a = New Account\r\nSet a.Partner = 5"), err::ObjectRequired);
}

TEST(Classes, PrivateMembersAreHiddenOutside) {
  EXPECT_EQ(errorOf(std::string(kAccount) + "Set a = New Account\r\nx = a.mBalance"), err::NoSuchMember);
  EXPECT_EQ(errorOf(std::string(kAccount) + "Set a = New Account\r\nx = a.NoSuch"), err::NoSuchMember);
}

TEST(Classes, ErrorsInsidePropertiesReachTheCaller) {
  EXPECT_EQ(errorOf(std::string(kAccount) + "Set a = New Account\r\na.Balance = -1"), err::InvalidCall);
}

TEST(Classes, TerminateRunsOnLastRelease) {
  std::string code =
      "Dim log\r\nClass T\r\nPublic Name\r\nSub Class_Initialize\r\nlog = log & \"+\"\r\nEnd Sub\r\n"
      "Sub Class_Terminate\r\nlog = log & \"-\" & Name\r\nEnd Sub\r\nEnd Class\r\n";
  EXPECT_EQ(evalAfter(code + "Set a = New T\r\na.Name = \"a\"\r\nSet b = a\r\nSet a = Nothing\r\nlog = log & \"|\"\r\n"
                             "Set b = Nothing\r\nlog = log & \"|\"",
                      "log"),
            "+|-a|");
  EXPECT_EQ(evalAfter(code + "Sub S\r\nDim t\r\nSet t = New T\r\nt.Name = \"local\"\r\nEnd Sub\r\nS\r\nlog = log & \"!\"", "log"),
            "+-local!");
}

TEST(Classes, TerminateRunsOnResetAndMayTouchGlobals) {
  Engine e;
  e.addCode(u"Class T\r\nSub Class_Terminate\r\nfreshGlobal = 1\r\ncount = count + 1\r\nEnd Sub\r\nEnd Class\r\n"
            u"Dim count\r\nSet a = New T\r\nSet b = New T");
  EXPECT_NO_THROW(e.reset());
  EXPECT_TRUE(e.eval(u"IsEmpty(count)").asBool());
}

TEST(Classes, MeAndUnqualifiedMembers) {
  std::string code =
      "Class N\r\nPublic V\r\nFunction Self\r\nSet Self = Me\r\nEnd Function\r\nSub SetV(x)\r\nV = x\r\nEnd Sub\r\nEnd Class\r\n"
      "Set obj = New N\r\nobj.SetV 3\r\n";
  EXPECT_EQ(evalAfter(code, "obj.Self Is obj"), "True");
  EXPECT_EQ(evalAfter(code, "obj.V"), "3");
}

TEST(Classes, ArrayFieldsAndIndexedProperties) {
  std::string code =
      "Class Grid\r\nPublic Cells(2)\r\nPrivate mItems\r\nSub Class_Initialize\r\nmItems = Array(\"a\", \"b\")\r\nEnd Sub\r\n"
      "Property Get Item(i)\r\nItem = mItems(i)\r\nEnd Property\r\n"
      "Property Let Item(i, v)\r\nmItems(i) = v\r\nEnd Property\r\nEnd Class\r\n"
      "Set g = New Grid\r\ng.Cells(1) = 5\r\ng.Item(1) = \"z\"\r\n";
  EXPECT_EQ(evalAfter(code, "g.Cells(1) & g.Item(0) & g.Item(1)"), "5az");
}

// An object subscript's default value is script code that may empty the
// array being indexed: the array is looked at only after its subscripts.
TEST(Classes, AnArrayEmptiedByItsOwnSubscriptIsNoLongerIndexed) {
  std::string cls =
      "Class C\r\nPrivate arr\r\nSub Class_Initialize : arr = Array(1, 2, 3) : End Sub\r\n"
      "Public Default Property Get V : arr = Empty : V = 1 : End Property\r\n"
      "Function Read : Read = arr(Me) : End Function\r\n"
      "Sub Write : arr(Me) = 5 : End Sub\r\n"
      "Sub Pass : Inc arr(Me) : End Sub\r\n"
      "End Class\r\nSub Inc(v) : v = v + 1 : End Sub\r\nSet o = New C\r\n";
  EXPECT_EQ(errorOf(cls + "x = o.Read"), err::TypeMismatch);
  EXPECT_EQ(errorOf(cls + "o.Write"), err::TypeMismatch);
  EXPECT_EQ(errorOf(cls + "o.Pass"), err::TypeMismatch);
  // The same through a parameter that refers to a global array.
  std::string global =
      "g = Array(String(100, \"a\"), 2)\r\nClass D\r\nPublic Default Property Get V : g = Empty : V = 0 : "
      "End Property\r\nEnd Class\r\nSub S(a, o) : x = a(o) : End Sub\r\n";
  EXPECT_EQ(errorOf(global + "S g, New D"), err::TypeMismatch);
  // A subscript that leaves the array alone reads it as usual.
  EXPECT_EQ(evalAfter("Class K\r\nPublic Default Property Get V : V = 1 : End Property\r\nEnd Class\r\n"
                      "a = Array(7, 8)\r\nSet obj = New K",
                      "a(obj)"),
            "8");
}

TEST(Classes, UndefinedClassIsAnError) {
  EXPECT_EQ(errorOf("Set x = New Missing"), err::ClassNotDefined);
  EXPECT_EQ(errorOf("Class A\r\nPublic Default Property Get X\r\nEnd Property\r\n"
                    "Public Default Function Y\r\nEnd Function\r\nEnd Class"),
            err::MultipleDefault);
  EXPECT_EQ(errorOf("Class A\r\nSub Class_Initialize(x)\r\nEnd Sub\r\nEnd Class"), err::ClassInitNoArgs);
}

TEST(Classes, SetRequiresAnObject) {
  EXPECT_EQ(errorOf("Set x = 5"), err::ObjectRequired);
  EXPECT_EQ(errorOf("Set x = Nothing\r\ny = x.Foo"), err::ObjectRequired);
  EXPECT_EQ(errorOf("x = Nothing"), err::ObjectNotSet);
}

}  // namespace
}  // namespace qm::vbs::test

namespace qm::vbs::test {
namespace {

TEST(ClassesConformance, PropertyLetReceivesAnObjectWithoutDefault) {
  EXPECT_EQ(evalAfter("Class Empty2\r\nEnd Class\r\nClass Holder\r\nPublic got\r\n"
                      "Public Property Let objProp(v) : got = TypeName(v) : End Property\r\nEnd Class\r\n"
                      "Set o1 = New Holder : Set o2 = New Empty2 : o1.objProp = o2",
                      "o1.got"),
            "Empty2");
}

TEST(ClassesConformance, PropertyLetReceivesAnObjectWithADefaultAsItIs) {
  const std::string classes =
      "Class WithDefault\r\nPublic Default Property Get Value : Value = 42 : End Property\r\nEnd Class\r\n"
      "Class Holder\r\nPublic got, plain\r\n"
      "Public Property Let objProp(v) : got = TypeName(v) : End Property\r\nEnd Class\r\n"
      "Set x = New Holder : Set y = New WithDefault\r\n";
  EXPECT_EQ(evalAfter(classes + "x.objProp = y", "x.got"), "WithDefault");
  // A public variable stores the default value.
  EXPECT_EQ(evalAfter(classes + "x.plain = y", "TypeName(x.plain) & x.plain"), "Integer42");
}

TEST(ClassesConformance, IndexingAScalarPublicVariableIsNoMember) {
  const std::string cls = "Class P\r\nPublic publicProp, arr(2)\r\nEnd Class\r\nSet obj = New P : obj.publicProp = 1\r\n";
  EXPECT_EQ(errorOf(cls + "obj.publicProp(0) = 5"), err::NoSuchMember);
  EXPECT_EQ(errorOf(cls + "x = obj.publicProp(0)"), err::NoSuchMember);
  EXPECT_EQ(evalAfter(cls + "obj.arr(1) = 5", "obj.arr(1) & obj.publicProp"), "51");
}

TEST(ClassesConformance, NewOfAnUnknownClassUnderOptionExplicit) {
  EXPECT_EQ(errorOf("Option Explicit\r\nDim o\r\nSet o = New NoSuchClass"), err::VariableUndefined);
  EXPECT_EQ(errorOf("Set o = New NoSuchClass"), err::ClassNotDefined);
  // A declared variable is no class.
  EXPECT_EQ(errorOf("Option Explicit\r\nDim notAClass, o\r\nSet o = New notAClass"), err::ClassNotDefined);
  EXPECT_EQ(errorOf("Option Explicit\r\nSub T\r\nDim notAClass, o\r\nSet o = New notAClass\r\nEnd Sub\r\nT"),
            err::ClassNotDefined);
  EXPECT_EQ(errorOf("Dim notAClass\r\nSet o = New notAClass"), err::ClassNotDefined);
}

}  // namespace
}  // namespace qm::vbs::test
