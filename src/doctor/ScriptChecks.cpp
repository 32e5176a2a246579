// Every piece of script compiled by our script engine's compiler, then read
// for the calls the player would refuse or could not serve.
#include <algorithm>

#include "doctor/ActionLibrary.h"
#include "doctor/Checks.h"
#include "doctor/GameFacts.h"
#include "doctor/ScriptCalls.h"
#include "script/components/ComponentRegistry.h"
#include "vbscript/ScriptError.h"
#include "vbscript/compiler/Ast.h"
#include "vbscript/compiler/Bytecode.h"
#include "vbscript/compiler/Parser.h"

namespace qm::doctor {
namespace {

std::u16string toU16(const QString& s) { return std::u16string(reinterpret_cast<const char16_t*>(s.utf16()), s.size()); }
QString fromU16(const std::u16string& s) { return QString::fromUtf16(s.data(), static_cast<qsizetype>(s.size())); }

// What the script host's CreateObject makes: the engine's dictionary and its
// file-system object (confined to the game's folder); every other identifier
// raises "ActiveX component can't create object".
bool isProvidedObject(const QString& progId) {
  return progId.compare(QLatin1String("Scripting.Dictionary"), Qt::CaseInsensitive) == 0 ||
         progId.compare(QLatin1String("Scripting.FileSystemObject"), Qt::CaseInsensitive) == 0;
}

// Code that is not whole is run inside a procedure of its own, as the
// player runs it; its first line is the compiled text's second.
constexpr int kWrappedFirstLine = 2;

struct Compiled {
  std::optional<vbs::ast::Program> program;
  std::optional<vbs::ScriptError> error;
};

Compiled compile(const ScriptPiece& piece) {
  const QString text = piece.whole ? piece.code
                                   : QStringLiteral("Sub StartupProcedure\r\n") + piece.code + QStringLiteral("\r\nEnd Sub");
  Compiled result;
  try {
    vbs::ast::Program program = vbs::parseProgram(toU16(text));
    (void)vbs::compileProgram(program, false);
    result.program = std::move(program);
  } catch (const vbs::ScriptError& e) {
    result.error = e;
  } catch (const std::exception& e) {
    result.error = vbs::ScriptError(vbs::err::Syntax, u"the compiler failed: " + toU16(QString::fromLocal8Bit(e.what())));
  }
  return result;
}

class PieceChecker {
 public:
  PieceChecker(GameFacts& facts, Findings& findings, const ScriptPiece& piece, const QStringList& globalNames)
      : facts_(facts), findings_(findings), piece_(piece), globalNames_(globalNames) {}

  // The line of the code itself (1-based) for a line of the compiled text.
  int codeLine(int compiledLine) const {
    if (piece_.whole) return compiledLine;
    // An error found at the wrapper's closing line belongs to the code's last line.
    const int lines = static_cast<int>(piece_.code.count(u'\n')) + 1;
    return std::clamp(compiledLine - kWrappedFirstLine + 1, 1, lines);
  }
  Place placeOf(int compiledLine) const {
    Place p = piece_.at;
    if (p.line > 0) p.line += codeLine(compiledLine) - 1;
    return p;
  }
  QString lineWord(int compiledLine) const { return QStringLiteral("script line %1").arg(codeLine(compiledLine)); }

  void run() {
    const Compiled compiled = compile(piece_);
    if (compiled.error) {
      const vbs::ScriptError& e = *compiled.error;
      QString description = fromU16(e.description);
      if (description.isEmpty()) description = fromU16(vbs::standardDescription(e.number));
      findings_.error(placeOf(e.line), QStringLiteral("script-error"),
                      QStringLiteral("the script does not compile: %1 (%2)").arg(description, lineWord(e.line)));
      return;
    }
    QStringList own = definedNames(*compiled.program);
    own.removeAll(QStringLiteral("startupprocedure"));
    for (const ScriptCall& call : findScriptCalls(*compiled.program)) {
      const QString lower = call.name.toLower();
      // The game's own procedures of that name win over the library's.
      if (own.contains(lower) || globalNames_.contains(lower)) continue;
      checkArguments(call, lower);
      if (lower == QLatin1String("createobject")) checkCreateObject(call);
      else if (lower == QLatin1String("addcomponent")) checkComponent(call);
      else if (lower == QLatin1String("gotoframe") || lower == QLatin1String("sframetoload")) referFrame(call);
      else if (lower == QLatin1String("createtimedevent")) addTimedEventCode(call);
    }
  }

