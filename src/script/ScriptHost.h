// The script host of the game window: the run engine (rebuilt before every
// run) and the event engine (filled once per game), the object model they are
// given, the game start code, the script timers and the debug commands.
#pragma once

#include <QObject>
#include <QString>
#include <QStringList>
#include <functional>
#include <memory>
#include <optional>
#include <vector>

#include "script/ControlObjects.h"
#include "script/ScriptResult.h"
#include "script/VBScriptActionModule.h"
#include "vbscript/Builtins.h"
#include "vbscript/Engine.h"

namespace qm::engine {
class Game;
}

namespace qm::script {

// The fixed sentences of the host's three error messages.
inline constexpr const char* kResetFailedSentence =
    "Error executing script. Make sure that you are not trying to execute a script while another script is being "
    "executed. The Scripting Engine returned the following error message:";
inline constexpr const char* kRebuildFailedSentence =
    "Error executing script. Make sure that the global variables do not have names that are reserved by the "
    "engine. The Scripting Engine returned the following error message:";
inline constexpr const char* kRunFailedSentence =
    "Error executing script. The Scripting Engine returned the following error message:";

class ScriptHost : public QObject, public vbs::HostServices {
  Q_OBJECT
 public:
  explicit ScriptHost(engine::Game& game);
  ~ScriptHost() override;

  vbs::Engine ScriptControl;   // the run engine
  vbs::Engine ScriptControl2;  // the event engine
  QString GlobalProcedures;

  VBScriptActionModule& VBScriptAction() { return *action_; }
  // One of the game window's own controls or control arrays has that name (any case).
  bool isWindowControlName(const QString& name) const;

  // Game reset, after the plugins and variables are loaded: reads the
  // procedures file and fills the event engine. Also forgets what scripts
  // loaded into the script-only control arrays.
  void PrepareNewGame();

  // Resets the engine and fills it with the procedures, plugin code, the code
  // wrapped in StartupProcedure and the object model. Failures are reported.
  // Failed when the engine could not be reset (a script is still running in
  // it) or the code could not be added (it does not compile): nothing may run
  // then. An object name the engine refuses is reported and the objects after
  // it are missing, but the code is ready: Ok. Code that calls CreateObject
  // where that is not allowed is refused
  // with a warning and replaced by an empty StartupProcedure: Ok, the run
  // that follows does nothing.
  ScriptResult AddCodeToScriptControl(vbs::Engine& engine, const QString& sStartupCode);
  // Runs code in the run engine. A game that is stopping runs nothing and
  // that is no failure.
  ScriptResult ExecuteVBScript(const QString& sText, bool bResetLastClickPosition);
  // The plugins' start code and the project's start-up procedure.
  void ExecuteOnLoadVBScript();

  void SetTimeout(int milliseconds);  // the run engine
  void DisableTimeouts();             // both engines: no limit

  // Debug menu: "Execute VBS code..." and "Edit VBS Procedures...".
  void ExecuteCodeCommand();
  void EditProceduresCommand();

  // A tick of script timer TimerObject(index).
  void TimerObjectTick(int index);

  // Runs a timer's tick, or keeps it for later. A timer that comes due while
  // a script runs (the script waits in a message box, or lets window events
  // run while the inventory slides) cannot start its own run: the run engine
  // is busy. Its tick then runs once that script has ended; so does a tick
  // that comes while the same timer's previous tick has not ended. The ticks
  // a timer misses meanwhile are one. `timer` names the timer.
  void runTick(const QString& timer, std::function<void()> tick);

  // HostServices.
  int msgBox(const std::u16string& prompt, int buttons, const std::u16string& title) override;
  std::optional<std::u16string> inputBox(const std::u16string& prompt, const std::u16string& title,
                                         const std::u16string& defaultText) override;
  vbs::Value createObject(const std::u16string& progId, const std::u16string& serverName) override;
  std::string fileSystemRoot() const override;

 private:
  struct NamedObject {
    QString name;
    vbs::Ref<vbs::Dispatch> object;
    bool addMembers;
  };
  void buildControlObjects();
  void addRemainingObjects(vbs::Engine& engine);
  void showHostError(const char* sentence, const QString& description);
  // Which text an error came from: the global part (procedures and plugins'
  // code), the wrapped script, or a run (its procedure tells which).
  enum class CodePart { None, Global, Startup, Running };
  // The current exception's description, with the line of the author's code
  // it happened on when the engine knows it.
  QString describeFailure(CodePart part, const QString& startupCode) const;
  QString errorPosition(CodePart part, int line, const QString& startupCode) const;
  // Empties both engines (the window is going away).
  void releaseScripts();
  // The work of a script timer's tick.
  void runTimerObject(int index);
  // The engine's code defines a procedure of that name (any case).
  static bool hasProcedure(const vbs::Engine& engine, const QString& name);
  // Asks for the kept ticks to be run from the event loop, once nothing
  // stands in their way any more.
  void queueKeptTicks();
  void runKeptTicks();

  engine::Game& game_;
  vbs::Ref<VBScriptActionModule> action_;
  // The controls part of the object model, in its order (built once).
  std::vector<NamedObject> controls_;
  vbs::Ref<vbs::Dispatch> window_;
  std::vector<std::shared_ptr<PropertyBagArrayHandle>> scriptOnlyArrays_;
  // runTick: the timers whose tick is running, and the ticks kept, in the
  // order they came.
  QStringList ticking_;
  std::vector<std::pair<QString, std::function<void()>>> keptTicks_;
  bool keptTicksQueued_ = false;
};

}  // namespace qm::script
