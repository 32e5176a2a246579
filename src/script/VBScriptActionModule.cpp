#include "script/VBScriptActionModule.h"

#include <QBuffer>
#include <QCoreApplication>
#include <QDir>
#include <QImage>

#include "engine/CursorFile.h"
#include "engine/Game.h"
#include "engine/RipplingWater.h"
#include "engine/Transitions.h"
#include "engine/PictureCache.h"
#include "logic/GameLogic.h"
#include "logic/Inventory.h"
#include "platform/DialogService.h"
#include "platform/FileConfinement.h"
#include "platform/FileResolver.h"
#include "platform/IniFile.h"
#include "platform/NativeFile.h"
#include "platform/NativeImage.h"
#include "platform/NativeName.h"
#include "platform/Shell.h"
#include "platform/VbError.h"
#include "platform/WaitWhile.h"
#include "script/AdditionalComponents.h"
#include "script/ControlObjects.h"
#include "script/DialogueRunner.h"
#include "script/TimedEvents.h"
#include "script/VariableObjects.h"
#include "startup/Activity.h"
#include "startup/DisplayResolution.h"
#include "startup/ErrorReport.h"
#include "startup/ExternalProgram.h"
#include "startup/FileProcedures.h"
#include "startup/MediaFiles.h"
#include "startup/Messages.h"
#include "startup/Project.h"
#include "startup/Settings.h"
#include "vbscript/TimeLimit.h"

