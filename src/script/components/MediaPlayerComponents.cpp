// The media player controls scripts add: the newer one ("WMPlayer.OCX", with
// URL, controls, settings and playState) and the older one
// ("MediaPlayer.MediaPlayer.1", with the members the game window's own players
// have). Both play through the media layer and pause around transitions.
#include <QPointer>
#include <algorithm>
#include <cmath>

#include "media/MediaPlayer.h"
#include "platform/FileResolver.h"
#include "script/HostObject.h"
#include "script/ScriptValues.h"
#include "script/components/ComponentRegistry.h"
#include "script/components/HostedComponent.h"
#include "startup/MediaFiles.h"

namespace qm::script {

namespace vb = qm::vbs;
using engine::PropertyDef;
using engine::PropertyTable;

namespace {

bool isWrite(vb::InvokeKind kind) { return kind == vb::InvokeKind::PropertyLet || kind == vb::InvokeKind::PropertySet; }

// The media layer's player filling the control, and what both kinds share:
// loading a game path, pausing (the layer's Stop keeps the position), and
// pausing for a transition.
class MediaComponent : public HostedComponent {
 public:
  MediaComponent(const QString& typeName, const QString& name, QWidget* canvas)
      : HostedComponent(typeName, name, canvas), player_(new media::MediaPlayer) {
    raisesKeyPress_ = false;
    player_->setAutoSize(false);
    setInner(player_);
    QObject::connect(player_, &media::MediaPlayer::ended, this, [this] {
      paused_ = false;
      stopped_ = true;
      ended();
    });
  }
  media::MediaPlayer& player() const { return *player_; }

  // A game path (backslashes, any case, stored media names); "" unloads.
  void load(const QString& path) {
    paused_ = pausedForTransition_ = stopped_ = false;
    source_ = path;
    if (path.isEmpty()) {
      player_->setFileName(QString());
      return;
    }
    const QString located = startup::LocateMediaFile(path);
    const auto native = platform::resolveExisting(located);
    player_->setFileName(native.value_or(QString()));
    if (autoStart_ && native) play();
  }
  QString source() const { return source_; }
  bool autoStart() const { return autoStart_; }
  void setAutoStart(bool a) { autoStart_ = a; }

  void play() {
    const int before = state();
    paused_ = stopped_ = false;
    player_->Play();
    changed(before);
  }
  void stop() {
    const int before = state();
    paused_ = false;
    stopped_ = true;
    player_->Stop();
    player_->setCurrentPosition(0);
    changed(before);
  }
  void pause() {
    if (player_->PlayState() != media::MediaPlayer::Playing) return;
    const int before = state();
    player_->Stop();
    paused_ = true;
    changed(before);
  }
  // Around transitions: only a player that is playing pauses, and only that one resumes.
  void PauseComponent() {
    pausedForTransition_ = player_->PlayState() == media::MediaPlayer::Playing;
    if (pausedForTransition_) pause();
  }
  void ResumeComponent() {
    if (pausedForTransition_ && paused_) play();
    pausedForTransition_ = false;
  }
  bool paused() const { return paused_; }
  // Stopped by a call or by reaching the end (not merely loaded).
  bool stopped() const { return stopped_; }

 protected:
  // The kind's own play state; the change is reported as its event.
  virtual int state() const = 0;
  virtual void changed(int before) = 0;
  virtual void ended() = 0;

 private:
  media::MediaPlayer* player_;
  QString source_;
  bool autoStart_ = true;
  bool paused_ = false;
  bool stopped_ = false;
  bool pausedForTransition_ = false;
};

vb::Value pauseComponent(HostedComponent& c, vb::InvokeKind, std::span<vb::Value> args) {
  vb::checkArgCount(args, 0, 0);
  static_cast<MediaComponent&>(c).PauseComponent();
  return {};
}
vb::Value resumeComponent(HostedComponent& c, vb::InvokeKind, std::span<vb::Value> args) {
  vb::checkArgCount(args, 0, 0);
  static_cast<MediaComponent&>(c).ResumeComponent();
  return {};
}

// ---- The newer player ----------------------------------------------------------------

class WindowsMediaPlayer;

// player.controls: play, stop, pause, currentPosition.
class PlayerControlsObject : public HostObject {
 public:
  explicit PlayerControlsObject(MediaComponent* p) : player_(p) {}
  std::u16string typeName() const override { return u"IWMPControls"; }
  bool hasDefaultMember() const override { return false; }

