// Saved games: the file format field by field, a whole round trip, the save
// window's checks and questions, older and damaged files, the resume table,
// where saves live, and a save interrupted half-way.
#include <gtest/gtest.h>

#include <cstdio>

#include <QDialog>
#include <QFontInfo>
#include <QGuiApplication>
#include <QScreen>
#include <QLabel>
#include <QLineEdit>
#include <QMouseEvent>
#include <QPushButton>
#include <QFile>
#include <QFileInfo>
#include <QTemporaryDir>
#include <sys/stat.h>

#include "InventoryGameFixture.h"
#include "logic/DisappearList.h"
#include "logic/SavedGameFile.h"
#include "logic/SavedGameList.h"
#include "logic/frmLoadGame.h"
#include "logic/frmSaveGame.h"
#include "platform/InterfaceScale.h"
#include "platform/NativeFile.h"
#include "platform/NativeName.h"
#include "platform/Windows1252.h"
#include "script/ScriptValues.h"
#include "vbscript/Value.h"

namespace qm::testing {
namespace {

using logic::SavedGameData;
using logic::SavedGames;

QByteArray readFile(const QString& path) {
  QFile f(path);
  return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
}

QVariant held(vbs::Value v) {
  return QVariant::fromValue(script::HeldScriptValue{std::make_shared<vbs::Value>(std::move(v))});
}

// ---- The file format ---------------------------------------------------------------------

TEST(SavedGameFileTest, WritesOneValuePerLineInTheFixedOrder) {
  SavedGameData d;
  d.resumeFrame = "Hall";
  d.integers = {{"HasKey", 1}, {"Door", -1}};
  d.disappeared = {{"Hall", 2}};
  d.items = {"key", "rope"};
  d.history = QStringList{"Garden", "Hall"};
  d.info = logic::SavedGameInfo{"Demo", "The Demo", logic::savedGameDate(QDate(2026, 3, 7)), "Version 3.5.2"};
  d.variants.emplace();
  d.variants->emplace_back("Score", QVariant(2.5));
  d.variants->emplace_back("Name", QVariant(QStringLiteral("Ann")));
  d.variants->emplace_back("Lit", QVariant(true));
  d.variants->emplace_back("Met", held(vbs::Value::date(46088.5)));  // 2026-03-07 12:00
  d.variants->emplace_back("Nothing", QVariant());
  EXPECT_EQ(logic::writeSavedGame(d),
            QByteArray("\"Hall\"\r\n2\r\n\"HasKey\"\r\n1\r\n\"Door\"\r\n-1\r\n1\r\n\"Hall\"\r\n2\r\n2\r\n\"key\"\r\n"
                       "\"rope\"\r\n2\r\n\"Garden\"\r\n\"Hall\"\r\n\"\"\r\n\"\"\r\n\"\"\r\n\"Demo\"\r\n\"The Demo\"\r\n"
                       "\"03/07/2026\"\r\n\"Version 3.5.2\"\r\n5\r\n\"Score\"\r\n2.5\r\n\"Name\"\r\n\"Ann\"\r\n"
                       "\"Lit\"\r\n#TRUE#\r\n\"Met\"\r\n#2026-03-07 12:00:00#\r\n\"Nothing\"\r\n\r\n"));
}

TEST(SavedGameFileTest, EveryVariantKindReadsBackAsItWasWritten) {
  SavedGameData d;
  d.history = QStringList{};
  d.info = logic::SavedGameInfo{};
  d.variants.emplace();
  const std::vector<QVariant> values = {QVariant::fromValue<int16_t>(-7), QVariant(70000), QVariant(0.125),
                                        QVariant(QStringLiteral("a, b")), QVariant(false), QVariant(),
                                        held(vbs::Value::null()), held(vbs::Value::date(45000)),
                                        held(vbs::Value::date(0.25)), held(vbs::Value::error(5))};
  for (std::size_t i = 0; i < values.size(); ++i) d.variants->emplace_back(QString::number(i), values[i]);
  const SavedGameData back = logic::readSavedGame(logic::writeSavedGame(d));
  ASSERT_TRUE(back.variants);
  ASSERT_EQ(back.variants->size(), values.size());
  for (std::size_t i = 0; i < values.size(); ++i) {
    const vbs::Value want = script::fromQVariant(values[i]);
    const vbs::Value got = script::fromQVariant((*back.variants)[i].second);
    EXPECT_EQ(static_cast<int>(got.type()), static_cast<int>(want.type()) == 3 ? 3 : static_cast<int>(want.type()))
        << "value " << i;
    EXPECT_EQ(script::toQ(vbs::typeName(got)), script::toQ(vbs::typeName(want))) << "value " << i;
    if (!want.isNull() && want.type() != vbs::VarType::Error) {
      EXPECT_EQ(script::toQ(vbs::toString(got)), script::toQ(vbs::toString(want))) << "value " << i;
    }
  }
}

TEST(SavedGameFileTest, ADoubleQuoteInATextIsKeptAsAnApostropheAndShiftsNothing) {
  // A double quote would end the string early: every value after it would be read into the wrong place.
  SavedGameData d;
  d.resumeFrame = QStringLiteral("Hall");
  d.integers = {{QStringLiteral("a\"b"), 3}, {QStringLiteral("Score"), 12}};
  d.items = QStringList{QStringLiteral("key")};
  d.history = QStringList{QStringLiteral("Hall")};
  d.info = logic::SavedGameInfo{};
  d.variants.emplace();
  d.variants->emplace_back(QStringLiteral("Said"), QVariant(QStringLiteral("He said \"hi, there\"")));
  d.variants->emplace_back(QStringLiteral("Lit"), QVariant(true));
  const SavedGameData back = logic::readSavedGame(logic::writeSavedGame(d));
  ASSERT_EQ(back.integers.size(), 2u);
  EXPECT_EQ(back.integers[0].first, QStringLiteral("a'b"));
  EXPECT_EQ(back.integers[1].first, QStringLiteral("Score"));
  EXPECT_EQ(back.integers[1].second, 12);
  EXPECT_EQ(back.items, QStringList{QStringLiteral("key")});
  ASSERT_TRUE(back.variants);
  ASSERT_EQ(back.variants->size(), 2u);
  EXPECT_EQ((*back.variants)[0].second.toString(), QStringLiteral("He said 'hi, there'"));
  EXPECT_EQ((*back.variants)[1].first, QStringLiteral("Lit"));
  EXPECT_TRUE((*back.variants)[1].second.toBool());
}

TEST(SavedGameFileTest, AnObjectCannotBeWritten) {
  SavedGameData d;
  d.history = QStringList{};
  d.info = logic::SavedGameInfo{};
  d.variants.emplace();
  d.variants->emplace_back("Thing", held(vbs::Value::nothing()));
  EXPECT_THROW(logic::writeSavedGame(d), VbError);
}

TEST(SavedGameFileTest, OlderFilesEndAfterTheItemsTheHistoryOrTheVersion) {
  const QByteArray afterItems = "\"Hall\"\r\n0\r\n0\r\n1\r\n\"key\"\r\n";
  auto d = logic::readSavedGame(afterItems);
  EXPECT_EQ(d.items, QStringList{"key"});
  EXPECT_FALSE(d.history);
  const QByteArray afterHistory = afterItems + "1\r\n\"Hall\"\r\n";
  d = logic::readSavedGame(afterHistory);
  ASSERT_TRUE(d.history);
  EXPECT_FALSE(d.info);
  d = logic::readSavedGame(afterHistory + "\"\"\r\n\"\"\r\n\"\"\r\n\"P\"\r\n\"T\"\r\n\"01/02/2003\"\r\n\"Version 3.0\"\r\n");
  ASSERT_TRUE(d.info);
  EXPECT_EQ(d.info->date, "01/02/2003");
  EXPECT_FALSE(d.variants);
}

TEST(SavedGameFileTest, DamagedFilesFailWithAReasonAndKeepWhatWasRead) {
  const struct {
    const char* why;
    QByteArray bytes;
  } cases[] = {
      {"truncated inside the variables", "\"Hall\"\r\n3\r\n\"A\"\r\n1\r\n\"B\"\r\n"},
      {"a count larger than the pairs", "\"Hall\"\r\n0\r\n9\r\n\"Hall\"\r\n1\r\n"},
      {"text where a number belongs", "\"Hall\"\r\n\"two\"\r\n"},
      {"a value out of range", "\"Hall\"\r\n1\r\n\"A\"\r\n99999\r\n"},
  };
  for (const auto& c : cases) {
    QString failure;
    const auto d = logic::readSavedGame(c.bytes, &failure);
    EXPECT_FALSE(failure.isNull()) << c.why;
    EXPECT_EQ(d.resumeFrame, "Hall") << c.why;
    EXPECT_THROW(logic::readSavedGame(c.bytes), VbError) << c.why;
  }
  QString failure;
  EXPECT_EQ(logic::readSavedGame("\"Hall\"\r\n3\r\n\"A\"\r\n1\r\n\"B\"\r\n", &failure).integers.size(), 1u);
}

// ---- In the game ---------------------------------------------------------------------------

class SavedGamesTest : public InventoryGameFixture {
 protected:
  engine::Game& start(GameFolderBuilder& folder, const QStringList& integers = {"HasKey", "Door"},
                      const QStringList& variants = {"Score", "Name"}) {
    GeneralFields g;
    g.projectName = "SaveTest";
    g.gameTitle = "Save Test";
    g.initialFrame = "Hall";
    g.width = 320;
    g.height = 240;
    g.windowedMode = true;
    g.inventorySwitch5 = false;
    folder.general(g);
    folder.texts(0);
    folder.file("Config/Variables", variablesFileBytes(integers, variants));
    HotspotSpec a, b;
    b.x = 3000;
    frame(folder, "Hall", {a, b}, {ActionSpec{}, ActionSpec{}});
    frame(folder, "Garden", {a}, {ActionSpec{}});
    frame(folder, "Closeup", {a}, {ActionSpec{}});
    for (const char* name : {"key", "rope"}) item(folder, name);
    engine::Game& game = startGame(folder);
    game.show();
    return game;
  }
  QString savePath(const QString& name) { return startup::project().paths.project + name + ".sav"; }
  SavedGames::SaveResult save(const QString& name) { return saves().SaveGame(name); }
  bool load(const QString& name) {
    const auto entry = saves().findSavedGame(name);
    EXPECT_TRUE(entry) << name.toStdString();
    return entry && saves().LoadGame(*entry);
  }
};

TEST_F(SavedGamesTest, AGameComesBackWholeAfterSavingResettingAndLoading) {
  GameFolderBuilder folder;
  start(folder);
  auto& g = game();
  g.OpenFrame("Garden", false, 0, 0);
  logic().ChangeVariableValue("HasKey", 1);
  logic().ChangeVariableValue("Door", 5);
  logic().ChangeVariableVariantValue("Score", QVariant(12.75));
  logic().ChangeVariableVariantValue("Name", QVariant(QStringLiteral("Ann")));
  logic::addDisappearedHotspot(logic().Disappear, "Hall", 2);
  inventory().AddPickedObject("key", true);
  inventory().AddPickedObject("rope", true);
  inventory().AddPickedObject("key", true);
  const QStringList history = g.FramesHistory.items();
  ASSERT_EQ(save("slot one"), SavedGames::SaveResult::Saved);
  EXPECT_TRUE(QFileInfo::exists(savePath("slot one")));
  EXPECT_TRUE(QFileInfo::exists(SavedGames::previewPath(savePath("slot one"))));

  g.ResetAll();
  g.StartNewGame();
  ASSERT_EQ(items(), "");
  ASSERT_TRUE(load("slot one"));
  EXPECT_EQ(frameName(), "Garden");
  EXPECT_EQ(logic().GetVariableValue("HasKey"), 1);
  EXPECT_EQ(logic().GetVariableValue("Door"), 5);
  EXPECT_EQ(items(), "key|rope|key");
  EXPECT_TRUE(logic::isHotspotDisappeared(logic().Disappear, "Hall", 2));
  EXPECT_EQ(g.FramesHistory.items(), history);
  EXPECT_EQ(logic().variables.VariablesVariant.Item(1).Value.toDouble(), 12.75);
  EXPECT_EQ(logic().variables.VariablesVariant.Item(2).Value.toString(), "Ann");
  EXPECT_TRUE(g.isVisible());
  EXPECT_EQ(boxCount(), 0u) << allMessages().toStdString();
}

TEST_F(SavedGamesTest, MinusOneIsLoadedAsMinusOne) {
  GameFolderBuilder folder;
  folder.file("old.sav", "\"Hall\"\r\n1\r\n\"HasKey\"\r\n-1\r\n0\r\n0\r\n");
  start(folder);
  ASSERT_TRUE(load("old"));
  EXPECT_EQ(logic().GetVariableValue("HasKey"), -1);
}

TEST_F(SavedGamesTest, FilesOfOlderVersionsLoadWithoutHistoryOrVariants) {
  GameFolderBuilder folder;
  folder.file("old.sav", "\"Garden\"\r\n1\r\n\"Gone\"\r\n1\r\n0\r\n1\r\n\"rope\"\r\n");
  start(folder);
  ASSERT_TRUE(load("old"));
  EXPECT_EQ(frameName(), "Garden");
  EXPECT_EQ(items(), "rope");
  EXPECT_EQ(game().FramesHistory.items(), QStringList{"Garden"});  // only the frame opened since
  EXPECT_EQ(boxCount(), 0u) << allMessages().toStdString();
}

TEST_F(SavedGamesTest, ReplacingAsksAndCancelKeepsTheOldFile) {
  GameFolderBuilder folder;
  start(folder);
  ASSERT_EQ(save("mine"), SavedGames::SaveResult::Saved);
  const QByteArray before = readFile(savePath("mine"));
  logic().ChangeVariableValue("HasKey", 1);
  dialogs().queueAnswer(platform::MsgResult::Cancel);
  EXPECT_EQ(save("mine"), SavedGames::SaveResult::Cancelled);
  EXPECT_EQ(lastBox().text, "'mine' already exists. Do you want to replace it?");
  EXPECT_EQ(readFile(savePath("mine")), before);
  dialogs().queueAnswer(platform::MsgResult::OK);
  EXPECT_EQ(save("mine"), SavedGames::SaveResult::Saved);
  EXPECT_NE(readFile(savePath("mine")), before);
}

TEST_F(SavedGamesTest, ForbiddenCharactersAndEmptyNamesAreRefused) {
  GameFolderBuilder folder;
  start(folder);
  EXPECT_EQ(save("one, two"), SavedGames::SaveResult::Refused);
  EXPECT_EQ(lastBox().title, "Save Test");
  EXPECT_TRUE(lastBox().text.endsWith("\r\n\" \\ / : * ? < > | ,"));
  for (const char* bad : {"a\"b", "a\\b", "a/b", "a:b", "a*b", "a?b", "a<b", "a>b", "a|b"})
    EXPECT_EQ(save(bad), SavedGames::SaveResult::Refused) << bad;
  EXPECT_EQ(save(""), SavedGames::SaveResult::Refused);
  EXPECT_TRUE(saves().LoadSaveGames().empty());
}

TEST_F(SavedGamesTest, AnObjectInAVariantEndsTheSaveWithTheReportAndKeepsTheOldFile) {
  GameFolderBuilder folder;
  start(folder);
  ASSERT_EQ(save("mine"), SavedGames::SaveResult::Saved);
  const QByteArray before = readFile(savePath("mine"));
  logic().ChangeVariableVariantValue("Score", held(vbs::Value::nothing()));
  dialogs().queueAnswer(platform::MsgResult::OK);
  EXPECT_EQ(save("mine"), SavedGames::SaveResult::Failed);
  // The report ends with the list: no description follows.
  EXPECT_TRUE(lastBox().text.endsWith(" Unable to save '" + savePath("mine") + "'.\r\nVerify that this file is not "
                                      "Read-Only and that it does not contain any of the following characters: "
                                      "\" \\ / : * ? < > | ,"))
      << lastBox().text.toStdString();
  EXPECT_EQ(readFile(savePath("mine")), before);
}

TEST_F(SavedGamesTest, ASaveInterruptedAfterItsTemporaryFileLeavesThePreviousSaveIntact) {
  GameFolderBuilder folder;
  start(folder);
  ASSERT_EQ(save("mine"), SavedGames::SaveResult::Saved);
  const QByteArray before = readFile(savePath("mine"));
  logic().ChangeVariableValue("HasKey", 1);
  SavedGames::setBeforeReplaceHook([] { throw VbError(61, "Disk full"); });
  dialogs().queueAnswer(platform::MsgResult::OK);
  EXPECT_EQ(save("mine"), SavedGames::SaveResult::Failed);
  SavedGames::setBeforeReplaceHook({});
  EXPECT_EQ(readFile(savePath("mine")), before);
  ASSERT_EQ(saves().LoadSaveGames().size(), 1u);  // the half-written file is not listed
}

TEST_F(SavedGamesTest, DamagedFilesGiveTheLoadReportAndLeaveAPlayableGame) {
  GameFolderBuilder folder;
  folder.file("truncated.sav", "\"Garden\"\r\n2\r\n\"HasKey\"\r\n1\r\n\"Do");
  folder.file("wrongcount.sav", "\"Garden\"\r\n0\r\n0\r\n5\r\n\"key\"\r\n");
  folder.file("text.sav", "\"Garden\"\r\n\"many\"\r\n");
  folder.file("longname.sav", "\"" + QByteArray(10000, 'x') + "\"\r\n0\r\n0\r\n0\r\n");
  folder.file("empty.sav", "");
  start(folder);
  for (const char* name : {"truncated", "wrongcount", "text", "longname", "empty"}) {
    dialogs().clear();
    EXPECT_FALSE(load(name)) << name;
    EXPECT_EQ(dialogs().count(), 1u) << name << allMessages().toStdString();
    EXPECT_EQ(messagesContaining(" Unable to load '" + savePath(name) + "'."), 1u) << name;
    EXPECT_TRUE(lastBox().text.endsWith(" Unable to load '" + savePath(name) + "'.")) << "no description follows";
    EXPECT_TRUE(game().isVisible()) << name;
    EXPECT_FALSE(frameName().isEmpty()) << name;
  }
  // What was read before the damage stays applied.
  load("truncated");
  EXPECT_EQ(logic().GetVariableValue("HasKey"), 1);
  EXPECT_EQ(frameName(), "Garden");
}

TEST_F(SavedGamesTest, TheResumeTableRedirectsIgnoringCaseAndSkipsEmptyTargets) {
  GameFolderBuilder folder;
  startup::RecordWriter resume;
  for (int i = 0; i < 6; ++i) resume.str("header");
  resume.str("CLOSEUP").str("Garden").str("Hall").str("");
  folder.records("Config/Resume", resume);
  folder.file("a.sav", "\"Closeup\"\r\n0\r\n0\r\n0\r\n");
  folder.file("b.sav", "\"Hall\"\r\n0\r\n0\r\n0\r\n");
  start(folder);
  EXPECT_EQ(SavedGames::GetResumeLocation("closeup"), "Garden");
  EXPECT_EQ(SavedGames::GetResumeLocation(""), "");
  ASSERT_TRUE(load("a"));
  EXPECT_EQ(frameName(), "Garden");
  ASSERT_TRUE(load("b"));
  EXPECT_EQ(frameName(), "Hall");
}

TEST_F(SavedGamesTest, TheListShowsTheNewestFirst) {
  GameFolderBuilder folder;
  folder.file("old.sav", "\"Hall\"\r\n0\r\n0\r\n0\r\n");
  folder.file("new.sav", "\"Garden\"\r\n0\r\n0\r\n0\r\n");
  folder.file(".sav", "");
  start(folder);
  QFile(savePath("old")).setFileTime(QDateTime::currentDateTime().addDays(-2), QFileDevice::FileModificationTime);
  const auto list = saves().LoadSaveGames();
  ASSERT_EQ(list.size(), 2u);
  EXPECT_EQ(list[0].name, "new");
  EXPECT_EQ(list[0].frame, "Garden");
  EXPECT_EQ(list[1].name, "old");
}

TEST_F(SavedGamesTest, ASaveNamedInRawWindows1252IsListedLoadedAndReplacedUnderItsName) {
  GameFolderBuilder folder;
  start(folder);
  ASSERT_EQ(save("tmp"), SavedGames::SaveResult::Saved);
  // As copied from a Windows disk: "Château.sav" in Windows-1252 bytes.
  const QByteArray dir = QFile::encodeName(startup::project().paths.project);
  ASSERT_TRUE(dir.startsWith(QFile::encodeName(folder.root())));
  const QByteArray raw = dir + platform::toWindows1252(QString::fromUtf8("Château.sav"));
  ASSERT_EQ(std::rename((dir + "tmp.sav").constData(), raw.constData()), 0);
  const auto list = saves().LoadSaveGames();
  ASSERT_EQ(list.size(), 1u);
  EXPECT_EQ(list[0].name, QString::fromUtf8("Château"));
  EXPECT_EQ(list[0].frame, "Hall");
  EXPECT_TRUE(load(QString::fromUtf8("Château")));
  EXPECT_EQ(boxCount(), 0u);
  // Saving under that name again replaces it: no second file beside it.
  dialogs().queueAnswer(platform::MsgResult::OK);
  EXPECT_EQ(save(QString::fromUtf8("CHÂTEAU")), SavedGames::SaveResult::Saved);
  EXPECT_EQ(saves().LoadSaveGames().size(), 1u);
  EXPECT_TRUE(platform::isPlainFileAt(platform::nameFromBytes(raw)));
}

TEST_F(SavedGamesTest, AReadOnlyGameSavesInTheUserDataFolderAndListsBothPlaces) {
  GameFolderBuilder folder;
  folder.file("shipped.sav", "\"Hall\"\r\n0\r\n0\r\n0\r\n");
  start(folder);
  SavedGames::setProjectFolderWritableOverride(false);
  ASSERT_EQ(save("mine"), SavedGames::SaveResult::Saved);
  const QString userFile = dataHome() + "/quillmere/saves/SaveTest/mine.sav";
  EXPECT_TRUE(QFileInfo::exists(userFile));
  EXPECT_FALSE(QFileInfo::exists(savePath("mine")));
  QStringList names;
  for (const auto& e : saves().LoadSaveGames()) names << e.name;
  names.sort();
  EXPECT_EQ(names, QStringList({"mine", "shipped"}));
  EXPECT_TRUE(load("mine"));
}

// A game folder from strangers may ship a link named like the temporary file
// of a save: saving never writes through it, nor renames it over the save.
TEST_F(SavedGamesTest, ALinkNamedLikeTheTemporaryFileIsNeverWrittenThrough) {
  QTemporaryDir outside;
  ASSERT_TRUE(outside.isValid());
  const QString victim = outside.path() + "/victim.txt";
  {
    QFile f(victim);
    ASSERT_TRUE(f.open(QIODevice::WriteOnly));
    f.write("precious");
  }
  GameFolderBuilder folder;
  ASSERT_TRUE(QFile::link(victim, folder.path(".slot1.sav.part")));
  start(folder);
  ASSERT_EQ(save("slot1"), SavedGames::SaveResult::Saved);
  EXPECT_EQ(readFile(victim), "precious");
  EXPECT_FALSE(QFileInfo(savePath("slot1")).isSymLink());
  EXPECT_TRUE(readFile(savePath("slot1")).startsWith("\"Hall\"\r\n"));
  EXPECT_TRUE(QFileInfo(folder.path(".slot1.sav.part")).isSymLink());  // not ours: left alone
}

// A saved game that is a link to a file elsewhere, a pipe or a folder named
// like a save is neither listed nor loaded.
TEST_F(SavedGamesTest, OnlyRegularFilesInsideTheSaveFolderAreSavedGames) {
  QTemporaryDir outside;
  ASSERT_TRUE(outside.isValid());
  const QString planted = outside.path() + "/planted.sav";
  {
    QFile f(planted);
    ASSERT_TRUE(f.open(QIODevice::WriteOnly));
    f.write("\"Garden\"\r\n1\r\n\"HasKey\"\r\n7\r\n0\r\n0\r\n");
  }
  GameFolderBuilder folder;
  folder.file("Saves/inside.sav", "\"Garden\"\r\n0\r\n0\r\n0\r\n");
  ASSERT_TRUE(QFile::link(planted, folder.path("outside.sav")));
  ASSERT_TRUE(QFile::link(folder.path("Saves/inside.sav"), folder.path("linked.sav")));
  ASSERT_EQ(::mkfifo(QFile::encodeName(folder.path("pipe.sav")).constData(), 0600), 0);
  QDir().mkpath(folder.path("folder.sav"));
  start(folder);
  QStringList names;
  for (const auto& e : saves().LoadSaveGames()) names << e.name;
  EXPECT_EQ(names, QStringList({"linked"}));  // a link that stays in the game's folder is a save
  logic::SavedGameEntry forged;
  forged.name = "outside";
  forged.path = startup::project().paths.project + "outside.sav";
  EXPECT_FALSE(saves().LoadGame(forged));
  EXPECT_NE(logic().GetVariableValue("HasKey"), 7);
}

TEST_F(SavedGamesTest, RemovingAsksFirst) {
  GameFolderBuilder folder;
  start(folder);
  ASSERT_EQ(save("mine"), SavedGames::SaveResult::Saved);
  const auto entry = *saves().findSavedGame("mine");
  dialogs().queueAnswer(platform::MsgResult::Cancel);
  EXPECT_FALSE(saves().RemoveSavedGame(entry));
  EXPECT_EQ(lastBox().text, "Do you really want to remove '" + entry.path + "'?");
  EXPECT_TRUE(QFileInfo::exists(entry.path));
  dialogs().queueAnswer(platform::MsgResult::OK);
  EXPECT_TRUE(saves().RemoveSavedGame(entry));
  EXPECT_FALSE(QFileInfo::exists(entry.path));
  EXPECT_FALSE(QFileInfo::exists(SavedGames::previewPath(entry.path)));
}

// ---- The windows -------------------------------------------------------------------------

TEST_F(SavedGamesTest, TheLoadWindowDoesNotOpenWhileAScriptTimerRunsWhenAskedSo) {
  GameFolderBuilder folder;
  start(folder);
  int opened = 0;
  SavedGames::setWindowHook([&](QDialog&) { ++opened; });
  auto& timer = game().TimerObject.Load(1);
  timer.setInterval(500);
  timer.setEnabled(true);
  saves().ShowLoadGameWindow(true);
  EXPECT_EQ(opened, 0);
  saves().ShowLoadGameWindow(false);
  EXPECT_EQ(opened, 1);
  timer.setInterval(0);
  saves().ShowLoadGameWindow(true);  // enabled with no interval does not count
  EXPECT_EQ(opened, 2);
}

TEST_F(SavedGamesTest, TheWindowsPauseTheFrameTimerAndCancelGivesItBack) {
  GameFolderBuilder folder;
  start(folder);
  game().Timer1.setInterval(60000);
  game().Timer1.setEnabled(true);
  bool timerOffMeanwhile = false;
  SavedGames::setWindowHook([&](QDialog& d) {
    timerOffMeanwhile = !game().Timer1.enabled();
    if (auto* w = qobject_cast<logic::frmLoadGame*>(&d)) w->Command1->click();
  });
  saves().ShowLoadGameWindow(false);
  EXPECT_TRUE(timerOffMeanwhile);
  EXPECT_TRUE(saves().loadCancelled());
  EXPECT_TRUE(game().Timer1.enabled());
  saves().ShowSaveGameWindow();
  EXPECT_TRUE(game().Timer1.enabled());
}

TEST_F(SavedGamesTest, TheSaveWindowsTextsAndButtons) {
  GameFolderBuilder folder;
  start(folder);
  ASSERT_EQ(save("first"), SavedGames::SaveResult::Saved);
  SavedGames::setWindowHook([&](QDialog& d) {
    auto* w = qobject_cast<logic::frmSaveGame*>(&d);
    ASSERT_TRUE(w);
    EXPECT_EQ(w->windowTitle(), startup::InterfaceText(21));
    EXPECT_EQ(w->Command2->text(), startup::InterfaceText(25));
    EXPECT_EQ(w->Command3->text(), startup::InterfaceText(22));
    ASSERT_EQ(w->List1->topLevelItemCount(), 1);
    EXPECT_EQ(w->List1->topLevelItem(0)->text(2), "Hall");  // the frame
    EXPECT_FALSE(w->List1->topLevelItem(0)->text(1).isEmpty());  // the date
    w->Command3->click();  // nothing selected
    EXPECT_EQ(lastBox().text, startup::InterfaceText(9));
    w->Text1->setText("second");
    w->Command2->click();
    EXPECT_FALSE(w->isVisible());
  });
  saves().ShowSaveGameWindow();
  EXPECT_TRUE(QFileInfo::exists(savePath("second")));
}

TEST_F(SavedGamesTest, LoadWithNothingSelectedAsksToSelect) {
  GameFolderBuilder folder;
  start(folder);
  SavedGames::setWindowHook([&](QDialog& d) {
    auto* w = qobject_cast<logic::frmLoadGame*>(&d);
    ASSERT_TRUE(w);
    EXPECT_EQ(w->Command2->text(), startup::InterfaceText(19));
    w->Command2->click();
    EXPECT_EQ(lastBox().title, startup::InterfaceText(17));
    EXPECT_TRUE(w->isEnabled());
  });
  saves().ShowLoadGameWindow(false);
}

// A left click on a list row, as the mouse gives it: press, then release.
void clickRow(logic::SavedGameList& list, int row) {
  QCoreApplication::processEvents();  // the rows laid out
  const QRect rect = list.visualItemRect(list.topLevelItem(row)) & list.viewport()->rect();
  ASSERT_FALSE(rect.isEmpty()) << "row " << row << " is not in sight";
  const QPoint at = rect.center();
  const QPoint global = list.viewport()->mapToGlobal(at);
  QMouseEvent press(QEvent::MouseButtonPress, QPointF(at), QPointF(global), Qt::LeftButton, Qt::LeftButton,
                    Qt::NoModifier);
  QCoreApplication::sendEvent(list.viewport(), &press);
  QMouseEvent release(QEvent::MouseButtonRelease, QPointF(at), QPointF(global), Qt::LeftButton, Qt::NoButton,
                      Qt::NoModifier);
  QCoreApplication::sendEvent(list.viewport(), &release);
}

// The row a mouse chooses shows its picture, as one chosen with the keys does;
// a save whose picture is gone shows its name.
TEST_F(SavedGamesTest, AMouseClickOnARowShowsThatSavedGamesPictureOrName) {
  GameFolderBuilder folder;
  start(folder);
  ASSERT_EQ(save("with picture"), SavedGames::SaveResult::Saved);
  ASSERT_EQ(save("without picture"), SavedGames::SaveResult::Saved);
  ASSERT_TRUE(QFile::remove(SavedGames::previewPath(savePath("without picture"))));
  bool checked = false;
  SavedGames::setWindowHook([&](QDialog& d) {
    auto* w = qobject_cast<logic::frmLoadGame*>(&d);
    ASSERT_TRUE(w);
    ASSERT_EQ(w->List1->topLevelItemCount(), 2);
    const int withPicture = w->List1->topLevelItem(0)->text(0) == "with picture" ? 0 : 1;
    ASSERT_TRUE(w->picPreview->pixmap().isNull());  // nothing chosen yet
    clickRow(*w->List1, withPicture);
    ASSERT_NE(w->List1->selectedEntry(), nullptr);
    EXPECT_EQ(w->List1->selectedEntry()->name, "with picture");
    EXPECT_FALSE(w->picPreview->pixmap().isNull());
    // What is painted is the picture, not the panel's dark background alone.
    const QImage shown = w->picPreview->grab().toImage();
    const QRgb background = qRgb(0x20, 0x20, 0x20);
    EXPECT_NE(shown.pixel(shown.width() / 2, shown.height() / 2), background);
    clickRow(*w->List1, 1 - withPicture);
    EXPECT_TRUE(w->picPreview->pixmap().isNull());
    EXPECT_EQ(w->picPreview->text(), "without picture");
    checked = true;
  });
  saves().ShowLoadGameWindow(false);
  EXPECT_TRUE(checked);
}

// With the game drawn larger than its own size, so are its save and load windows.
TEST_F(SavedGamesTest, TheWindowsGrowWithTheGamePicture) {
  GameFolderBuilder folder;
  start(folder);
  ASSERT_EQ(save("first"), SavedGames::SaveResult::Saved);
  auto look = [&](double scale) {
    platform::SetInterfaceScale(scale);
    std::pair<double, QSize> load, saveWindow;
    SavedGames::setWindowHook([&](QDialog& d) {
      if (auto* w = qobject_cast<logic::frmLoadGame*>(&d)) load = {QFontInfo(w->List1->font()).pointSizeF(), w->picPreview->size()};
      if (auto* w = qobject_cast<logic::frmSaveGame*>(&d))
        saveWindow = {QFontInfo(w->Text1->font()).pointSizeF(), w->Command2->sizeHint()};
    });
    saves().ShowLoadGameWindow(false);
    saves().ShowSaveGameWindow();
    return std::pair{load, saveWindow};
  };
  const auto [load1, save1] = look(1.0);
  const auto [load2, save2] = look(2.0);
  EXPECT_EQ(load1.second, QSize(320, 240));
  // Twice as large where the screen has room; never more than half of it, so
  // that the list stays readable beside it (the offscreen screen is 800 x 600).
  const QSize half = QGuiApplication::primaryScreen()->availableGeometry().size() / 2;
  EXPECT_EQ(load2.second, QSize(640, 480).scaled(half, Qt::KeepAspectRatio).boundedTo(QSize(640, 480)));
  EXPECT_GT(load2.second.width(), load1.second.width());
  EXPECT_NEAR(load2.first, 2 * load1.first, 0.6);
  EXPECT_NEAR(save2.first, 2 * save1.first, 0.6);
  EXPECT_GE(save2.second.height(), 1.6 * save1.second.height());  // the SAVE button
}

TEST_F(SavedGamesTest, ScriptsPopTheWindowsUpAfterTheirRun) {
  GameFolderBuilder folder;
  start(folder);
  QStringList opened;
  SavedGames::setWindowHook([&](QDialog& d) { opened << d.objectName(); });
  EXPECT_EQ(logic().ExecuteVBScriptAndConsequences("Action.PopupSaveGame", true), script::ScriptResult::Ok);
  EXPECT_EQ(logic().ExecuteVBScriptAndConsequences("Action.PopupLoadGame", true), script::ScriptResult::Ok);
  EXPECT_EQ(opened, QStringList({"frmSaveGame", "frmLoadGame"}));
}

}  // namespace
}  // namespace qm::testing
