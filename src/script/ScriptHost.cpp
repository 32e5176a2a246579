#include "script/ScriptHost.h"

#include <QPointer>

#include <cstdio>
#include <new>
#include <tuple>

#include "engine/Game.h"
#include "script/TimedEvents.h"
#include "logic/FrameHistoryRules.h"
#include "logic/GameLogic.h"
#include "platform/DialogService.h"
#include "platform/FileResolver.h"
#include "platform/NativeName.h"
#include "script/AdditionalComponents.h"
#include "script/FileSystemGuard.h"
#include "script/GlobalProcedures.h"
#include "script/Plugins.h"
#include "script/SystemObjects.h"
#include "script/VariableObjects.h"
#include "script/WindowObject.h"
#include "startup/Project.h"
#include "startup/Settings.h"

namespace qm::script {

namespace vb = qm::vbs;

namespace {

// The bytes of strings and arrays one engine's scripts may hold: ScriptMemoryLimit
// in Config/More, in megabytes (512 when absent or not a positive number).
int64_t scriptMemoryLimit() {
  const double mb = startup::vbVal(startup::ReadMoreValue(QStringLiteral("ScriptMemoryLimit")));
  if (!(mb >= 1) || mb > 1 << 20) return int64_t(512) << 20;
  return static_cast<int64_t>(mb) << 20;
}

// A single control that scripts reach as an array of one element.
class SingleControlHandle : public ArrayHandle {
 public:
  SingleControlHandle(QString name, QObject* q, engine::VbObject* v) : name_(std::move(name)), q_(q), v_(v) {}
  QString name() const override { return name_; }
  bool exists(int index) const override { return index == 0 && q_; }
  vb::Dispatch* element(int index) override { return exists(index) ? new ControlObject(q_, v_) : nullptr; }
  void load(int index) override {
    throw engine::ControlArrayError(exists(index) ? 360 : 340, "This control cannot be loaded");
  }
  void unload(int index) override {
    throw engine::ControlArrayError(index == 0 ? 362 : 340, "This control cannot be unloaded");
  }
  std::vector<int> indices() const override { return q_ ? std::vector<int>{0} : std::vector<int>{}; }

 private:
  QString name_;
  QPointer<QObject> q_;
  engine::VbObject* v_;
};

// The engines as scripts see them: Timeout, AddCode, Run, Eval, ExecuteStatement, Reset, Name.
class EngineObject : public HostObject {
 public:
  EngineObject(vb::Engine& engine, std::u16string name) : engine_(engine), name_(std::move(name)) {}
  std::u16string typeName() const override { return u"ScriptControl"; }
  bool hasDefaultMember() const override { return false; }

 protected:
  vb::Value call(vb::DispId id, vb::InvokeKind kind, std::span<vb::Value> args) override {
    const bool write = kind == vb::InvokeKind::PropertyLet || kind == vb::InvokeKind::PropertySet;
    switch (id) {
      case 1:
        if (write) {
          vb::checkArgCount(args, 1, 1);
          engine_.setTimeout(vb::toInt32(args[0].deref()));
          return {};
        }
        return vb::Value(static_cast<int32_t>(engine_.timeout()));
      case 2:
      case 5: vb::checkArgCount(args, 1, 1); engine_.addCode(toU16(argText(args[0]))); return {};
      case 3: {
        vb::checkArgCount(args, 1, 2);
        std::vector<vb::Value> rest;
        if (args.size() > 1) rest.push_back(args[1].deref());
        return engine_.run(toU16(argText(args[0])), rest);
      }
      case 4: vb::checkArgCount(args, 1, 1); return engine_.eval(toU16(argText(args[0])));
      case 6: engine_.reset(); return {};
      case 7:
        if (write) raiseText(383, QStringLiteral("Property is read-only"));
        return vb::Value(name_);
      default: vb::raise(vb::err::NoSuchMember);
    }
  }
  std::span<const vb::MemberEntry> members() const override {
    static constexpr vb::MemberEntry kMembers[] = {{u"Timeout", 1}, {u"AddCode", 2}, {u"Run", 3},
                                                   {u"Eval", 4},    {u"ExecuteStatement", 5}, {u"Reset", 6},
                                                   {u"Name", 7}};
    return kMembers;
  }

