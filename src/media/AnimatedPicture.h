// The animated-picture control: shows a GIF (or any still picture) by path at its
// natural size, animates it in a loop, lets what lies under its transparent pixels
// show through, and gives its still first image for frame captures.
//
// Speed: the number is a percentage of the GIF's own pace, halved, so that the
// games' default of 50 plays the GIF exactly as its frame delays say; 100 plays twice
// as fast, 25 at half speed. A frame's delay is its stored delay × 50 / Speed. A
// stored delay under 20 ms (0 or 1 hundredth) counts as 100 ms, as browsers do. Speed
// below 1 means 50.
#pragma once

#include <QFile>
#include <QImage>
#include <QImageReader>
#include <QString>
#include <QWidget>
#include <memory>

class QTimer;

namespace qm::media {

class AnimatedPicture : public QWidget {
  Q_OBJECT
  Q_PROPERTY(QString FileName READ FileName WRITE setFileName)
  Q_PROPERTY(int Speed READ Speed WRITE setSpeed)

 public:
  static constexpr int kNormalSpeed = 50;
  static constexpr int kDefaultDelayMs = 100;  // for frames stored without a usable delay

  explicit AnimatedPicture(QWidget* parent = nullptr);
  ~AnimatedPicture() override;

  // Loads the picture (a native path), shows its first image and takes its natural
  // size; the animation does not start by itself. False (with errorString()) when the
  // file cannot be read; the control is then empty. An empty path empties it.
  bool setFileName(const QString& path);
  QString FileName() const { return fileName_; }

  int Speed() const { return speed_; }
  void setSpeed(int speed);

  // Starts the animation from its first image.
  Q_INVOKABLE void start();
  // Stops it; the image on screen stays.
  Q_INVOKABLE void stop();
  bool isRunning() const;

  QSize naturalSize() const { return naturalSize_; }
  int frameCount() const { return frameCount_; }
  int currentFrame() const { return current_; }
  // How long the image on screen stays at the current speed, in milliseconds.
  int currentDelayMs() const { return scaledDelay(currentStoredDelay_); }
  // The delay the file stores for the image on screen (after the under-20 ms rule).
  int currentStoredDelayMs() const { return currentStoredDelay_; }
  // A stored delay scaled by the current speed.
  int scaledDelay(int storedDelayMs) const;
  QImage stillImage() const { return first_; }
  QImage currentImage() const { return image_; }
  QString errorString() const { return error_; }

 signals:
  void frameChanged(int frame);

 protected:
  void paintEvent(QPaintEvent* event) override;

 private:
  bool openReader();
  bool readNext();
  void advance();
  void scheduleNext();

  QString fileName_;
  QString error_;
  std::unique_ptr<QFile> device_;  // the open file the reader reads
  std::unique_ptr<QImageReader> reader_;
  QImage image_;
  QImage first_;
  QSize naturalSize_;
  int frameCount_ = 0;
  int current_ = -1;
  int currentStoredDelay_ = kDefaultDelayMs;
  int speed_ = kNormalSpeed;
  QTimer* timer_;
};

}  // namespace qm::media