 protected:
  std::span<const vb::MemberEntry> members() const override {
    static constexpr vb::MemberEntry kMembers[] = {
        {u"play", 1}, {u"stop", 2}, {u"pause", 3}, {u"currentPosition", 4}};
    return kMembers;
  }
  vb::Value call(vb::DispId id, vb::InvokeKind kind, std::span<vb::Value> args) override {
    if (!player_) raiseText(340, QStringLiteral("The component no longer exists"));
    switch (id) {
      case 1: vb::checkArgCount(args, 0, 0); player_->play(); return {};
      case 2: vb::checkArgCount(args, 0, 0); player_->stop(); return {};
      case 3: vb::checkArgCount(args, 0, 0); player_->pause(); return {};
      case 4:
        if (isWrite(kind)) {
          vb::checkArgCount(args, 1, 1);
          player_->player().setCurrentPosition(std::max(0.0, argNumber(args[0])));
          return {};
        }
        return vb::Value(player_->player().CurrentPosition());
      default: vb::raise(vb::err::NoSuchMember);
    }
  }

 private:
  QPointer<MediaComponent> player_;
};

// player.settings: volume 0-100, playCount, autoStart, mute.
class PlayerSettingsObject : public HostObject {
 public:
  explicit PlayerSettingsObject(WindowsMediaPlayer* p);
  std::u16string typeName() const override { return u"IWMPSettings"; }
  bool hasDefaultMember() const override { return false; }

 protected:
  std::span<const vb::MemberEntry> members() const override {
    static constexpr vb::MemberEntry kMembers[] = {{u"volume", 1}, {u"playCount", 2}, {u"autoStart", 3}, {u"mute", 4}};
    return kMembers;
  }
  vb::Value call(vb::DispId id, vb::InvokeKind kind, std::span<vb::Value> args) override;

 private:
  QPointer<WindowsMediaPlayer> player_;
};

class WindowsMediaPlayer : public MediaComponent {
 public:
  // wmpps values of playState.
  enum { kUndefined = 0, kStopped = 1, kPaused = 2, kPlaying = 3, kMediaEnded = 8, kReady = 10 };

  WindowsMediaPlayer(const QString& name, QWidget* canvas)
      : MediaComponent(QStringLiteral("WindowsMediaPlayer"), name, canvas) {
    setUiMode(QStringLiteral("full"));
  }
  const PropertyTable& propertyTable() const override {
    static const PropertyDef props[] = {
        QM_PROP(WindowsMediaPlayer, "URL", source, load, toString),
        QM_PROP_RO(WindowsMediaPlayer, "playState", state),
        QM_PROP(WindowsMediaPlayer, "uiMode", uiMode, setUiMode, toString),
        QM_PROP(WindowsMediaPlayer, "stretchToFit", stretchToFit, setStretchToFit, toBool),
    };
    static const PropertyTable table{props, &HostedComponent::propertyTable()};
    return table;
  }
  QString defaultMember() const override { return QStringLiteral("URL"); }
  std::span<const ComponentMethod> methods() const override;

  // 0 full volume... 100 in the control's own scale: 100 full, 0 silent.
  int volume() const { return volume_; }
  void setVolume(int v) {
    volume_ = std::clamp(v, 0, 100);
    applyVolume();
  }
  bool mute() const { return mute_; }
  void setMute(bool m) {
    mute_ = m;
    applyVolume();
  }
  QString uiMode() const { return uiMode_; }
  // "full" and "mini" show the control's bar; "none" and "invisible" do not.
  void setUiMode(const QString& m) {
    uiMode_ = m.toLower();
    player().setShowControls(uiMode_ == QLatin1String("full") || uiMode_ == QLatin1String("mini"));
  }
  bool stretchToFit() const { return !player().AutoSize(); }
  void setStretchToFit(bool s) { player().setAutoSize(!s); }

  int state() const override {
    if (paused()) return kPaused;
    if (player().PlayState() == media::MediaPlayer::Playing) return kPlaying;
    if (stopped()) return kStopped;
    return source().isEmpty() ? kUndefined : kReady;
  }

