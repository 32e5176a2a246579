#include "ScriptTest.h"

namespace qm::vbs::test {

std::u16string u(const std::string& s) { return fromUtf8(s); }

std::string evalAfter(const std::string& code, const std::string& expression) {
  Engine e;
  RecordingHost host;
  e.setHost(&host);
  e.addCode(u(code));
  Value v = e.eval(u(expression));
  if (v.isNull()) return "Null";
  if (v.isObject()) return v.isNothing() ? "Nothing" : "Object:" + toUtf8(typeName(v));
  if (v.isArray()) return "Array";
  return toUtf8(toString(v));
}

std::string evalText(const std::string& expression) { return evalAfter("", expression); }

std::string typeOf(const std::string& expression) { return evalText("TypeName(" + expression + ")"); }

int errorOf(const std::string& code) {
  Engine e;
  RecordingHost host;
  e.setHost(&host);
  try {
    e.addCode(u(code));
  } catch (const ScriptError& err) {
    return err.number;
  }
  return 0;
}

ScriptError errorDetails(const std::string& code) {
  Engine e;
  RecordingHost host;
  e.setHost(&host);
  try {
    e.addCode(u(code));
  } catch (const ScriptError& err) {
    return err;
  }
  ADD_FAILURE() << "no error from: " << code;
  return ScriptError(0);
}

}  // namespace qm::vbs::test
