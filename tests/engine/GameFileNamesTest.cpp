// Games as they come off old discs and archives: the same game with its frame
// file, background picture and background music named in raw Windows-1252, in
// raw DOS code page 437 or in UTF-8 plays the same, found from the names its
// Windows-1252 data files give; the frame list and the messages show such
// names as text.
#include <gtest/gtest.h>

#include <QFile>
#include <cstdio>

#include "GameFixture.h"
#include "engine/GameDisplay.h"
#include "media/MediaTestSupport.h"
#include "platform/NativeName.h"
#include "platform/RecordingDialogService.h"
#include "platform/Windows1252.h"
#include "startup/FrameHeader.h"
#include "startup/Project.h"

namespace mt = qm::media::testing;

namespace qm::testing {
namespace {

enum class Encoding { Windows1252, Dos437, Utf8 };

// The bytes under which an archive of that kind stores the name.
QByteArray encoded(const QString& name, Encoding e) {
  switch (e) {
    case Encoding::Windows1252: return platform::toWindows1252(name);
    case Encoding::Utf8: return name.toUtf8();
    case Encoding::Dos437: {
      QByteArray out;
      for (const QChar c : name) {
        switch (c.unicode()) {
          case u'É': out += '\x90'; break;
          case u'ê': out += '\x88'; break;
          case u'â': out += '\x83'; break;
          default: out += static_cast<char>(c.unicode()); break;
        }
      }
      return out;
    }
  }
  return {};
}

class GameFileNamesTest : public GameFixture, public ::testing::WithParamInterface<Encoding> {
 protected:
  // Gives a file the builder wrote (under its UTF-8 name) its name in `e`.
  void rename(GameFolderBuilder& folder, const QString& folderName, const QString& fileName, Encoding e) {
    const QByteArray dir = QFile::encodeName(folder.path(folderName)) + '/';
    ASSERT_TRUE(dir.startsWith(QFile::encodeName(folder.root())));  // inside the test's own folder
    ASSERT_EQ(std::rename((dir + fileName.toUtf8()).constData(), (dir + encoded(fileName, e)).constData()), 0);
  }
  // A game whose first frame "Forêt" shows the picture "Église.bmp" with the
  // music "Château.wav", all three named in `e` on disk.
  engine::Game& startForest(GameFolderBuilder& folder, Encoding e) {
    GeneralFields g;
    g.initialFrame = QString::fromUtf8("Forêt");
    g.width = 100;
    g.height = 100;
    folder.general(g);
    FrameSpec s;
    s.backgroundType = 1;
    s.background = QString::fromUtf8("Église.bmp");
    s.backgroundSound = QString::fromUtf8("Château.wav");
    frame(folder, QString::fromUtf8("Forêt"), s);
    folder.picture(QString::fromUtf8("Frames/Église.bmp"), 100, 100, Qt::green);
    QFile tone(mt::makeTone("tone.wav", 440, 2.0));
    EXPECT_TRUE(tone.open(QIODevice::ReadOnly));
    folder.file(QString::fromUtf8("Areas/Château.wav"), tone.readAll());
    rename(folder, "Frames", QString::fromUtf8("Forêt.fme"), e);
    rename(folder, "Frames", QString::fromUtf8("Église.bmp"), e);
    rename(folder, "Areas", QString::fromUtf8("Château.wav"), e);
    auto& game = startGame(folder);
    game.StartNewGame();
    return game;
  }
  const engine::MediaPlayerControl* playerOf(const QString& readableFileName) {
    for (int i = 1; i <= 7; ++i) {
      const auto& p = game().MPlayer[i];
      if (platform::readableName(p.fileName()).endsWith(readableFileName)) return &p;
    }
    return nullptr;
  }
};

TEST_P(GameFileNamesTest, FrameFilePictureAndMusicAreFoundFromTheDataFilesNames) {
  GameFolderBuilder folder;
  auto& g = startForest(folder, GetParam());
  EXPECT_EQ(boxCount(), 0u) << (boxCount() ? lastBox().text.toStdString() : std::string());
  EXPECT_EQ(startup::CurrentFrameName(), QString::fromUtf8("Forêt"));
  EXPECT_EQ(g.display().framePicture().pixel(50, 50), qRgb(0, 255, 0));
  const auto* music = playerOf(QString::fromUtf8("/Areas/Château.wav"));
  ASSERT_NE(music, nullptr);
  EXPECT_EQ(music->errorString(), QString());
  EXPECT_EQ(music->playState(), 2);
}

TEST_P(GameFileNamesTest, TheFrameListShowsFramesUnderTheirNames) {
  GameFolderBuilder folder;
  auto& g = startForest(folder, GetParam());
  QStringList captions;
  for (int i = 1; i <= g.mnuFrameName.UBound(); ++i)
    if (auto* item = g.mnuFrameName.item(i)) captions << item->caption();
  EXPECT_EQ(captions, QStringList{QString::fromUtf8("Forêt")});
  // Chosen from the list, it opens again.
  g.OpenFrame(captions.front(), false, 0, 0);
  EXPECT_EQ(boxCount(), 0u);
  EXPECT_EQ(startup::CurrentFrameName(), QString::fromUtf8("Forêt"));
}

INSTANTIATE_TEST_SUITE_P(Encodings, GameFileNamesTest,
                         ::testing::Values(Encoding::Windows1252, Encoding::Dos437, Encoding::Utf8),
                         [](const auto& info) {
                           switch (info.param) {
                             case Encoding::Windows1252: return std::string("RawWindows1252");
                             case Encoding::Dos437: return std::string("RawCodePage437");
                             case Encoding::Utf8: return std::string("Utf8");
                           }
                           return std::string();
                         });

TEST(GameFileNamesMessageTest, AFileNamedInRawBytesIsNamedAsTextInMessages) {
  platform::RecordingDialogService dialogs;
  platform::setDialogs(&dialogs);
  const QString native = "/games/" + platform::nameFromBytes(platform::toWindows1252(QString::fromUtf8("Forêt/Clé.bmp")));
  platform::messageBox(QString::fromUtf8("Cannot read « ") + native + " »", platform::MsgButtons::OK,
                       platform::MsgIcon::Warning, "Error");
  platform::setDialogs(nullptr);
  ASSERT_EQ(dialogs.count(), 1u);
  EXPECT_EQ(dialogs.last().text, QString::fromUtf8("Cannot read « /games/Forêt/Clé.bmp »"));
}

}  // namespace
}  // namespace qm::testing