 private:
  void checkArguments(const ScriptCall& call, const QString& lower) {
    const auto range = actionMemberArguments(lower);
    if (!range || (call.argumentCount >= range->least && call.argumentCount <= range->most)) return;
    const QString wanted = range->least == range->most
                               ? QString::number(range->least)
                               : QStringLiteral("%1 to %2").arg(range->least).arg(range->most);
    findings_.error(placeOf(call.line), QStringLiteral("wrong-argument-count"),
                    QStringLiteral("%1 takes %2 argument%3, not %4 (%5)")
                        .arg(call.name, wanted, range->most == 1 ? QString() : QStringLiteral("s"))
                        .arg(call.argumentCount)
                        .arg(lineWord(call.line)));
  }

  void checkCreateObject(const ScriptCall& call) {
    if (!facts_.allowCreateObject) {
      findings_.warning(placeOf(call.line), QStringLiteral("create-object-disabled"),
                        QStringLiteral("CreateObject is not allowed for this game (AllowCreateObject is not 1 in "
                                       "Config/More): the player runs none of this script (%1)")
                            .arg(lineWord(call.line)));
      return;
    }
    if (call.literals.empty() || !call.literals[0]) return;
    const QString progId = *call.literals[0];
    if (isProvidedObject(progId)) return;
    findings_.error(placeOf(call.line), QStringLiteral("unknown-object"),
                    QStringLiteral("CreateObject(\"%1\") names an object this player does not provide (%2)")
                        .arg(progId, lineWord(call.line)));
  }

  void checkComponent(const ScriptCall& call) {
    if (call.literals.empty() || !call.literals[0]) return;
    const QString progId = *call.literals[0];
    if (script::IsProvidedComponent(progId)) return;
    findings_.error(placeOf(call.line), QStringLiteral("unknown-component"),
                    QStringLiteral("AddComponent \"%1\" names a component this player does not provide (%2)")
                        .arg(progId, lineWord(call.line)));
  }

  void referFrame(const ScriptCall& call) {
    if (call.literals.empty() || !call.literals[0]) return;
    FrameReference ref;
    ref.at = placeOf(call.line);
    ref.fromFrame = piece_.fromFrame;
    ref.target = *call.literals[0];
    ref.fromScript = true;
    facts_.frameReferences.push_back(ref);
  }

  // The code of a timed event, when written out, runs later on its own: it is
  // checked as a piece of its own (it is shorter than this one, so this ends).
  void addTimedEventCode(const ScriptCall& call) {
    if (call.literals.size() < 2 || !call.literals[1] || call.literals[1]->trimmed().isEmpty()) return;
    ScriptPiece timed;
    timed.at = placeOf(call.line);
    timed.at.field = QStringLiteral("%1, timed event of %2").arg(piece_.at.field, lineWord(call.line)).trimmed();
    if (timed.at.field.startsWith(u',')) timed.at.field = timed.at.field.mid(2);
    timed.at.line = 0;
    timed.fromFrame = piece_.fromFrame;
    timed.code = *call.literals[1];
    facts_.scripts.push_back(timed);
  }

  GameFacts& facts_;
  Findings& findings_;
  const ScriptPiece& piece_;
  const QStringList& globalNames_;
};

}  // namespace

void checkScripts(GameFacts& facts, Findings& findings) {
  // The procedures of the game-wide code are there for every other piece.
  QStringList globalNames;
  for (const ScriptPiece& piece : facts.scripts) {
    if (!piece.whole) continue;
    const Compiled compiled = compile(piece);
    if (compiled.program) globalNames << definedNames(*compiled.program);
  }
  // Checking may add pieces (timed-event code) and frame references.
  for (size_t i = 0; i < facts.scripts.size(); ++i) {
    const ScriptPiece piece = facts.scripts[i];
    PieceChecker(facts, findings, piece, globalNames).run();
  }
}

}  // namespace qm::doctor
