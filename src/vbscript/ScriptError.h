// The one exception type for script errors.
//
// Contract: anything in the engine or its library that fails throws
// ScriptError(number) (or with its own description). The standard description
// for a number comes from standardDescription(). The engine fills line,
// column and source when the error leaves script code, and routes it to
// On Error Resume Next / the Err object as the language does. Syntax errors
// (numbers 1001..1058) are raised by AddCode with kind Syntax.
#pragma once

#include <cstdint>
#include <exception>
#include <string>
#include <string_view>

namespace qm::vbs {

enum class ErrorKind { Runtime, Syntax };

// Common error numbers.
namespace err {
constexpr int32_t ReturnWithoutGosub = 3;
constexpr int32_t InvalidCall = 5;             // Invalid procedure call or argument
constexpr int32_t Overflow = 6;
constexpr int32_t OutOfMemory = 7;
constexpr int32_t SubscriptOutOfRange = 9;
constexpr int32_t ArrayFixedOrLocked = 10;
constexpr int32_t DivisionByZero = 11;
constexpr int32_t TypeMismatch = 13;
constexpr int32_t OutOfStringSpace = 14;
constexpr int32_t CannotPerformOperation = 17;
constexpr int32_t UserInterrupt = 18;          // a run stopped by its time-out
constexpr int32_t OutOfStackSpace = 28;
constexpr int32_t SubOrFunctionNotDefined = 35;
constexpr int32_t FileNotFound = 53;
constexpr int32_t FileAlreadyExists = 58;
constexpr int32_t PermissionDenied = 70;
constexpr int32_t PathNotFound = 76;
constexpr int32_t ObjectNotSet = 91;           // Object variable not set
constexpr int32_t ForLoopNotInitialized = 92;
constexpr int32_t InvalidUseOfNull = 94;
constexpr int32_t CannotCreateObject = 429;    // ActiveX component can't create object
constexpr int32_t ObjectRequired = 424;
constexpr int32_t NoSuchMember = 438;          // Object doesn't support this property or method
constexpr int32_t WrongArgCount = 450;         // Wrong number of arguments or invalid property assignment
constexpr int32_t NotACollection = 451;
constexpr int32_t NamedArgsNotSupported = 446;
constexpr int32_t VariableUndefined = 500;
constexpr int32_t IllegalAssignment = 501;
constexpr int32_t UnqualifiedReference = 505;  // .name outside any With block
constexpr int32_t ClassNotDefined = 506;
constexpr int32_t ExceptionOccurred = 507;
// Syntax errors.
constexpr int32_t OutOfMemorySyntax = 1001;
constexpr int32_t Syntax = 1002;
constexpr int32_t ExpectedColon = 1003;
constexpr int32_t ExpectedLParen = 1005;
constexpr int32_t ExpectedRParen = 1006;
constexpr int32_t ExpectedRBracket = 1007;
constexpr int32_t ExpectedIdentifier = 1010;
constexpr int32_t ExpectedEquals = 1011;
constexpr int32_t ExpectedIf = 1012;
constexpr int32_t ExpectedTo = 1013;
constexpr int32_t ExpectedEnd = 1014;
constexpr int32_t ExpectedFunction = 1015;
constexpr int32_t ExpectedSub = 1016;
constexpr int32_t ExpectedThen = 1017;
constexpr int32_t ExpectedWend = 1018;
constexpr int32_t ExpectedLoop = 1019;
constexpr int32_t ExpectedNext = 1020;
constexpr int32_t ExpectedCase = 1021;
constexpr int32_t ExpectedSelect = 1022;
constexpr int32_t ExpectedExpression = 1023;
constexpr int32_t ExpectedStatement = 1024;
constexpr int32_t ExpectedEndOfStatement = 1025;
constexpr int32_t ExpectedInteger = 1026;
constexpr int32_t ExpectedWhileOrUntil = 1027;
constexpr int32_t ExpectedWhileUntilOrEnd = 1028;
constexpr int32_t ExpectedWith = 1029;
constexpr int32_t IdentifierTooLong = 1030;
constexpr int32_t InvalidNumber = 1031;
constexpr int32_t InvalidCharacter = 1032;
constexpr int32_t UnterminatedString = 1033;
constexpr int32_t InvalidUseOfMeKeyword = 1037;
constexpr int32_t LoopWithoutDo = 1038;
constexpr int32_t InvalidExitStatement = 1039;
constexpr int32_t InvalidForControl = 1040;
constexpr int32_t NameRedefined = 1041;
constexpr int32_t MustBeFirstStatement = 1042;
constexpr int32_t CannotAssignToNonByVal = 1043;
constexpr int32_t CannotUseParensCallingSub = 1044;
constexpr int32_t ExpectedLiteralConstant = 1045;
constexpr int32_t ExpectedIn = 1046;
constexpr int32_t ExpectedClass = 1047;
constexpr int32_t MustBeDefinedInsideClass = 1048;
constexpr int32_t ExpectedLetSetGet = 1049;
constexpr int32_t ExpectedProperty = 1050;
constexpr int32_t InconsistentArgCount = 1051;
constexpr int32_t MultipleDefault = 1052;
constexpr int32_t ClassInitNoArgs = 1053;
constexpr int32_t PropertyLetSetNeedsArg = 1054;
constexpr int32_t UnexpectedNext = 1055;
constexpr int32_t DefaultOnlyOnPropertyFunctionSub = 1057;
constexpr int32_t DefaultNeedsPublic = 1058;
}  // namespace err

// The language's standard description of an error number ("" if none).
std::u16string standardDescription(int32_t number);

class ScriptError : public std::exception {
 public:
  explicit ScriptError(int32_t number, ErrorKind kind = ErrorKind::Runtime);
  ScriptError(int32_t number, std::u16string description, ErrorKind kind = ErrorKind::Runtime);

  int32_t number;
  std::u16string description;
  // "Microsoft VBScript runtime error", "... compilation error", or what Err.Raise gave.
  std::u16string source;
  ErrorKind kind;
  // 1-based position in the added code text; 0 when not known yet.
  int line = 0;
  int column = 0;
  // The text of the line the error happened on (filled for syntax errors).
  std::u16string lineText;
  // The description names what the error concerns ("Variable is undefined: 'x'"):
  // for the host's message; Err.Description has the standard text.
  bool namesSubject = false;
  // What Err.Raise gave; other errors clear them in the Err object.
  std::u16string helpFile;
  int32_t helpContext = 0;

  const char* what() const noexcept override;

 private:
  mutable std::string what_;
};

// Shorthand: throw ScriptError(number) with its standard description.
[[noreturn]] void raise(int32_t number);
// Throws `number` with its standard description followed by the name it concerns.
[[noreturn]] void raiseNamed(int32_t number, std::u16string_view name);

}  // namespace qm::vbs
