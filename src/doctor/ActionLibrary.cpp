#include "doctor/ActionLibrary.h"

#include <QHash>

namespace qm::doctor {

std::optional<ArgumentRange> actionMemberArguments(const QString& name) {
  // Members that take a fixed number of arguments; members missing here take
  // none and ignore any given.
  static const QHash<QString, ArgumentRange> kMembers = {
      {QStringLiteral("popupsavegame"), {0, 0}},
      {QStringLiteral("popuploadgame"), {0, 0}},
      {QStringLiteral("gotoframe"), {3, 3}},
      {QStringLiteral("resetmodule"), {0, 0}},
      {QStringLiteral("stopeverything"), {0, 0}},
      {QStringLiteral("message"), {1, 1}},
      {QStringLiteral("additem"), {2, 2}},
      {QStringLiteral("sendemail"), {1, 1}},
      {QStringLiteral("openurl"), {1, 1}},
      {QStringLiteral("openfile"), {1, 1}},
      {QStringLiteral("openexefileandwait"), {1, 1}},
      {QStringLiteral("loadapicture"), {2, 2}},
      {QStringLiteral("loadpicture"), {0, 1}},
      {QStringLiteral("loadgraphicfile"), {1, 1}},
      {QStringLiteral("getpath"), {1, 1}},
      {QStringLiteral("removeitem"), {2, 2}},
      {QStringLiteral("loadcontrol"), {1, 1}},
      {QStringLiteral("unloadcontrol"), {1, 1}},
      {QStringLiteral("changedisplayresolution"), {1, 1}},
      {QStringLiteral("changedisplayresolutiononloadgame"), {1, 1}},
      {QStringLiteral("createtimedevent"), {3, 3}},
      {QStringLiteral("removetimedevent"), {1, 1}},
      {QStringLiteral("saveparameter"), {2, 2}},
      {QStringLiteral("loadparameter"), {1, 2}},
      {QStringLiteral("changedefaultcursor"), {1, 1}},
      {QStringLiteral("readini"), {3, 3}},
      {QStringLiteral("writeini"), {4, 4}},
      {QStringLiteral("ddir"), {1, 2}},
      {QStringLiteral("addcomponent"), {4, 4}},
      {QStringLiteral("removecomponent"), {1, 1}},
      {QStringLiteral("component"), {1, 1}},
      {QStringLiteral("doescomponentexist"), {1, 1}},
      {QStringLiteral("interceptcomponentevents"), {1, 1}},
      {QStringLiteral("iscomponentinstalled"), {1, 1}},
      {QStringLiteral("getvariablereferencefromname"), {1, 1}},
      {QStringLiteral("convertquotesintodoublequotes"), {1, 1}},
      {QStringLiteral("converttonumber"), {1, 1}},
      {QStringLiteral("getencryptedfilename"), {1, 1}},
      {QStringLiteral("captureframe"), {2, 2}},
      {QStringLiteral("saveapicture"), {2, 2}},
  };
  const auto it = kMembers.constFind(name.toLower());
  if (it == kMembers.constEnd()) return std::nullopt;
  return *it;
}

}  // namespace qm::doctor