namespace qm::script {

namespace vb = qm::vbs;

namespace {

// Member ids follow the order of the class's interface (0..67), plus one.
enum Member : vb::DispId {
  kPopupSaveGame = 1, kPopupLoadGame, kGoToFrame, kResetModule, kStopEverything, kMessage, kAddItem, kSendEmail,
  kOpenURL, kOpenFile, kOpenExeFileAndWait, kLoadAPicture, kLoadGraphicFile, kGetHotspotNumber, kGetPath,
  kHideInventoryButton, kShowInventoryButton, kGetClickPositionX, kGetClickPositionY, kGetTransitionsStatus,
  kGetEffectsStatus, kInvertTransitionsStatus, kInvertEffectsStatus, kRemoveAllItems, kRemoveItem, kCreateObject,
  kLoadControl, kUnloadControl, kGetQMVersion, kChangeDisplayResolution, kChangeDisplayResolutionOnLoadGame,
  kGetDisplayResolutionX, kGetDisplayResolutionY, kGetProjectWidth, kGetProjectHeight,
  kAllowControlsReferencesNextTime, kDoNotAllowControlsReferencesNextTime, kGetCurrentFrameName,
  kGetMergedHotspotIndex, kGetMergedTextIndex, kQuit, kCreateTimedEvent, kRemoveTimedEvent, kSaveParameter,
  kLoadParameter, kChangeDefaultCursor, kReadINI, kWriteINI, kDDir, kAddComponent, kRemoveComponent, kComponent,
  kDoesComponentExist, kInterceptComponentEvents, kIsComponentInstalled, kNO_FILE_SELECTED,
  kGetVariableReferenceFromName, kDOUBLEQUOTES, kNEWLINE, kConvertQuotesIntoDoubleQuotes, kConvertToNumber,
  kGetEncryptedFileName, kRefreshWindow, kQuitDialogue, kUpdateHotspotsState, kDoComponentsEvents, kCaptureFrame,
  kSaveAPicture,
  // The script host's own LoadPicture function, reached as a global.
  kLoadPicture = 90,
  // The request fields.
  kFieldFrameToLoad = 100, kFieldHotspotNumber, kFieldTransitionDuration, kFieldTransitionNumber, kFieldStopGame,
  kFieldPopupLoadGame, kFieldPopupSaveGame,
};

constexpr vb::MemberEntry kMembers[] = {
    {u"PopupSaveGame", kPopupSaveGame},
    {u"PopupLoadGame", kPopupLoadGame},
    {u"GoToFrame", kGoToFrame},
    {u"ResetModule", kResetModule},
    {u"StopEverything", kStopEverything},
    {u"Message", kMessage},
    {u"AddItem", kAddItem},
    {u"SendEmail", kSendEmail},
    {u"OpenURL", kOpenURL},
    {u"OpenFile", kOpenFile},
    {u"OpenExeFileAndWait", kOpenExeFileAndWait},
    {u"LoadAPicture", kLoadAPicture},
    {u"LoadGraphicFile", kLoadGraphicFile},
    {u"GetHotspotNumber", kGetHotspotNumber},
    {u"GetPath", kGetPath},
    {u"HideInventoryButton", kHideInventoryButton},
    {u"ShowInventoryButton", kShowInventoryButton},
    {u"GetClickPositionX", kGetClickPositionX},
    {u"GetClickPositionY", kGetClickPositionY},
    {u"GetTransitionsStatus", kGetTransitionsStatus},
    {u"GetEffectsStatus", kGetEffectsStatus},
    {u"InvertTransitionsStatus", kInvertTransitionsStatus},
    {u"InvertEffectsStatus", kInvertEffectsStatus},
    {u"RemoveAllItems", kRemoveAllItems},
    {u"RemoveItem", kRemoveItem},
    {u"CreateObject", kCreateObject},
    {u"LoadControl", kLoadControl},
    {u"UnloadControl", kUnloadControl},
    {u"GetQMVersion", kGetQMVersion},
    {u"ChangeDisplayResolution", kChangeDisplayResolution},
    {u"ChangeDisplayResolutionOnLoadGame", kChangeDisplayResolutionOnLoadGame},
    {u"GetDisplayResolutionX", kGetDisplayResolutionX},
    {u"GetDisplayResolutionY", kGetDisplayResolutionY},
    {u"GetProjectWidth", kGetProjectWidth},
    {u"GetProjectHeight", kGetProjectHeight},
    {u"AllowControlsReferencesNextTime", kAllowControlsReferencesNextTime},
    {u"DoNotAllowControlsReferencesNextTime", kDoNotAllowControlsReferencesNextTime},
    {u"GetCurrentFrameName", kGetCurrentFrameName},
    {u"GetMergedHotspotIndex", kGetMergedHotspotIndex},
    {u"GetMergedTextIndex", kGetMergedTextIndex},
    {u"Quit", kQuit},
    {u"CreateTimedEvent", kCreateTimedEvent},
    {u"RemoveTimedEvent", kRemoveTimedEvent},
    {u"SaveParameter", kSaveParameter},
    {u"LoadParameter", kLoadParameter},
    {u"ChangeDefaultCursor", kChangeDefaultCursor},
    {u"ReadINI", kReadINI},
    {u"WriteINI", kWriteINI},
    {u"DDir", kDDir},
    {u"AddComponent", kAddComponent},
    {u"RemoveComponent", kRemoveComponent},
    {u"Component", kComponent},
    {u"DoesComponentExist", kDoesComponentExist},
    {u"InterceptComponentEvents", kInterceptComponentEvents},
    {u"IsComponentInstalled", kIsComponentInstalled},
    {u"NO_FILE_SELECTED", kNO_FILE_SELECTED},
    {u"GetVariableReferenceFromName", kGetVariableReferenceFromName},
    {u"DOUBLEQUOTES", kDOUBLEQUOTES},
    {u"NEWLINE", kNEWLINE},
    {u"ConvertQuotesIntoDoubleQuotes", kConvertQuotesIntoDoubleQuotes},
    {u"ConvertToNumber", kConvertToNumber},
    {u"GetEncryptedFileName", kGetEncryptedFileName},
    {u"RefreshWindow", kRefreshWindow},
    {u"QuitDialogue", kQuitDialogue},
    {u"UpdateHotspotsState", kUpdateHotspotsState},
    {u"DoComponentsEvents", kDoComponentsEvents},
    {u"CaptureFrame", kCaptureFrame},
    {u"SaveAPicture", kSaveAPicture},
    {u"LoadPicture", kLoadPicture},
    {u"sFrameToLoad", kFieldFrameToLoad},
    {u"iHotspotNumber", kFieldHotspotNumber},
    {u"dTransitionDuration", kFieldTransitionDuration},
    {u"iTransitionNumber", kFieldTransitionNumber},
    {u"bStopGame", kFieldStopGame},
    {u"bPopupLoadGame", kFieldPopupLoadGame},
    {u"bPopupSaveGame", kFieldPopupSaveGame},
};

const char kClassKey = 0;

const vb::Value& arg(std::span<vb::Value> args, size_t i) {
  static const vb::Value missing = vb::Value::missing();
  return vb::argOr(args, i, missing);
}

vb::Value text(const QString& s) { return vb::Value(toU16(s)); }

// Boxes a player answers and deliberate waits leave the script time limit alone.
void report(const QString& specific) {
  vb::PauseTimeLimit pause;
  startup::ShowStandardErrorReport(specific);
}

bool isWrite(vb::InvokeKind kind) { return kind == vb::InvokeKind::PropertyLet || kind == vb::InvokeKind::PropertySet; }

}  // namespace

VBScriptActionModule::VBScriptActionModule(engine::Game* game) : game_(game) { own_.iTransitionNumber = 1; }

std::span<const vb::MemberEntry> VBScriptActionModule::members() const { return kMembers; }
const void* VBScriptActionModule::classKey() const { return &kClassKey; }

engine::VBScriptActionModule& VBScriptActionModule::gameRequests() { return game_->state().VBScriptAction; }

engine::Game& VBScriptActionModule::game(const char* member) {
  if (!game_)
    raiseText(vb::err::CannotPerformOperation, QStringLiteral("%1: there is no game window").arg(QLatin1String(member)));
  return *game_;
}

void VBScriptActionModule::ResetModule() { requests().ResetModule(); }

std::optional<QString> VBScriptActionModule::externalRule(const QString& fileName) {
  // Game paths (GetPath, App.Path) use the native separator here, so a name
  // with either separator is a path of its own.
  const bool ownPath = fileName.contains(QLatin1Char('\\')) || fileName.contains(QLatin1Char('/'));
  const auto& paths = startup::project().paths;
  const QString path = ownPath ? startup::inProjectFolder(paths, fileName) : paths.external + fileName;
  // Whatever the name, it must stay inside the game's folder: the real path
  // the resolver would use (links followed) is checked, for files that exist
  // and for files about to be created.
  const QString root = platform::realPathOf(startup::project().paths.project);
  const QString real = platform::realPathOf(platform::resolveForWrite(path));
  if (root.isEmpty() || !platform::isInsideFolder(real, root) || real == root) return std::nullopt;
  return path;
}

void VBScriptActionModule::GoToFrame(const QString& frame, double duration, int transition) {
  auto& r = requests();
  r.sFrameToLoad = frame;
  r.dTransitionDuration = duration;
  r.iTransitionNumber = transition;
  r.iHotspotNumber = 0;
}

QString VBScriptActionModule::GetPath(int which) const {
  const auto& p = startup::project().paths;
  switch (which) {
    case 0:
    case 1: return p.project;
    case 3: return p.config;
    case 4: return p.areas;
    case 5: return p.frames;
    case 6: return p.framesData;
    case 7: return p.icons;
    default: return p.external;
  }
}

void VBScriptActionModule::CreateObject() {
  if (!startup::AllowCreateObjectSetting()) {
    vb::PauseTimeLimit pause;
    platform::messageBox(
        QStringLiteral("For security reasons, the \"CreateObject\" function is disabled in this version of VBScript."),
        platform::MsgButtons::OK, platform::MsgIcon::Information, QStringLiteral("Unavailable Function"));
  }
}

QString VBScriptActionModule::DDir(const QString& pattern, int attributes) {
  if (!pattern.isEmpty()) {
    ddirMatches_.clear();
    ddirNext_ = 0;
    // The folder part is a game path; the last part may hold wildcards.
    QString folder, mask = pattern;
    const int cut = std::max(pattern.lastIndexOf(QLatin1Char('\\')), pattern.lastIndexOf(QLatin1Char('/')));
    if (cut >= 0) {
      folder = pattern.left(cut + 1);
      mask = pattern.mid(cut + 1);
    }
    if (mask.isEmpty()) mask = QStringLiteral("*");
    const auto resolved = platform::resolveExisting(
        folder.isEmpty() ? startup::project().paths.project : startup::inProjectFolder(startup::project().paths, folder));
    if (resolved) {
      const QString base = resolved->endsWith(u'/') ? *resolved : *resolved + u'/';
      const bool withFolders = attributes & 16;  // vbDirectory
      const bool withHidden = attributes & 2;    // vbHidden
      for (const QString& n : platform::listFolder(base)) {
        const QString native = base + n;
        const bool folder = platform::isFolderAt(native);
        if ((folder && !withFolders) || (!folder && !platform::isPlainFileAt(native))) continue;
        if (n.startsWith(u'.') && !withHidden) continue;
        // The name as the game reads it: raw Windows-1252 or DOS names as their text.
        const QString readable = platform::readableName(n);
        if (startup::matchesWildcard(readable, mask) && platform::isInsideConfinement(native)) ddirMatches_ << readable;
      }
      ddirMatches_.sort(Qt::CaseInsensitive);
    }
  }
  if (ddirNext_ < ddirMatches_.size()) return ddirMatches_[ddirNext_++];
  return {};
}

void VBScriptActionModule::SaveParameter(const QString& name, const vb::Value& value) {
  try {
    startup::SaveSetting(QStringLiteral("_") + name, argText(value));
  } catch (...) {
    report(QStringLiteral(" Unable to save the parameter named \"") + name + QStringLiteral("\". ") +
           describeCurrentException());
  }
}

QString VBScriptActionModule::LoadParameter(const QString& name, const vb::Value& defaultValue) {
  try {
    const QString def = defaultValue.deref().isMissing() ? QString() : argText(defaultValue);
    return startup::LoadSetting(QStringLiteral("_") + name, def);
  } catch (...) {
    report(QStringLiteral(" Unable to load the parameter named \"") + name + QStringLiteral("\". ") +
           describeCurrentException());
    return {};
  }
}

vb::Value VBScriptActionModule::GetVariableReferenceFromName(const QString& name) {
  logic::GameLogic* logic = game_ ? &game_->logic() : nullptr;
  if (!logic) return vb::Value::nothing();
  const QString lower = name.toLower();
  auto& variants = logic->variables.VariablesVariant;
  for (long i = 1; i <= variants.Count(); ++i)
    if (variants.Item(i).Name.toLower() == lower) return vb::Value(new VariantVariableObject(variants.ItemPointer(i)));
  auto& integers = logic->variables.Variables;
  for (long i = 1; i <= integers.Count(); ++i)
    if (integers.Item(i).Name.toLower() == lower) return vb::Value(new IntegerVariableObject(integers.ItemPointer(i)));
  return vb::Value::nothing();
}

vb::Value VBScriptActionModule::pictureFromFile(const QString& fileName, const QString& failureText, bool assign,
                                                const vb::Value& control) {
  QString path;
  try {
    vb::Dispatch* target = nullptr;
    if (assign) {
      const vb::Value& c = control.deref();
      if (!c.isObject() || !c.asObject()) vb::raise(vb::err::ObjectRequired);
      target = c.asObject();
    }
    vb::Value picture;
    if (fileName.isEmpty()) {
      picture = vb::Value(new PictureObject(QImage(), QString()));
    } else {
      path = startup::LocateMediaFile(startup::project().paths.areas + fileName);
      const auto native = platform::resolveExisting(path);
      if (!native) return assign ? vb::Value() : vb::Value::nothing();
      const QImage image = platform::readImageFile(*native);
      if (image.isNull()) raiseText(481, QStringLiteral("Invalid picture"));
      picture = vb::Value(new PictureObject(image, *native));
    }
    if (!assign) return picture;
    auto* ctl = dynamic_cast<ControlObject*>(target);
    if (ctl && ctl->control()) {
      AssignPicture(*ctl->control(), picture);
    } else {
      // Late bound: any object with a Picture property takes it.
      const vb::DispId id = target->findMember(u"Picture");
      if (id == vb::DispIdUnknown) vb::raise(vb::err::NoSuchMember);
      std::vector<vb::Value> a{picture};
      target->invoke(id, vb::InvokeKind::PropertySet, a);
    }
    return {};
  } catch (...) {
    report(failureText + QStringLiteral("\r\n") + (path.isEmpty() ? fileName : path) + QStringLiteral("'.\r\n\r\n") +
           describeCurrentException());
    return assign ? vb::Value() : vb::Value::nothing();
  }
}

// Scripts on Windows had the host's LoadPicture: a file path (relative to the
// game's folder, where the player runs) to a picture object that a Picture
// property takes; no path gives the empty picture that clears one. Failures
// are the script's own run-time errors, as they were there.
vb::Value VBScriptActionModule::LoadPicture(const QString& fileName) {
  if (fileName.isEmpty()) return vb::Value(new PictureObject(QImage(), QString()));
  QString path = fileName;
  const bool absolute = path.startsWith('/') || path.startsWith('\\') || (path.size() > 1 && path[1] == ':');
  if (!absolute) path = startup::project().paths.project + path;
  const auto native = platform::resolveExisting(path);
  if (!native || !platform::fileExists(*native)) raiseText(53, VbError::standardDescription(53));
  engine::ControlPicture picture = engine::LoadControlPicture(*native);
  if (!picture.loaded) raiseText(481, VbError::standardDescription(481));
  return vb::Value(new PictureObject(picture.image, *native));
}

void VBScriptActionModule::changeDefaultCursor(const QString& fileName) {
  try {
    if (!fileName.isEmpty() && fileName.toLower() != QLatin1String("default")) {
      const QString path = startup::LocateMediaFile(startup::project().paths.icons + fileName);
      if (!platform::fileExists(path)) return;
    }
    startup::project().info.defaultMousePointer = fileName;
    engine::Game& g = game("ChangeDefaultCursor");
    g.ResetDefaultPointer();
    for (int i : g.Area.indices())
      if (auto* c = g.Area.item(i)) engine::ApplyDefaultCursor(*c);
    for (int i : g.AniGifBox.indices())
      if (auto* c = g.AniGifBox.item(i)) engine::ApplyDefaultCursor(*c);
  } catch (...) {
    report(QStringLiteral(" Unable to change the default cursor. ") + describeCurrentException());
  }
}

vb::Value VBScriptActionModule::call(vb::DispId id, vb::InvokeKind kind, std::span<vb::Value> args) {
  auto& r = requests();
  // The request fields are plain properties.
  if (id >= kFieldFrameToLoad) {
    const bool write = isWrite(kind);
    if (write) vb::checkArgCount(args, 1, 1);
    const vb::Value& v = arg(args, 0);
    switch (id) {
      case kFieldFrameToLoad:
        if (write) r.sFrameToLoad = argText(v);
        return write ? vb::Value() : text(r.sFrameToLoad);
      case kFieldHotspotNumber:
        if (write) r.iHotspotNumber = argInt16(v);
        return write ? vb::Value() : vb::Value(static_cast<int16_t>(r.iHotspotNumber));
      case kFieldTransitionDuration:
        if (write) r.dTransitionDuration = argNumber(v);
        return write ? vb::Value() : vb::Value(r.dTransitionDuration);
      case kFieldTransitionNumber:
        if (write) r.iTransitionNumber = argInt16(v);
        return write ? vb::Value() : vb::Value(static_cast<int16_t>(r.iTransitionNumber));
      case kFieldStopGame:
        if (write) r.bStopGame = argBool(v);
        return write ? vb::Value() : vb::Value(r.bStopGame);
      case kFieldPopupLoadGame:
        if (write) r.bPopupLoadGame = argBool(v);
        return write ? vb::Value() : vb::Value(r.bPopupLoadGame);
      case kFieldPopupSaveGame:
        if (write) r.bPopupSaveGame = argBool(v);
        return write ? vb::Value() : vb::Value(r.bPopupSaveGame);
      default: vb::raise(vb::err::NoSuchMember);
    }
  }
  if (isWrite(kind)) vb::raise(vb::err::WrongArgCount);
  const auto& project = startup::project();
  switch (id) {
    case kPopupSaveGame: vb::checkArgCount(args, 0, 0); r.bPopupSaveGame = true; return {};
    case kPopupLoadGame: vb::checkArgCount(args, 0, 0); r.bPopupLoadGame = true; return {};
    case kGoToFrame:
      vb::checkArgCount(args, 3, 3);
      GoToFrame(argText(args[0]), argNumber(args[1]), argInt16(args[2]));
      return {};
    case kResetModule: vb::checkArgCount(args, 0, 0); ResetModule(); return {};
    case kStopEverything: vb::checkArgCount(args, 0, 0); startup::StopGame(); return {};
    case kMessage: {
      vb::checkArgCount(args, 1, 1);
      vb::PauseTimeLimit pause;
      startup::ShowMessage(argText(args[0]), true, false);
      return {};
    }
    case kAddItem: {
      vb::checkArgCount(args, 2, 2);
      const QString item = argText(args[0]);
      const bool noPopup = argBool(args[1]);
      game("AddItem").inventory().AddPickedObject(item, noPopup);
      return {};
    }
    case kSendEmail: {
      vb::checkArgCount(args, 1, 1);
      const QString address = argText(args[0]);
      if (!address.isEmpty() && !platform::shellOpen(QStringLiteral("mailto:") + address))
        report(QStringLiteral(" Error opening the default mail client to send email to: ") + address);
      return {};
    }
    case kOpenURL: {
      vb::checkArgCount(args, 1, 1);
      const QString url = argText(args[0]);
      if (!url.isEmpty() && !platform::shellOpen(url))
        report(QStringLiteral(" Error opening the following URL with the default browser:\r\n\r\n") + url);
      return {};
    }
    case kOpenFile: {
      vb::checkArgCount(args, 1, 1);
      const QString title = argText(args[0]);
      if (title.isEmpty()) return {};
      const auto path = externalRule(title);
      const auto native = path ? platform::resolveExisting(*path) : std::nullopt;
      int failure = 0;
      if (!path) failure = 70;  // outside the game's folder
      else if (!native) failure = 53;
      else if (platform::isProgramOrLauncher(*native)) failure = 70;  // documents only, never programs
      else if (!platform::shellOpen(*native)) failure = 5;
      if (failure)
        report(QStringLiteral(" Error opening the file titled '") + path.value_or(title) + QStringLiteral("'.\r\n\r\n") +
               VbError::standardDescription(failure));
      return {};
    }
    case kOpenExeFileAndWait: {
      vb::checkArgCount(args, 1, 1);
      const QString title = argText(args[0]);
      if (title.isEmpty()) return {};
      engine::Game* g = game_;
      const bool timerWasOn = g && g->Timer1.enabled();
      if (g) {
        g->setEnabled(false);
        g->Timer1.setEnabled(false);
      }
      const auto path = externalRule(title);
      try {
        if (!path) throw VbError::permissionDenied(title);  // outside the game's folder
        vb::PauseTimeLimit pause;
        startup::RunAndWait(*path, true);  // asks the player; reports its own failures
      } catch (...) {
        report(QStringLiteral(" Error opening the file titled '") + path.value_or(title) +
               QStringLiteral("'.\r\n\r\n") + describeCurrentException());
      }
      if (g) {
        g->setEnabled(true);
        g->Timer1.setEnabled(timerWasOn);
      }
      return {};
    }
    case kLoadAPicture:
      vb::checkArgCount(args, 2, 2);
      return pictureFromFile(argText(args[1]), QStringLiteral(" Error loading the following picture:'"), true, args[0]);
    case kLoadPicture:
      vb::checkArgCount(args, 0, 1);
      return LoadPicture(args.empty() ? QString() : argText(args[0]));
    case kLoadGraphicFile:
      vb::checkArgCount(args, 1, 1);
      return pictureFromFile(argText(args[0]), QStringLiteral(" Error loading the following graphic file:'"), false, {});
    case kGetHotspotNumber: return vb::Value(static_cast<int16_t>(r.iHotspotNumber));
    case kGetPath: vb::checkArgCount(args, 1, 1); return text(GetPath(argInt16(args[0])));
    case kHideInventoryButton:
      if (!project.info.inventoryBarOn) return {};
      try {
        engine::Game& g = game("HideInventoryButton");
        g.Inventory1->setTop(-g.Inventory1->height());
        g.Inventory2->setVisibleVb(false);
      } catch (...) {
        report(QStringLiteral(" Error hiding inventory. ") + describeCurrentException());
      }
      return {};
    case kShowInventoryButton:
      if (!project.info.inventoryBarOn) return {};
      try {
        game("ShowInventoryButton").Inventory2->setVisibleVb(true);
      } catch (...) {
        report(QStringLiteral(" Error displaying inventory. ") + describeCurrentException());
      }
      return {};
    case kGetClickPositionX: return vb::Value(static_cast<int16_t>(game_ ? game_->state().ClickPositionX : 0));
    case kGetClickPositionY: return vb::Value(static_cast<int16_t>(game_ ? game_->state().ClickPositionY : 0));
    case kGetTransitionsStatus: return vb::Value(game("GetTransitionsStatus").transitions().GetTransitionsStatus());
    case kGetEffectsStatus: return vb::Value(game("GetEffectsStatus").effects().GetEffectsStatus());
    case kInvertTransitionsStatus: game("InvertTransitionsStatus").transitions().EnableOrDisableTransitions(); return {};
    case kInvertEffectsStatus: game("InvertEffectsStatus").effects().EnableOrDisableEffects(); return {};
    case kRemoveAllItems:
      try {
        engine::Game& g = game("RemoveAllItems");
        // An inventory that does not shrink must not hang the game.
        for (int guard = 0; g.state().ObjectsCount != 0 && guard < 100000; ++guard) g.inventory().RemovePickedObject(1);
      } catch (...) {
        report(QStringLiteral(" Error removing all the inventory items. ") + describeCurrentException());
      }
      return {};
    case kRemoveItem: {
      vb::checkArgCount(args, 2, 2);
      const QString name = argText(args[0]);
      const bool duplicates = argBool(args[1]);
      try {
        engine::Game& g = game("RemoveItem");
        for (int i = g.state().ObjectsCount; i >= 1; --i) {
          if (g.inventory().itemName(i).compare(name, Qt::CaseInsensitive) == 0) {
            g.inventory().RemovePickedObject(i);
            if (!duplicates) break;
          }
        }
      } catch (...) {
        report(QStringLiteral(" Error removing from the inventory the item named '") + name + QStringLiteral("'. ") +
               describeCurrentException());
      }
      return {};
    }
    case kCreateObject: vb::checkArgCount(args, 0, 1); CreateObject(); return vb::Value::nothing();
    case kLoadControl: vb::checkArgCount(args, 1, 1); return vb::Value(LoadControlElement(args[0]));
    case kUnloadControl: vb::checkArgCount(args, 1, 1); return vb::Value(UnloadControlElement(args[0]));
    case kGetQMVersion: return vb::Value(std::u16string(u"Version 3.5.2"));
    case kChangeDisplayResolution: {
      vb::checkArgCount(args, 1, 1);
      const int16_t code = argInt16(args[0]);
      try {
        startup::SwitchDisplayResolution(code);
      } catch (...) {
        report(QStringLiteral(" Error changing display resolution. ") + describeCurrentException());
      }
      return {};
    }
    case kChangeDisplayResolutionOnLoadGame:
      vb::checkArgCount(args, 1, 1);
      resolutionOnLoadGame_ = argInt16(args[0]);
      return {};
    case kGetDisplayResolutionX: return vb::Value(static_cast<int32_t>(startup::DesktopWidth()));
    case kGetDisplayResolutionY: return vb::Value(static_cast<int32_t>(startup::DesktopHeight()));
    case kGetProjectWidth: return vb::Value(static_cast<int16_t>(project.info.width));
    case kGetProjectHeight: return vb::Value(static_cast<int16_t>(project.info.height));
    case kAllowControlsReferencesNextTime: game("AllowControlsReferencesNextTime").state().ControlsReferenceMode = 2; return {};
    case kDoNotAllowControlsReferencesNextTime:
      game("DoNotAllowControlsReferencesNextTime").state().ControlsReferenceMode = 1;
      return {};
    case kGetCurrentFrameName: return text(startup::CurrentFrameName());
    case kGetMergedHotspotIndex: {
      return vb::Value(static_cast<int16_t>(game_ ? game_->logic().MergedHotspotIndex() : 1));
    }
    case kGetMergedTextIndex: return vb::Value(static_cast<int16_t>(game_ ? game_->state().MergedTextIndex : 1));
    case kQuit: r.bStopGame = true; return {};
    case kCreateTimedEvent: {
      vb::checkArgCount(args, 3, 3);
      const QString code = argText(args[1]);
      const bool repeat = argBool(args[2]);
      return vb::Value(static_cast<int16_t>(
          game("CreateTimedEvent").timedEvents().CreateTimedEvent(args[0], code, repeat)));
    }
    case kRemoveTimedEvent:
      vb::checkArgCount(args, 1, 1);
      game("RemoveTimedEvent").timedEvents().RemoveTimedEvent(argInt16(args[0]));
      return {};
    case kSaveParameter: vb::checkArgCount(args, 2, 2); SaveParameter(argText(args[0]), args[1]); return {};
    case kLoadParameter: vb::checkArgCount(args, 1, 2); return text(LoadParameter(argText(args[0]), arg(args, 1)));
    case kChangeDefaultCursor: vb::checkArgCount(args, 1, 1); changeDefaultCursor(argText(args[0])); return {};
    case kReadINI: {
      vb::checkArgCount(args, 3, 3);
      const QString file = argText(args[0]), section = argText(args[1]), key = argText(args[2]);
      if (file.isEmpty() || section.isEmpty() || key.isEmpty()) return text({});
      const auto path = externalRule(file);
      if (!path || !platform::fileExists(*path)) return text({});
      return text(startup::ReadIniValue(*path, section, key));
    }
    case kWriteINI: {
      vb::checkArgCount(args, 4, 4);
      const QString file = argText(args[0]), section = argText(args[1]), key = argText(args[2]);
      const QString value = argText(args[3]);
      // A line break in a name would write lines of its own into the file.
      if (platform::breaksLine(section) || platform::breaksLine(key)) vb::raise(vb::err::InvalidCall);
      if (!file.isEmpty() && !section.isEmpty() && !key.isEmpty()) {
        // Outside the game's folder nothing is written; like a failed write of
        // the original, it goes unreported.
        if (const auto path = externalRule(file)) startup::WriteIniValue(*path, section, key, value);
      }
      return {};
    }
    case kDDir: {
      vb::checkArgCount(args, 1, 2);
      const vb::Value& attrs = arg(args, 1);
      return text(DDir(argText(args[0]), attrs.deref().isMissing() ? 0 : argInt16(attrs)));
    }
    case kAddComponent: {
      vb::checkArgCount(args, 4, 4);
      const QString progId = argText(args[0]), name = argText(args[1]);
      const bool appear = argBool(args[2]), disappear = argBool(args[3]);
      game("AddComponent").components().AddAdditionalComponent(progId, name, appear, disappear);
      return {};
    }
    case kRemoveComponent:
      vb::checkArgCount(args, 1, 1);
      game("RemoveComponent").components().RemoveAdditionalComponent(argText(args[0]));
      return {};
    case kComponent:
      vb::checkArgCount(args, 1, 1);
      return game("Component").components().GetComponentRef(argText(args[0]));
    case kDoesComponentExist:
      vb::checkArgCount(args, 1, 1);
      try {
        return vb::Value(game_ && game_->components().DoesComponentExist(argText(args[0])));
      } catch (...) {
        report(QStringLiteral(" Error in DoesComponentExist. ") + describeCurrentException());
        return vb::Value(false);
      }
    case kInterceptComponentEvents: vb::checkArgCount(args, 1, 1); return {};
    case kIsComponentInstalled:
      vb::checkArgCount(args, 1, 1);
      return vb::Value(game("IsComponentInstalled").components().DoesProgIDExist(argText(args[0])));
    case kNO_FILE_SELECTED: return vb::Value(std::u16string());
    case kGetVariableReferenceFromName:
      vb::checkArgCount(args, 1, 1);
      return GetVariableReferenceFromName(argText(args[0]));
    case kDOUBLEQUOTES: return vb::Value(std::u16string(u"\""));
    case kNEWLINE: return vb::Value(std::u16string(u"\r\n"));
    case kConvertQuotesIntoDoubleQuotes: {
      vb::checkArgCount(args, 1, 1);
      QString s = argText(args[0]);
      s.replace(QLatin1String("\""), QLatin1String("\"\""));
      return text(s);
    }
    case kConvertToNumber: {
      vb::checkArgCount(args, 1, 1);
      return vb::Value(startup::vbVal(argText(args[0])));
    }
    case kGetEncryptedFileName: {
      vb::checkArgCount(args, 1, 1);
      const QString name = argText(args[0]);
      const QString stored = startup::GetStoredMediaFileName(name, false);
      return text(platform::fileExists(startup::inProjectFolder(startup::project().paths, stored)) ? stored : name);
    }
    case kRefreshWindow: if (game_) game_->repaint(); return {};
    case kQuitDialogue: game("QuitDialogue").dialogue().QuitDialogue(); return {};
    case kUpdateHotspotsState: game("UpdateHotspotsState").logic().ShowOrNotShowAreas(); return {};
    case kDoComponentsEvents:
      if (game_) game_->setEnabled(false);
      {
        vb::PauseTimeLimit pause;
        QCoreApplication::processEvents();
        platform::napFor(5);
      }
      if (game_) game_->setEnabled(true);
      return {};
    case kCaptureFrame: {
      vb::checkArgCount(args, 2, 2);
      engine::Game& g = game("CaptureFrame");
      const vb::Value& p = args[0].deref();
      if (!p.isObject() || !p.asObject()) vb::raise(vb::err::ObjectRequired);
      auto* ctl = dynamic_cast<ControlObject*>(p.asObject());
      auto* box = ctl ? qobject_cast<engine::PictureBoxControl*>(ctl->qobject()) : nullptr;
      if (!box) vb::raise(vb::err::TypeMismatch);
      if (vb::toBool(args[1].deref()))
        g.transitions().CaptureCurrentFrame(*box);
      else
        g.transitions().CaptureActualFrame(*box);
      return {};
    }
    case kSaveAPicture: {
      vb::checkArgCount(args, 2, 2);
      const vb::Value& p = args[0].deref();
      const QString file = argText(args[1]);
      QImage image;
      if (!p.isObject() || !p.asObject()) vb::raise(vb::err::ObjectRequired);
      if (auto* pic = dynamic_cast<PictureObject*>(p.asObject())) {
        image = pic->image();
      } else if (auto* ctl = dynamic_cast<ControlObject*>(p.asObject()); ctl && ctl->qobject()) {
        if (auto* w = qobject_cast<QWidget*>(ctl->qobject())) image = w->grab().toImage();
      }
      if (image.isNull()) raiseText(481, QStringLiteral("Invalid picture"));
      // Written like every other file of the game: inside its folder only.
      QByteArray bytes;
      QBuffer buffer(&bytes);
      buffer.open(QIODevice::WriteOnly);
      if (!image.save(&buffer, "BMP")) raiseText(481, QStringLiteral("Invalid picture"));
      try {
        platform::writeWholeFile(startup::inProjectFolder(startup::project().paths, file), bytes);
      } catch (const VbError& e) {
        vb::raise(e.number == 70 ? vb::err::PermissionDenied : vb::err::PathNotFound);
      }
      return {};
    }
    default: vb::raise(vb::err::NoSuchMember);
  }
}

}  // namespace qm::script