 protected:
  void changed(int before) override {
    const int now = state();
    if (now != before) raiseEvent(QStringLiteral("PlayStateChange"), {{QStringLiteral("NewState"), vb::Value(now)}});
  }
  void ended() override {
    raiseEvent(QStringLiteral("PlayStateChange"), {{QStringLiteral("NewState"), vb::Value(int32_t{kMediaEnded})}});
    raiseEvent(QStringLiteral("PlayStateChange"), {{QStringLiteral("NewState"), vb::Value(int32_t{kStopped})}});
  }

 private:
  void applyVolume() {
    // The control's scale is linear in loudness steps; the layer's is hundredths of a decibel.
    if (mute_ || volume_ == 0) return player().setVolume(-10000);
    player().setVolume(static_cast<int>(std::lround(2000.0 * std::log10(volume_ / 100.0))));
  }
  int volume_ = 100;
  bool mute_ = false;
  QString uiMode_;
};

PlayerSettingsObject::PlayerSettingsObject(WindowsMediaPlayer* p) : player_(p) {}

vb::Value PlayerSettingsObject::call(vb::DispId id, vb::InvokeKind kind, std::span<vb::Value> args) {
  if (!player_) raiseText(340, QStringLiteral("The component no longer exists"));
  const bool write = isWrite(kind);
  vb::checkArgCount(args, write ? 1 : 0, write ? 1 : 0);
  switch (id) {
    case 1:
      if (write) player_->setVolume(argInt16(args[0]));
      return write ? vb::Value() : vb::Value(static_cast<int32_t>(player_->volume()));
    case 2:
      if (write) player_->player().setPlayCount(std::max<int>(0, argInt16(args[0])));
      return write ? vb::Value() : vb::Value(static_cast<int32_t>(player_->player().PlayCount()));
    case 3:
      if (write) player_->setAutoStart(argBool(args[0]));
      return write ? vb::Value() : vb::Value(player_->autoStart());
    case 4:
      if (write) player_->setMute(argBool(args[0]));
      return write ? vb::Value() : vb::Value(player_->mute());
    default: vb::raise(vb::err::NoSuchMember);
  }
}

const ComponentMethod kWmpMethods[] = {
    {u"controls",
     [](HostedComponent& c, vb::InvokeKind kind, std::span<vb::Value> args) -> vb::Value {
       if (isWrite(kind)) raiseText(383, QStringLiteral("'controls' property is read-only"));
       vb::checkArgCount(args, 0, 0);
       return vb::Value(new PlayerControlsObject(&static_cast<MediaComponent&>(c)));
     }},
    {u"settings",
     [](HostedComponent& c, vb::InvokeKind kind, std::span<vb::Value> args) -> vb::Value {
       if (isWrite(kind)) raiseText(383, QStringLiteral("'settings' property is read-only"));
       vb::checkArgCount(args, 0, 0);
       return vb::Value(new PlayerSettingsObject(&static_cast<WindowsMediaPlayer&>(c)));
     }},
    {u"close",
     [](HostedComponent& c, vb::InvokeKind, std::span<vb::Value> args) -> vb::Value {
       vb::checkArgCount(args, 0, 0);
       auto& p = static_cast<WindowsMediaPlayer&>(c);
       p.stop();
       p.load(QString());
       return {};
     }},
    {u"PauseComponent", pauseComponent},
    {u"ResumeComponent", resumeComponent},
};

std::span<const ComponentMethod> WindowsMediaPlayer::methods() const { return kWmpMethods; }

// ---- The older player -------------------------------------------------------------------

class OlderMediaPlayer : public MediaComponent {
 public:
  OlderMediaPlayer(const QString& name, QWidget* canvas) : MediaComponent(QStringLiteral("MediaPlayer"), name, canvas) {}
  const PropertyTable& propertyTable() const override {
    static const PropertyDef props[] = {
        QM_PROP(OlderMediaPlayer, "FileName", source, load, toString),
        QM_PROP(OlderMediaPlayer, "PlayCount", playCount, setPlayCount, toInt),
        QM_PROP(OlderMediaPlayer, "Volume", volume, setVolume, toInt),
        QM_PROP(OlderMediaPlayer, "CurrentPosition", position, setPosition, toDouble),
        QM_PROP(OlderMediaPlayer, "Rate", rate, setRate, toDouble),
        QM_PROP(OlderMediaPlayer, "AutoSize", autoSize, setAutoSize, toBool),
        QM_PROP(OlderMediaPlayer, "ShowControls", showControls, setShowControls, toBool),
        QM_PROP(OlderMediaPlayer, "AutoStart", autoStart, setAutoStart, toBool),
        QM_PROP_RO(OlderMediaPlayer, "PlayState", state),
        QM_PROP_RO(OlderMediaPlayer, "Duration", duration),
    };
    static const PropertyTable table{props, &HostedComponent::propertyTable()};
    return table;
  }
  QString defaultMember() const override { return QStringLiteral("FileName"); }
  std::span<const ComponentMethod> methods() const override;

