// The demo's study on a real screen, clicked by a person: the keeper's answers
// are painted where the player can read them, the drawer's find included.
#include <QDir>
#include <QDirIterator>
#include <QFile>
#include <QImage>

#include "RealWindowTest.h"
#include "engine/Game.h"

namespace qm::testing {
namespace {

// The demo game as it ships, opening in its study.
void demoInTheStudy(GameFolderBuilder& folder) {
  const QDir demo(QStringLiteral(QM_SOURCE_DIR "/demo"));
  QDirIterator it(demo.path(), QDir::Files, QDirIterator::Subdirectories);
  while (it.hasNext()) {
    const QString path = it.next();
    QFile file(path);
    ASSERT_TRUE(file.open(QIODevice::ReadOnly)) << path.toStdString();
    QByteArray bytes = file.readAll();
    const QString name = demo.relativeFilePath(path);
    if (name == QLatin1String("Config/General")) {
      ASSERT_TRUE(bytes.contains("\"Hall\",\"Version 1.0\""));
      bytes.replace("\"Hall\",\"Version 1.0\"", "\"Study\",\"Version 1.0\"");
    }
    folder.file(name, bytes);
  }
}

// Something is drawn there: not all of it one colour.
bool drawn(const QImage& shot) {
  if (shot.isNull()) return false;
  for (int y = 0; y < shot.height(); ++y)
    for (int x = 0; x < shot.width(); ++x)
      if (shot.pixel(x, y) != shot.pixel(0, 0)) return true;
  return false;
}

class DialogueOnScreenTest : public RealWindowTest {
 protected:
  // Waits until a widget showing the text is visible and on top; nullptr when none comes.
  QWidget* readable(const QString& text, bool whole = true) {
    QWidget* found = nullptr;
    waitUntil([&] {
      found = whole ? findVisible(text) : findVisibleContaining(text);
      return found && onTop(found);
    });
    return found && onTop(found) ? found : nullptr;
  }
};

TEST_F(DialogueOnScreenTest, TheKeepersAnswersAreReadableOnTheScreen) {
  GameFolderBuilder folder;
  demoInTheStudy(folder);
  play([&] {
    ASSERT_TRUE(startGame(folder));
    QWidget* greeting = readable("Good evening. Who are you?");
    ASSERT_TRUE(greeting) << shownBoxes().toStdString();
    clickOn(greeting);
    EXPECT_TRUE(readable("I keep the light", false));

    // This question has the keeper open his drawer through the drawer
    // hotspot's own action; what he finds must reach the screen.
    QWidget* drawer = readable("What is in the drawer?");
    ASSERT_TRUE(drawer);
    clickOn(drawer);
    QWidget* find = readable("an old sea chart", false);
    ASSERT_TRUE(find) << (findVisibleContaining("an old sea chart") ? "shown but covered" : "not shown");
    EXPECT_TRUE(waitUntil([&] { return drawn(grab(find)); })) << "the text is not painted";

    // The last question comes back once the answer has gone.
    EXPECT_TRUE(readable("Goodbye."));
  });
}

}  // namespace
}  // namespace qm::testing
