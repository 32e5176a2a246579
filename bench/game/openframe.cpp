// Median time of opening a frame with an 800x600 JPEG background, 40 hotspots
// (half with pictures) and 20 text boxes: warm (pictures decoded before) and
// cold (every picture decoded again), and with the first paint of the picture.
#include <QApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QImage>
#include <QPainter>
#include <QTemporaryDir>
#include <algorithm>
#include <ctime>
#include <cstdio>
#include <vector>

#include "engine/Game.h"
#include "engine/PictureCache.h"
#include "logic/GameLogic.h"
#include "platform/RecordingDialogService.h"
#include "startup/InitializeProject.h"
#include "startup/Project.h"
#include "startup/RecordWriter.h"

using qm::startup::RecordWriter;

namespace {

void writeFile(const QString& path, const QByteArray& bytes) {
  QFile f(path);
  f.open(QIODevice::WriteOnly);
  f.write(bytes);
}

void buildGame(const QString& root) {
  for (const char* d : {"Frames", "FramesData", "Areas", "Config", "Icons"}) QDir(root).mkpath(d);
  RecordWriter general;
  general.str("Bench").str("").str("Bench").integer(0).str("Room0").str("1").integer(800).integer(600)
      .str("").str("").str("");
  writeFile(root + "/Config/General", general.bytes());
  RecordWriter vars;
  vars.str("v").str("Flag").str("Other");
  writeFile(root + "/Config/Variables", vars.bytes());

  QImage bg(800, 600, QImage::Format_RGB32);
  QPainter p(&bg);
  QLinearGradient g(0, 0, 800, 600);
  g.setColorAt(0, QColor(90, 60, 30));
  g.setColorAt(1, QColor(20, 30, 60));
  p.fillRect(bg.rect(), g);
  for (int i = 0; i < 200; ++i) p.fillRect((i * 37) % 800, (i * 53) % 600, 20, 12, QColor(i % 255, (i * 3) % 255, 90));
  p.end();
  bg.save(root + "/Frames/back.jpg", "JPG", 85);
  for (int i = 0; i < 20; ++i) {
    QImage pic(60 + i, 40 + i, QImage::Format_ARGB32);
    pic.fill(QColor(40 + i * 10, 200 - i * 5, 100, 255));
    pic.save(root + QString("/Areas/pic%1.png").arg(i));
  }

  for (int frame = 0; frame < 2; ++frame) {
    const QString name = QString("Room%1").arg(frame);
    RecordWriter fme;
    fme.integer(1).str("back.jpg").boolean(false).boolean(false).str("").boolean(false).num(0).str("").str("").str("");
    writeFile(root + "/Frames/" + name + ".fme", fme.bytes());
    RecordWriter lks;
    lks.integer(40);
    writeFile(root + "/Frames/" + name + ".lks", lks.bytes());
    RecordWriter fm2;
    for (int i = 0; i < 40; ++i) {
      const bool picture = i % 2 == 0;
      fm2.integer(0).integer(0);
      for (int k = 0; k < 8; ++k) fm2.integer(0);
      fm2.num((i % 8) * 1500).num((i / 8) * 1500).num(1200).num(1200).integer(0).boolean(picture)
          .str(picture ? QString("pic%1.png").arg(i / 2) : QString()).integer(0).str("default").integer(1)
          .integer(1).str("Flag").integer(1).str("Other").str("0").boolean(false).str("").integer(0).num(10)
          .integer(0).integer(0).num(1).integer(1).integer(0).integer(0).separator();
    }
    writeFile(root + "/FramesData/" + name + ".fm2", fm2.bytes());
    RecordWriter fm1;
    for (int i = 0; i < 20; ++i) {
      fm1.integer(0).integer(0);
      for (int k = 0; k < 8; ++k) fm1.integer(0);
      fm1.str(QString("Text box number %1").arg(i)).num((i % 4) * 3000).num((i / 4) * 1500).boolean(i % 2)
          .boolean(i % 3 == 0).str(i % 2 ? "Arial" : "Liberation Serif").num(10 + i % 5).boolean(false)
          .boolean(i % 4 == 0).integer(0xFFFFFF).integer(0).endRecord();
    }
    writeFile(root + "/FramesData/" + name + ".fm1", fm1.bytes());
  }
}

double median(std::vector<double> v) {
  std::sort(v.begin(), v.end());
  return v.empty() ? 0 : v[v.size() / 2];
}

}  // namespace

int main(int argc, char** argv) {
  qputenv("QT_QPA_PLATFORM", "offscreen");
  QApplication app(argc, argv);
  QTemporaryDir dir;
  buildGame(dir.path());
  qm::platform::RecordingDialogService dialogs;
  qm::platform::setDialogs(&dialogs);
  qm::startup::InitializeProject(dir.path());
  qm::engine::Game game;
  game.ResetAll();
  game.show();
  game.StartNewGame();
  QCoreApplication::processEvents();

  // CPU time of this thread: the machine may be busy with other work.
  std::vector<double> wall;
  auto time = [&](auto&& what) {
    timespec a{}, b{};
    QElapsedTimer w;
    w.start();
    clock_gettime(CLOCK_THREAD_CPUTIME_ID, &a);
    what();
    clock_gettime(CLOCK_THREAD_CPUTIME_ID, &b);
    wall.push_back(w.nsecsElapsed() / 1e6);
    return (b.tv_sec - a.tv_sec) * 1e3 + (b.tv_nsec - a.tv_nsec) / 1e6;
  };
  const int runs = 41;
  std::vector<double> cold, warm, painted;
  for (int i = 0; i < runs; ++i) {
    qm::engine::PictureCache::instance().clear();
    cold.push_back(time([&] { game.OpenFrame(i % 2 ? "Room0" : "Room1", false, 0, 0); }));
    QCoreApplication::processEvents();
  }
  const std::vector<double> coldWall = wall;
  wall.clear();
  for (int i = 0; i < runs; ++i) {
    warm.push_back(time([&] { game.OpenFrame(i % 2 ? "Room0" : "Room1", false, 0, 0); }));
    QCoreApplication::processEvents();
  }
  const std::vector<double> warmWall = wall;
  QImage target(800, 600, QImage::Format_RGB32);
  for (int i = 0; i < runs; ++i) {
    painted.push_back(time([&] {
      game.OpenFrame(i % 2 ? "Room0" : "Room1", false, 0, 0);
      game.PictureBox->render(&target);
    }));
    QCoreApplication::processEvents();
  }
  std::printf("OpenFrame (thread CPU time), 800x600 JPEG background, 40 hotspots (20 with pictures), 20 text boxes, %d runs each\n", runs);
  std::printf("  cold (pictures decoded again):   median %.2f ms  (target < 25 ms); wall clock %.2f ms\n", median(cold),
              median(coldWall));
  std::printf("  warm (pictures already decoded): median %.2f ms  (target < 8 ms); wall clock %.2f ms\n", median(warm),
              median(warmWall));
  std::printf("  warm, with painting the picture: median %.2f ms\n", median(painted));
  std::printf("  shown: %d hotspots, %d text boxes; picture cache %.1f MB; messages %zu\n",
              game.Area.Count() - 1, game.Text.Count() - 1, qm::engine::PictureCache::instance().bytesInUse() / 1048576.0,
              dialogs.count());
  qm::platform::setDialogs(nullptr);
  return 0;
}