  int playCount() const { return player().PlayCount(); }
  void setPlayCount(int c) { player().setPlayCount(std::max(0, c)); }
  int volume() const { return player().Volume(); }
  void setVolume(int v) { player().setVolume(std::clamp(v, -10000, 0)); }
  double position() const { return player().CurrentPosition(); }
  void setPosition(double s) { player().setCurrentPosition(std::max(0.0, s)); }
  double rate() const { return player().Rate(); }
  void setRate(double r) { player().setRate(r); }
  bool autoSize() const { return player().AutoSize(); }
  void setAutoSize(bool a) { player().setAutoSize(a); }
  bool showControls() const { return player().ShowControls(); }
  void setShowControls(bool s) { player().setShowControls(s); }
  double duration() const { return player().Duration(); }

  // 0 stopped, 1 paused, 2 playing.
  int state() const override {
    if (paused()) return 1;
    return player().PlayState() == media::MediaPlayer::Playing ? 2 : 0;
  }

 protected:
  void changed(int before) override {
    const int now = state();
    if (now != before)
      raiseEvent(QStringLiteral("PlayStateChange"), {{QStringLiteral("OldState"), vb::Value(static_cast<int32_t>(before))},
                                                     {QStringLiteral("NewState"), vb::Value(static_cast<int32_t>(now))}});
  }
  void ended() override {
    raiseEvent(QStringLiteral("EndOfStream"), {{QStringLiteral("Result"), vb::Value(int32_t{0})}});
    raiseEvent(QStringLiteral("PlayStateChange"),
               {{QStringLiteral("OldState"), vb::Value(int32_t{2})}, {QStringLiteral("NewState"), vb::Value(int32_t{0})}});
  }
};

const ComponentMethod kOlderMethods[] = {
    {u"Play",
     [](HostedComponent& c, vb::InvokeKind, std::span<vb::Value> args) -> vb::Value {
       vb::checkArgCount(args, 0, 0);
       static_cast<MediaComponent&>(c).play();
       return {};
     }},
    {u"Stop",
     [](HostedComponent& c, vb::InvokeKind, std::span<vb::Value> args) -> vb::Value {
       vb::checkArgCount(args, 0, 0);
       // The older control's Stop keeps the position, as the game window's players do.
       auto& p = static_cast<MediaComponent&>(c);
       const double at = p.player().CurrentPosition();
       p.stop();
       p.player().setCurrentPosition(at);
       return {};
     }},
    {u"Pause",
     [](HostedComponent& c, vb::InvokeKind, std::span<vb::Value> args) -> vb::Value {
       vb::checkArgCount(args, 0, 0);
       static_cast<MediaComponent&>(c).pause();
       return {};
     }},
    {u"PauseComponent", pauseComponent},
    {u"ResumeComponent", resumeComponent},
};

std::span<const ComponentMethod> OlderMediaPlayer::methods() const { return kOlderMethods; }

template <class T>
HostedComponent* make(const QString& name, QWidget* canvas) {
  return new T(name, canvas);
}

const ComponentKind kKinds[] = {
    {"WMPlayer.OCX", make<WindowsMediaPlayer>},
    {"WMPlayer.OCX.7", make<WindowsMediaPlayer>},
    {"MediaPlayer.MediaPlayer.1", make<OlderMediaPlayer>},
    {"MediaPlayer.MediaPlayer", make<OlderMediaPlayer>},
};

}  // namespace

std::span<const ComponentKind> mediaPlayerComponentKinds() { return kKinds; }

}  // namespace qm::script
