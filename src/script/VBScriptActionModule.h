// The action library scripts drive the game with ("Action", its members also
// callable by name). Members that change the flow of the game (going to a
// frame, quitting, the load and save windows) only record a request; the
// caller that ran the script carries it out afterwards.
#pragma once

#include <QString>
#include <QStringList>
#include <optional>

#include "engine/ScriptActionModule.h"
#include "script/HostObject.h"

namespace qm::engine {
class Game;
}

namespace qm::script {

class VBScriptActionModule : public HostObject {
 public:
  // The requests live in the game window (game.state().VBScriptAction); without a
  // window (tests, tools) the object keeps its own.
  explicit VBScriptActionModule(engine::Game* game);

  std::u16string typeName() const override { return u"VBScriptActionModule"; }
  bool hasDefaultMember() const override { return false; }
  const void* classKey() const override;

  engine::VBScriptActionModule& requests() { return game_ ? gameRequests() : own_; }
  // Clears the requests: no frame, transition 1, no duration, no stop, no
  // pop-ups. The hotspot number is kept.
  void ResetModule();

  // The resolution the load-game window switches to (0 = none).
  int resolutionOnLoadGame() const { return resolutionOnLoadGame_; }
  void setResolutionOnLoadGame(int r) { resolutionOnLoadGame_ = r; }

  // A bare file name (no folder separator) lives in External\; a name with a
  // separator is a path of its own. nullopt when the file would lie outside the
  // game's folder (absolute paths elsewhere, "..", links that lead out).
  static std::optional<QString> externalRule(const QString& fileName);

  // What some members do, callable from C++ as well.
  void GoToFrame(const QString& frame, double duration, int transition);
  QString GetPath(int which) const;
  QString DDir(const QString& pattern, int attributes);
  void CreateObject();
  QString LoadParameter(const QString& name, const vbs::Value& defaultValue);
  void SaveParameter(const QString& name, const vbs::Value& value);
  vbs::Value GetVariableReferenceFromName(const QString& name);

 protected:
  vbs::Value call(vbs::DispId id, vbs::InvokeKind kind, std::span<vbs::Value> args) override;
  std::span<const vbs::MemberEntry> members() const override;

 private:
  engine::VBScriptActionModule& gameRequests();
  engine::Game& game(const char* member);
  vbs::Value pictureFromFile(const QString& fileName, const QString& failureText, bool assign, const vbs::Value& control);
  void changeDefaultCursor(const QString& fileName);
  vbs::Value LoadPicture(const QString& fileName);

  engine::Game* game_;
  engine::VBScriptActionModule own_;
  int resolutionOnLoadGame_ = 0;
  QStringList ddirMatches_;
  int ddirNext_ = 0;
};

}  // namespace qm::script
