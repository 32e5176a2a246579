// Script engine benchmarks: prints the time of each case.
//   bench_vbscript_engine [repetitions]
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <time.h>

#include "vbscript/Engine.h"

using namespace qm::vbs;

namespace {

// A host object like a game variable: default property Value.
class Counter : public Dispatch {
 public:
  std::u16string typeName() const override { return u"Variable"; }
  DispId findMember(std::u16string_view name) override {
    return equalsNoCase(name, u"Value") ? 0 : DispIdUnknown;
  }
  Value invoke(DispId id, InvokeKind kind, std::span<Value> args) override {
    if (id != 0) raise(err::NoSuchMember);
    if (kind == InvokeKind::PropertyLet || kind == InvokeKind::PropertySet) {
      value = args.back();
      return Value();
    }
    return value;
  }
  Value value = Value(int32_t(0));
};

// CPU time of this process: the machine is shared, so wall-clock times
// would measure the other programs too.
struct CpuClock {
  using duration = std::chrono::nanoseconds;
  static std::chrono::time_point<CpuClock, duration> now() {
    timespec ts;
    clock_gettime(CLOCK_PROCESS_CPUTIME_ID, &ts);
    return std::chrono::time_point<CpuClock, duration>(duration(int64_t(ts.tv_sec) * 1000000000 + ts.tv_nsec));
  }
};

double ms(CpuClock::duration d) { return std::chrono::duration<double, std::milli>(d).count(); }

double timeScript(const std::u16string& code, Counter* host = nullptr) {
  Engine e;
  e.setTimeout(-1);
  if (host) e.addObject(u"MyVar", host, true);
  auto t0 = CpuClock::now();
  e.addCode(code);
  return ms(CpuClock::now() - t0);
}

void report(const char* name, double value, const char* unit, const char* target = "") {
  std::printf("%-44s %10.3f %s %s\n", name, value, unit, target);
}

std::u16string proceduresText(int lines) {
  std::u16string text;
  int n = 0;
  while (n < lines) {
    int k = n / 10;
    text += u"Sub Proc" + fromAscii(std::to_string(k)) + u"(a, b)\r\n";
    text += u"  Dim x, y\r\n";
    text += u"  x = a * 2 + b\r\n";
    text += u"  If x > 10 Then\r\n";
    text += u"    y = \"big\" & x\r\n";
    text += u"  Else\r\n";
    text += u"    y = \"small\" & x\r\n";
    text += u"  End If\r\n";
    text += u"  Action.Log y\r\n";
    text += u"End Sub\r\n";
    n += 10;
  }
  return text;
}

}  // namespace

int main() {
  std::printf("(CPU time of the benchmark process)\n");
  try {
    report("arithmetic loop, 1,000,000 iterations (global)",
           timeScript(u"Dim i, x\r\nx = 0\r\nFor i = 1 To 1000000\r\n  x = x + i * 2 - 1\r\nNext"), "ms",
           "(target < 100 ms)");
    report("arithmetic loop, 1,000,000 iterations (local)",
           timeScript(u"Sub T\r\nDim i, x\r\nx = 0\r\nFor i = 1 To 1000000\r\n  x = x + i * 2 - 1\r\nNext\r\nEnd Sub\r\nT"),
           "ms", "(target < 100 ms)");
    report("string building, 200,000 appends",
           timeScript(u"Dim i, s\r\nFor i = 1 To 200000\r\n  s = s & \"x\"\r\nNext\r\nIf Len(s) <> 200000 Then Err.Raise 5"),
           "ms");
    // The paths every script takes most: number against number, text against text, plain stores.
    report("comparisons and stores, 1,000,000 iterations",
           timeScript(u"Sub T\r\nDim i, n, s, t, a, b, x, y\r\ns = \"apple\" : t = \"banana\" : a = 1.5 : b = 2.5\r\n"
                      u"For i = 1 To 1000000\r\nIf i > 5 Then n = n + 1\r\nIf s < t Then n = n + 1\r\n"
                      u"If a = b Then n = n - 1\r\nx = i\r\ny = s\r\nNext\r\nEnd Sub\r\nT"),
           "ms");
    // A typed answer against numbers: a literal reads the text as a number,
    // a variable meets it as the greater, a text literal meets a number's text.
    report("string against number, 1,000,000 iterations",
           timeScript(u"Sub T\r\nDim i, n, s, code\r\ns = \"1234\" : code = 1234\r\n"
                      u"For i = 1 To 1000000\r\nIf s = 1234 Then n = n + 1\r\nIf s = code Then n = n - 1\r\n"
                      u"If \"5\" = i Then n = n + 1\r\nNext\r\nEnd Sub\r\nT"),
           "ms");
    report("calls and recursion, Fib(25)",
           timeScript(u"Function Fib(n)\r\nIf n < 2 Then\r\nFib = n\r\nElse\r\nFib = Fib(n - 1) + Fib(n - 2)\r\nEnd If\r\n"
                      u"End Function\r\nDim r : r = Fib(25)"),
           "ms");
    report("arrays, fill and sum 1,000,000 elements",
           timeScript(u"Sub T\r\nDim a(), i, s\r\nReDim a(999999)\r\nFor i = 0 To 999999\r\na(i) = i\r\nNext\r\n"
                      u"For i = 0 To 999999\r\ns = s + a(i)\r\nNext\r\nEnd Sub\r\nT"),
           "ms");
    try {
      report("Dictionary, 100,000 adds and lookups",
             timeScript(u"Dim d, i, s\r\nSet d = CreateObject(\"Scripting.Dictionary\")\r\n"
                        u"For i = 1 To 100000\r\nd.Add \"k\" & i, i\r\nNext\r\n"
                        u"For i = 1 To 100000\r\ns = s + d(\"k\" & i)\r\nNext"),
             "ms");
    } catch (const ScriptError& e) {
      std::printf("%-44s skipped: %s\n", "Dictionary", e.what());
    }
    Counter counter;
    counter.addRef();
    report("host property, 1,000,000 reads and writes",
           timeScript(u"Dim i\r\nFor i = 1 To 1000000\r\n  MyVar = MyVar + 1\r\nNext", &counter), "ms");

    // Re-adding a cached 5,000-line procedures text, as the player does before every run.
    class Action : public Dispatch {
     public:
      std::u16string typeName() const override { return u"Action"; }
      DispId findMember(std::u16string_view name) override { return equalsNoCase(name, u"Log") ? 1 : DispIdUnknown; }
      Value invoke(DispId, InvokeKind, std::span<Value>) override { return Value(); }
    } action;
    action.addRef();
    std::u16string text = proceduresText(5000);
    Engine e;
    auto t0 = CpuClock::now();
    e.addObject(u"Action", &action, true);
    e.addCode(text);
    double first = ms(CpuClock::now() - t0);
    report("add 5,000-line procedures text (first time)", first, "ms");
    const int rounds = 200;
    t0 = CpuClock::now();
    for (int i = 0; i < rounds; ++i) {
      e.reset();
      e.addObject(u"Action", &action, true);
      e.addCode(text);
    }
    report("reset + re-add of the cached text", ms(CpuClock::now() - t0) / rounds, "ms",
           "(target < 1 ms)");
  } catch (const ScriptError& e) {
    std::printf("benchmark failed: %s (line %d)\n", e.what(), e.line);
    return 1;
  }
  return 0;
}