 private:
  vb::Engine& engine_;
  std::u16string name_;
};

// What an engine factory needs to make an object outside a script call.
class FactoryContext : public vb::BuiltinContext {
 public:
  explicit FactoryContext(vb::HostServices& host) : host_(host) {}
  vb::HostServices& host() override { return host_; }
  vb::RandomState& random() override { return random_; }
  const vb::BuiltinRegistry& registry() const override { return vb::defaultRegistry(); }
  vb::Value resolveDefault(const vb::Value& v) override {
    vb::Value cur = v.deref();
    for (int depth = 0; depth < 8 && cur.isObject() && cur.asObject(); ++depth)
      cur = cur.asObject()->invoke(vb::DispIdValue, vb::InvokeKind::PropertyGet, {});
    return cur;
  }
  vb::Value createObject(const std::u16string&, const std::u16string&) override {
    vb::raise(vb::err::CannotCreateObject);
  }
  vb::Value getObject(const std::u16string&, const std::u16string&) override { vb::raise(vb::err::CannotCreateObject); }
  vb::Value eval(std::u16string_view) override { vb::raise(vb::err::CannotPerformOperation); }
  void executeGlobal(std::u16string_view) override { vb::raise(vb::err::CannotPerformOperation); }

 private:
  vb::HostServices& host_;
  vb::RandomState random_;
};

}  // namespace

ScriptHost::ScriptHost(engine::Game& game) : QObject(&game), game_(game) {
  setObjectName(QStringLiteral("ScriptHost"));
  action_ = makeHostObject<VBScriptActionModule>(&game);
  ScriptControl.setHost(this);
  ScriptControl2.setHost(this);
  ScriptControl.setMemoryLimit(scriptMemoryLimit());
  ScriptControl2.setMemoryLimit(scriptMemoryLimit());
  buildControlObjects();
  // The window frees its controls before its children: the engines let go of
  // their objects while the controls still exist (the frame menu's template is
  // the first control the window frees).
  if (engine::MenuItem* first = game.mnuFrameName.item(0))
    connect(first, &QObject::destroyed, this, [this] { releaseScripts(); });
}

void ScriptHost::releaseScripts() {
  try {
    ScriptControl.reset();
    ScriptControl2.reset();
  } catch (...) {
    // A script still running keeps its engine; it ends with the program.
  }
}

ScriptHost::~ScriptHost() = default;

void ScriptHost::buildControlObjects() {
  using namespace engine;
  Game& g = game_;
  auto single = [](QObject* q, VbObject* v) { return vb::Ref<vb::Dispatch>(new ControlObject(q, v)); };
  auto arr = [](std::shared_ptr<ArrayHandle> handle) {
    return vb::Ref<vb::Dispatch>(new ControlArrayObject(std::move(handle)));
  };
  auto bag = [this, &arr](const char* name, const char* type) {
    auto h = std::make_shared<PropertyBagArrayHandle>(QString::fromLatin1(name), QString::fromLatin1(type));
    scriptOnlyArrays_.push_back(h);
    return arr(h);
  };
  // A script timer ticks into its global procedure once a script reaches it.
  QPointer<ScriptHost> self(this);
  ElementHook timerHook = [self](QObject* element, int index) {
    auto* timer = qobject_cast<TimerControl*>(element);
    if (timer && !timer->onTimer)
      timer->onTimer = [self, index] {
        if (self) self->TimerObjectTick(index);
      };
  };

  vb::Ref<vb::Dispatch> areaA = arr(std::make_shared<GameArrayHandle<ImageControl>>("Area", g.Area));
  vb::Ref<vb::Dispatch> textA = arr(std::make_shared<GameArrayHandle<LabelControl>>("Text", g.Text));
  vb::Ref<vb::Dispatch> videoA = arr(std::make_shared<GameArrayHandle<MediaPlayerControl>>("VideoPlayer", g.VideoPlayer));
  vb::Ref<vb::Dispatch> timerObjA =
      arr(std::make_shared<GameArrayHandle<TimerControl>>("TimerObject", g.TimerObject, timerHook));
  vb::Ref<vb::Dispatch> picBoxA = arr(std::make_shared<GameArrayHandle<PictureBoxControl>>("PicBox", g.PicBox));
  vb::Ref<vb::Dispatch> imgBoxA = arr(std::make_shared<GameArrayHandle<ImageControl>>("ImgBox", g.ImgBox));
  vb::Ref<vb::Dispatch> customA =
      arr(std::make_shared<SingleControlHandle>("CustomMediaPlayer", g.CustomMediaPlayer, g.CustomMediaPlayer));
  vb::Ref<vb::Dispatch> lblDialogueA = arr(std::make_shared<GameArrayHandle<LabelControl>>("lblDialogue", g.lblDialogue));
  vb::Ref<vb::Dispatch> mplayerA = arr(std::make_shared<GameArrayHandle<MediaPlayerControl>>("MPlayer", g.MPlayer));
  vb::Ref<vb::Dispatch> pickedA = arr(std::make_shared<GameArrayHandle<ImageControl>>("PickedObject", g.PickedObject));
  vb::Ref<vb::Dispatch> aniGifA = arr(std::make_shared<GameArrayHandle<AnimatedPictureControl>>("AniGif", g.AniGif));
  vb::Ref<vb::Dispatch> aniGifBoxA = arr(std::make_shared<GameArrayHandle<PictureBoxControl>>("AniGifBox", g.AniGifBox));
  vb::Ref<vb::Dispatch> timedEventA = arr(std::make_shared<GameArrayHandle<TimerControl>>("TimedEvent", g.TimedEvent));
  vb::Ref<vb::Dispatch> fmeContainerA =
      arr(std::make_shared<GameArrayHandle<PanelControl>>("fmeContainer1", g.fmeContainer1));
  vb::Ref<vb::Dispatch> mnuFrameNameA = arr(std::make_shared<GameArrayHandle<MenuItem>>("mnuFrameName", g.mnuFrameName));
  vb::Ref<vb::Dispatch> checkA = bag("CheckBox", "CheckBox"), lineA = bag("LineObject", "Line"),
                        shapeA = bag("Shape", "Shape"), textBoxA = bag("TextBox", "TextBox"),
                        listA = bag("ListBox", "ListBox"), fileA = bag("FileBox", "FileListBox"),
                        dirA = bag("DirBox", "DirListBox"), driveA = bag("DriveBox", "DriveListBox");
  vb::Ref<vb::Dispatch> messageLabel = single(g.LabelMessageBox, g.LabelMessageBox);
  vb::Ref<vb::Dispatch> messagePanel = single(g.FrameMessageBox, g.FrameMessageBox);
  vb::Ref<vb::Dispatch> messageTimer = single(&g.TimerMessageBox, &g.TimerMessageBox);
  vb::Ref<vb::Dispatch> dialoguePanel = single(g.fmeDialogue, g.fmeDialogue);
  vb::Ref<vb::Dispatch> pictureBox = single(g.PictureBox, g.PictureBox);
  vb::Ref<vb::Dispatch> backImage = single(g.BackImage, g.BackImage);
  vb::Ref<vb::Dispatch> inventory2 = single(g.Inventory2, g.Inventory2);
  vb::Ref<vb::Dispatch> inventory1 = single(g.Inventory1, g.Inventory1);
  vb::Ref<vb::Dispatch> inventoryBack = single(g.Inventory_Background, g.Inventory_Background);
  vb::Ref<vb::Dispatch> inventoryTimer = single(&g.TimerInventory, &g.TimerInventory);
  vb::Ref<vb::Dispatch> history(new FramesHistoryObject(g.FramesHistory));
  vb::Ref<vb::Dispatch> ripple = single(g.PicRipplingWater, g.PicRipplingWater);
  vb::Ref<vb::Dispatch> engine1(new EngineObject(ScriptControl, u"ScriptControl"));
  vb::Ref<vb::Dispatch> engine2(new EngineObject(ScriptControl2, u"ScriptControl2"));
  vb::Ref<vb::Dispatch> printer(new PrinterObject());
  auto menu = [&single](MenuItem* m) { return single(m, m); };

  // Every control by its name, for the window object.
  std::vector<std::pair<QString, NamedObjectFactory>> named;
  auto keep = [&named](const char* name, vb::Ref<vb::Dispatch> object) {
    named.emplace_back(QString::fromLatin1(name), [object] { return vb::Value(object.get()); });
  };
  keep("PictureBox", pictureBox);
  keep("BackImage", backImage);
  keep("Area", areaA);
  keep("Text", textA);
  keep("FrameMessageBox", messagePanel);
  keep("LabelMessageBox", messageLabel);
  keep("TimerMessageBox", messageTimer);
  keep("fmeDialogue", dialoguePanel);
  keep("lblDialogue", lblDialogueA);
  keep("PickedObject", pickedA);
  keep("Inventory1", inventory1);
  keep("Inventory2", inventory2);
  keep("Inventory_Background", inventoryBack);
  keep("TimerInventory", inventoryTimer);
  keep("MPlayer", mplayerA);
  keep("TimerAudioFade", single(&g.TimerAudioFade, &g.TimerAudioFade));
  keep("VideoPlayer", videoA);
  keep("OneTimeVideoPlayer", single(g.OneTimeVideoPlayer, g.OneTimeVideoPlayer));
  keep("CustomMediaPlayer", single(g.CustomMediaPlayer, g.CustomMediaPlayer));
  keep("fmeVideoContainer", single(g.fmeVideoContainer, g.fmeVideoContainer));
  keep("AniGif", aniGifA);
  keep("AniGifBox", aniGifBoxA);
  keep("PicRipplingWater", ripple);
  keep("TimerRipplingWater", single(&g.TimerRipplingWater, &g.TimerRipplingWater));
  keep("TimedEvent", timedEventA);
  keep("Timer1", single(&g.Timer1, &g.Timer1));
  keep("TimerObject", timerObjA);
  keep("TimerUnloadMe", single(&g.TimerUnloadMe, &g.TimerUnloadMe));
  keep("ImgBox", imgBoxA);
  keep("PicBox", picBoxA);
  keep("fmeContainer1", fmeContainerA);
  keep("CheckBox", checkA);
  keep("LineObject", lineA);
  keep("Shape", shapeA);
  keep("TextBox", textBoxA);
  keep("ListBox", listA);
  keep("FileBox", fileA);
  keep("DirBox", dirA);
  keep("DriveBox", driveA);
  keep("FramesHistory", history);
  keep("ScriptControl", engine1);
  keep("ScriptControl2", engine2);
  keep("mnuExit", menu(g.mnuExit));
  keep("mnuOptions", menu(g.mnuOptions));
  keep("mnuDisableTransitions", menu(g.mnuDisableTransitions));
  keep("mnuDisableEffects", menu(g.mnuDisableEffects));
  keep("mnuLoadGame", menu(g.mnuLoadGame));
  keep("mnuSaveGame", menu(g.mnuSaveGame));
  keep("mnuDebug", menu(g.mnuDebug));
  keep("mnuGoToFrame", menu(g.mnuGoToFrame));
  keep("mnuCancel", menu(g.mnuCancel));
  keep("mnuFrameName", mnuFrameNameA);
  keep("mnuExecuteVBScript", menu(g.mnuExecuteVBScript));
  keep("mnuEditProcedures", menu(g.mnuEditProcedures));
  keep("mnuViewVariables", menu(g.mnuViewVariables));
  window_ = vb::Ref<vb::Dispatch>(new WindowObject(g, std::move(named)));

  // The controls part of the object model, in its order, with AddMembers.
  auto add = [this](const char* name, vb::Ref<vb::Dispatch> object, bool members) {
    controls_.push_back(NamedObject{QString::fromLatin1(name), std::move(object), members});
  };
  add("Hotspot", areaA, true);
  add("Text", textA, true);
  add("LoopingVideo", videoA, true);
  add("ScreenObject", vb::Ref<vb::Dispatch>(new ScreenObject()), true);
  add("AppObject", vb::Ref<vb::Dispatch>(new AppObject()), true);
  add("PrinterObject", printer, true);
  add("PrintersCollection", vb::Ref<vb::Dispatch>(new PrintersObject(printer.get())), true);
  add("ClipboardObject", vb::Ref<vb::Dispatch>(new ClipboardObject()), true);
  add("TimerObject", timerObjA, true);
  add("CheckBoxObject", checkA, false);
  add("LineObject", lineA, false);
  add("ShapeObject", shapeA, false);
  add("TextBoxObject", textBoxA, false);
  add("PictureBoxObject", picBoxA, false);
  add("ListBoxObject", listA, false);
  add("ImageBoxObject", imgBoxA, false);
  add("FileBoxObject", fileA, false);
  add("DirBoxObject", dirA, false);
  add("DriveBoxObject", driveA, false);
  add("MediaPlayerObject", customA, false);
  add("MessageObject", messageLabel, false);
  add("MessageCanvasObject", messagePanel, false);
  add("MessageTimerObject", messageTimer, false);
  add("DialogueObject", lblDialogueA, false);
  add("DialogueCanvasObject", dialoguePanel, false);
  add("BackgroundObject", pictureBox, false);
  add("BackgroundHotspotObject", backImage, false);
  add("AudioPlayerObject", mplayerA, false);
  add("InventoryItemObject", pickedA, false);
  add("InventoryButtonObject", inventory2, false);
  add("InventoryCanvasObject", inventory1, false);
  add("InventoryBackgroundObject", inventoryBack, false);
  add("InventoryTimerObject", inventoryTimer, false);
  add("FramesHistoryObject", history, false);
  add("RipplingWaterObject", ripple, false);
  add("AnimatedGifObject", aniGifA, false);
  add("AnimatedGifCanvasObject", aniGifBoxA, false);
  add("ScriptControlObject", engine1, false);
  add("ScriptControl2Object", engine2, false);
  add("TimedEventObject", timedEventA, false);
  add("WindowObject", window_, false);
  add("ExitMenuObject", menu(g.mnuExit), false);
  add("SaveMenuObject", menu(g.mnuSaveGame), false);
  add("LoadMenuObject", menu(g.mnuLoadGame), false);
  add("OptionsMenuObject", menu(g.mnuOptions), false);
  add("DebugMenuObject", menu(g.mnuDebug), false);
  add("DisableEffectsMenuObject", menu(g.mnuDisableEffects), false);
  add("TransitionsMenuObject", menu(g.mnuDisableTransitions), false);
}

void ScriptHost::showHostError(const char* sentence, const QString& description) {
  const QString text = startup::InterfaceText(30) + QStringLiteral(" ") + startup::InterfaceText(31) +
                       QStringLiteral("\r\n\r\n") + QString::fromLatin1(sentence) + QStringLiteral("\r\n\r\n") +
                       description;
  // Reporting must not fail in turn: with no memory left the message goes to stderr.
  try {
    platform::messageBox(text, platform::MsgButtons::OK, platform::MsgIcon::Critical, startup::InterfaceText(29));
  } catch (const std::bad_alloc&) {
    std::fputs("Script error: out of memory\n", stderr);
  }
}

QString ScriptHost::describeFailure(CodePart part, const QString& startupCode) const {
  QString text = describeCurrentException();
  try {
    throw;
  } catch (const vb::ScriptError& e) {
    if (e.line <= 0 || part == CodePart::None) return text;
    if (part == CodePart::Running)
      part = vb::equalsNoCase(e.procedure, u"StartupProcedure") ? CodePart::Startup : CodePart::Global;
    text += errorPosition(part, e.line, startupCode);
  } catch (...) {
  }
  return text;
}

// Where an error happened, as the author sees his code: the lines of the
// script itself (its wrapping procedure's first line not counted), or of the
// global procedures, or of the plugins' code that follows them.
QString ScriptHost::errorPosition(CodePart part, int line, const QString& startupCode) const {
  auto lineOf = [](const QString& code, int n) {
    const QStringList lines = code.split(QStringLiteral("\r\n"));
    return n >= 1 && n <= lines.size() ? lines[n - 1].trimmed().left(200) : QString();
  };
  QString where;
  QString text;
  if (part == CodePart::Startup) {
    const int n = line - 1;
    if (n < 1 || n > startupCode.count(QStringLiteral("\r\n")) + 1) return {};
    where = QStringLiteral("Line %1").arg(n);
    text = lineOf(startupCode, n);
  } else {
    const int procedureLines = GlobalProcedures.count(QStringLiteral("\r\n")) + 1;
    if (line <= procedureLines) {
      where = QStringLiteral("Line %1 of the global procedures").arg(line);
      text = lineOf(GlobalProcedures, line);
    } else {
      where = QStringLiteral("Line %1 of the plugins' code").arg(line - procedureLines);
      text = lineOf(PluginsGlobalCode(), line - procedureLines);
    }
  }
  return QStringLiteral("\r\n\r\n") + where + (text.isEmpty() ? QString() : QStringLiteral(": ") + text);
}

void ScriptHost::addRemainingObjects(vb::Engine& engine) {
  {
    auto& integers = game_.logic().variables.Variables;
    for (long i = 1; i <= integers.Count(); ++i) {
      vb::Ref<vb::Dispatch> v(new IntegerVariableObject(integers.ItemPointer(i)));
      engine.addObject(toU16(integers.Item(i).Name), v.get(), true);
    }
    auto& variants = game_.logic().variables.VariablesVariant;
    for (long i = 1; i <= variants.Count(); ++i) {
      vb::Ref<vb::Dispatch> v(new VariantVariableObject(variants.ItemPointer(i)));
      engine.addObject(toU16(variants.Item(i).Name), v.get(), true);
    }
  }
  for (const NamedObject& o : controls_) engine.addObject(toU16(o.name), o.object.get(), o.addMembers);
  if (game_.state().ControlsReferenceMode == 2) engine.addObject(u"SoftwareObjects", window_.get(), true);
}

ScriptResult ScriptHost::AddCodeToScriptControl(vb::Engine& engine, const QString& sStartupCode) {
  try {
    engine.reset();
  } catch (...) {
    showHostError(kResetFailedSentence, describeCurrentException());
    return ScriptResult::Failed;
  }
  CodePart compiling = CodePart::None;
  try {
    engine.addObject(u"Action", action_.get(), true);
    // The procedures and plugin code, then the code to run. The first part is
    // the same from run to run, so the engine compiles it only once.
    const QString globalPart =
        GlobalProcedures + QStringLiteral("\r\n") + PluginsGlobalCode() + QStringLiteral("\r\n");
    const QString startupPart = QStringLiteral("Sub StartupProcedure\r\n") + sStartupCode + QStringLiteral("\r\nEnd Sub");
    compiling = CodePart::Global;
    if (IsCreateObjectBlocked(globalPart + startupPart, startup::ReadMoreValue(QStringLiteral("AllowCreateObject")))) {
      platform::messageBox(
          QStringLiteral("WARNING! The VBScript code makes calls to the \"CreateObject\" function, which for security "
                         "reasons is not allowed.\r\n\r\nPlease remove the calls to that function and try again."),
          platform::MsgButtons::OK, platform::MsgIcon::Critical, QStringLiteral("VBScript Execution Aborted"));
      engine.addCode(toU16(EmptyStartupProcedure()));
    } else {
      engine.addCode(toU16(globalPart));
      compiling = CodePart::Startup;
      engine.addCode(toU16(startupPart));
    }
  } catch (...) {
    // Code that does not compile runs nothing: its one message is enough.
    showHostError(kRebuildFailedSentence, describeFailure(compiling, sStartupCode));
    return ScriptResult::Failed;
  }
  try {
    addRemainingObjects(engine);
  } catch (...) {
    // A name the engine refuses (a variable named like a reserved word, two
    // objects named alike) leaves the objects after it out; the code is in
    // place and still runs, so one odd variable does not silence every script.
    showHostError(kRebuildFailedSentence, describeFailure(CodePart::None, sStartupCode));
  }
  return ScriptResult::Ok;
}

ScriptResult ScriptHost::ExecuteVBScript(const QString& sText, bool bResetLastClickPosition) {
  if (startup::GameStopped()) return ScriptResult::Ok;
  if (bResetLastClickPosition) game_.SaveClickPos(0, 0);
  // When the engine could not be reset it still holds the running script's
  // code: running its StartupProcedure again would repeat that script. Code
  // that did not compile has had its message and runs nothing.
  if (AddCodeToScriptControl(ScriptControl, sText) == ScriptResult::Failed) return ScriptResult::Failed;
  QPointer<ScriptHost> alive(this);
  try {
    ScriptControl.run(u"StartupProcedure");
  } catch (...) {
    showHostError(kRunFailedSentence, describeFailure(CodePart::Running, sText));
    if (alive) queueKeptTicks();
    return ScriptResult::Failed;
  }
  if (alive) queueKeptTicks();
  return ScriptResult::Ok;
}

void ScriptHost::ExecuteOnLoadVBScript() {
  const QString pluginsStart = PluginsStartCode();
  action_->ResetModule();
  const auto& info = startup::project().info;
  if (!pluginsStart.isEmpty() || (info.runStartupProcedure && !info.startupProcedureName.isEmpty()))
    // Its message has been shown; what the code asked for is not acted upon either way.
    std::ignore =
        ExecuteVBScript(pluginsStart + (info.runStartupProcedure ? info.startupProcedureName : QString()), true);
}

void ScriptHost::PrepareNewGame() {
  for (auto& a : scriptOnlyArrays_) a->clear();
  action_->setResolutionOnLoadGame(0);
  GlobalProcedures = LoadGlobalProcedures();
  // Code that does not compile has had its message; the event engine stays empty.
  std::ignore = AddCodeToScriptControl(ScriptControl2, QString());
  game_.components().BuildAllEventsList();
}

void ScriptHost::SetTimeout(int milliseconds) { ScriptControl.setTimeout(milliseconds); }

void ScriptHost::DisableTimeouts() {
  ScriptControl.setTimeout(-1);
  ScriptControl2.setTimeout(-1);
}

void ScriptHost::ExecuteCodeCommand() {
  const QString key = QString::fromLatin1(startup::settings_keys::kExecuteVBScriptCode);
  QString code;
  try {
    platform::InputBoxRequest request;
    request.title = QStringLiteral("Execute VBScript Code (for advanced users)");
    request.prompt = QStringLiteral(
        "Enter the VBScript code that you want to execute and then click OK.\r\n\r\n"
        "For example, to retrieve the value of a variable, use the following code:\r\n\r\n"
        "                MsgBox VARIABLE_NAME\r\n");
    request.defaultText = startup::LoadSetting(key, QString());
    code = platform::dialogs().askText(request).value_or(QString());
    if (code.isEmpty()) return;
    // A failed run has had its message; the code is kept for the next try.
    std::ignore = game_.logic().ExecuteVBScriptAndConsequences(code, true);
    startup::SaveSetting(key, code);
  } catch (...) {
    platform::messageBox(QStringLiteral("Unable to execute the following VBScript code:\r\n\r\n") + code +
                             QStringLiteral("\r\n\r\n") + describeCurrentException(),
                         platform::MsgButtons::OK, platform::MsgIcon::Critical,
                         QStringLiteral("Error Executing VBScript Code"));
  }
}

void ScriptHost::EditProceduresCommand() {
  platform::messageBox(QStringLiteral("This command is not available in the compiled version of the project."),
                       platform::MsgButtons::OK, platform::MsgIcon::Information, QStringLiteral("Not Available"));
}

bool ScriptHost::hasProcedure(const vb::Engine& engine, const QString& name) {
  for (const vb::ProcedureInfo& p : engine.procedures())
    if (toQ(p.name).compare(name, Qt::CaseInsensitive) == 0) return true;
  return false;
}

bool ScriptHost::isWindowControlName(const QString& name) const {
  const auto* window = dynamic_cast<const WindowObject*>(window_.get());
  return window && window->hasControlNamed(name);
}

void ScriptHost::runTick(const QString& timer, std::function<void()> tick) {
  if (ScriptControl.isRunning() || ticking_.contains(timer)) {
    for (const auto& kept : keptTicks_)
      if (kept.first == timer) return;
    keptTicks_.emplace_back(timer, std::move(tick));
    return;
  }
  QPointer<ScriptHost> alive(this);
  ticking_ << timer;
  try {
    tick();
  } catch (...) {
    if (alive) ticking_.removeOne(timer);
    throw;
  }
  if (!alive) return;
  ticking_.removeOne(timer);
  queueKeptTicks();
}

void ScriptHost::queueKeptTicks() {
  if (keptTicks_.empty() || keptTicksQueued_ || ScriptControl.isRunning()) return;
  keptTicksQueued_ = true;
  // From the event loop: the script that just ended may still have its
  // requests to be carried out by its caller.
  QMetaObject::invokeMethod(this, [this] { runKeptTicks(); }, Qt::QueuedConnection);
}

void ScriptHost::runKeptTicks() {
  keptTicksQueued_ = false;
  auto kept = std::move(keptTicks_);
  keptTicks_.clear();
  QPointer<ScriptHost> alive(this);
  for (auto& [timer, tick] : kept) {
    if (!alive) return;
    if (startup::GameStopped()) continue;
    runTick(timer, std::move(tick));  // kept again when something is still in the way
  }
}

void ScriptHost::TimerObjectTick(int index) {
  engine::TimerControl* timer = game_.TimerObject.item(index);
  if (!timer) return;
  if (startup::GameStopped()) {
    timer->setEnabled(false);
    return;
  }
  runTick(QStringLiteral("TimerObject%1").arg(index), [this, index] {
    // A kept tick finds out afresh whether its timer still runs.
    engine::TimerControl* t = game_.TimerObject.item(index);
    if (t && t->enabled() && !startup::GameStopped()) runTimerObject(index);
  });
}

void ScriptHost::runTimerObject(int index) {
  try {
    auto& r = action_->requests();
    action_->ResetModule();
    // A procedure that fails has had its message; what it changed and asked
    // for before the error still counts, and the timer goes on ticking. A
    // timer without its procedure could never succeed: after its one message
    // it stops, rather than bring the message back on every tick.
    const QString procedure = QStringLiteral("TimerObject%1").arg(index);
    if (ExecuteVBScript(procedure, true) == ScriptResult::Failed && !hasProcedure(ScriptControl, procedure)) {
      if (auto* t = game_.TimerObject.item(index)) t->setEnabled(false);
      return;
    }
    game_.logic().ShowOrNotShowAreas();
    // Only the game's flow is followed here. A request for the load or save
    // window is left unanswered on purpose: those windows open in answer to
    // something the player did, never from a timer ticking in the background.
    if (r.bStopGame) {
      game_.StartUnloading();
      return;
    }
    r.sFrameToLoad = logic::resolveFrameRequest(r.sFrameToLoad, game_.FramesHistory);
    if (!r.sFrameToLoad.isEmpty()) {
      game_.goToFrame(r.frameRequest());
    } else {
      game_.timedEvents().StartTimedEvents();
    }
  } catch (...) {
    platform::messageBox(QStringLiteral("Unable to execute the procedure named TimerObject%1. ").arg(index) +
                             describeCurrentException(),
                         platform::MsgButtons::OK, platform::MsgIcon::Critical,
                         QStringLiteral("Error Executing VBScript Code"));
    if (auto* t = game_.TimerObject.item(index)) t->setEnabled(false);
  }
}

int ScriptHost::msgBox(const std::u16string& prompt, int buttons, const std::u16string& title) {
  const QString t = title.empty() ? startup::project().info.gameTitle : toQ(title);
  return static_cast<int>(platform::dialogs().showMessage(platform::requestFromVbStyle(toQ(prompt), buttons, t)));
}

std::optional<std::u16string> ScriptHost::inputBox(const std::u16string& prompt, const std::u16string& title,
                                                   const std::u16string& defaultText) {
  platform::InputBoxRequest request;
  request.prompt = toQ(prompt);
  request.title = title.empty() ? startup::project().info.gameTitle : toQ(title);
  request.defaultText = toQ(defaultText);
  const auto answer = platform::dialogs().askText(request);
  if (!answer) return std::nullopt;
  return toU16(*answer);
}

vb::Value ScriptHost::createObject(const std::u16string& progId, const std::u16string&) {
  if (!startup::AllowCreateObjectSetting()) {
    // A call the text check did not catch still creates nothing.
    action_->CreateObject();
    return vb::Value::nothing();
  }
  const std::u16string lower = vb::toLowerCopy(progId);
  if (lower == u"scripting.dictionary") return {};  // the engine's own
  if (lower == u"scripting.filesystemobject") {
    // The engine's object, confined to the game folder, changing files only in External.
    const vb::ObjectFactory make = vb::defaultRegistry().findProgId(progId);
    if (!make) vb::raise(vb::err::CannotCreateObject);
    FactoryContext context(*this);
    return GuardFileSystemObject(vb::Value(make(context)), startup::project().paths.external);
  }
  throw vb::ScriptError(vb::err::CannotCreateObject, u"ActiveX component can't create object: '" + progId + u"'");
}

std::string ScriptHost::fileSystemRoot() const {
  QString root = startup::project().paths.project;
  if (const auto native = platform::resolveExisting(root)) root = *native;
  return platform::bytesOfName(root).toStdString();  // the folder may be named in a code page
}

}  // namespace qm::script
