// The media player control: one sound, music piece or video, loaded by path, played
// once, n times or without end, at a volume in hundredths of a decibel. Sound goes
// through the shared mixer; a video's pictures are shown in this widget, at their
// natural size (AutoSize) or stretched to the widget. Decoding happens on a worker
// thread; every member is called from the user-interface thread and returns at once.
//
// Member names follow the control the games were written against, so that the game
// window and scripts can use them by name (also through the Qt property system).
#pragma once

#include <QImage>
#include <QString>
#include <QWidget>
#include <memory>


namespace qm::platform {
class GameTimer;
}

namespace qm::media {

class MediaSession;
class MediaControlBar;

class MediaPlayer : public QWidget {
  Q_OBJECT
  Q_PROPERTY(QString FileName READ FileName WRITE setFileName)
  Q_PROPERTY(double CurrentPosition READ CurrentPosition WRITE setCurrentPosition)
  Q_PROPERTY(double Rate READ Rate WRITE setRate)
  Q_PROPERTY(int PlayCount READ PlayCount WRITE setPlayCount)
  Q_PROPERTY(int Volume READ Volume WRITE setVolume)
  Q_PROPERTY(int PlayState READ PlayState)
  Q_PROPERTY(bool AutoSize READ AutoSize WRITE setAutoSize)
  Q_PROPERTY(bool ShowControls READ ShowControls WRITE setShowControls)
  Q_PROPERTY(double Duration READ Duration)

 public:
  // Values of PlayState.
  enum State { Stopped = 0, Paused = 1, Playing = 2 };
  // Dispatch numbers under which scripts of the games reach the members.
  enum DispatchId {
    DispIdVolume = 19,
    DispIdFileName = 1026,
    DispIdCurrentPosition = 1027,
    DispIdRate = 1028,
    DispIdPlayCount = 1030,
    DispIdPlayState = 1068,
    DispIdPlay = 2001,
    DispIdStop = 2003,
  };

  explicit MediaPlayer(QWidget* parent = nullptr);
  ~MediaPlayer() override;

  // Loads the file (a native path); setting the same path again loads it afresh. Never
  // starts playback. An empty path unloads. False, with errorString(), when the file
  // cannot be played; the player is then empty and idle.
  bool setFileName(const QString& path);
  QString FileName() const { return fileName_; }

  // Seconds into the media; 0 rewinds.
  double CurrentPosition() const;
  void setCurrentPosition(double seconds);

  // Playback rate: 1 normal, 2 twice as fast (also higher in pitch). 0 or less counts as 1.
  double Rate() const { return rate_; }
  void setRate(double rate);

  // 1 plays once, n plays n times, 0 repeats without end.
  int PlayCount() const { return playCount_; }
  void setPlayCount(int count);

  // Loudness in hundredths of a decibel: 0 full, -2000 a tenth of the amplitude,
  // -10000 or lower silent. The gain is 10^(Volume/2000).
  int Volume() const { return volume_; }
  void setVolume(int centibels);

  // 2 while playing; 0 when stopped, finished, failed or empty.
  int PlayState() const;

  // Starts playing and returns at once; after the end starts over. False (with
  // errorString()) when nothing playable is loaded. Playing again while playing does nothing.
  Q_INVOKABLE bool Play();
  // Silences at once; the position is kept, so Play resumes.
  Q_INVOKABLE void Stop();

  // True: the control takes the video's natural size (plus the control bar when shown).
  bool AutoSize() const { return autoSize_; }
  void setAutoSize(bool on);
  // The control's own bar (play, stop, position) under the picture.
  bool ShowControls() const { return showControls_; }
  void setShowControls(bool on);

  // Length of the media in seconds (0 when unknown or empty).
  double Duration() const;
  bool hasVideo() const;
  QSize naturalSize() const;
  // The picture on screen now (null when none), for frame captures.
  QImage currentPicture() const { return picture_; }
  // Description of the last failure (loading, playing or decoding); empty when none.
  QString errorString() const;

  // Mixes sound into the shared output; for tests and tools: time when the first sound
  // after the last Play was mixed (steady clock, ns since epoch; 0 when none yet).
  qint64 firstSoundTimeNs() const;

 signals:
  // The media played to its end (all its repeats).
  void ended();
  // Decoding failed after loading; PlayState is idle.
  void errorOccurred(const QString& description);

 protected:
  void paintEvent(QPaintEvent* event) override;
  void resizeEvent(QResizeEvent* event) override;

 private:
  void unload();
  void poll();
  void applyAutoSize();
  void layoutControls();
  QRect pictureRect() const;
  void updateTimer();
  void showPictureWhileIdle();

  QString fileName_;
  std::unique_ptr<MediaSession> session_;
  double rate_ = 1.0;
  int playCount_ = 1;
  int volume_ = 0;
  bool autoSize_ = true;
  bool showControls_ = false;
  QString error_;
  QImage picture_;
  platform::GameTimer* timer_ = nullptr;
  MediaControlBar* bar_ = nullptr;
  bool wasPlaying_ = false;
  int idlePolls_ = 0;  // polls left to pick up a picture while not playing (after a load or a seek)
};

}  // namespace qm::media
