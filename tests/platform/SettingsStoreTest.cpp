#include <gtest/gtest.h>

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QTemporaryDir>
#include <functional>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include "platform/NativeName.h"
#include "platform/SettingsStore.h"

using qm::platform::SettingsStore;

namespace {

class SettingsStoreTest : public ::testing::Test {
 protected:
  void SetUp() override { SettingsStore::instance().setFileForTests(dir_.path() + "/cfg/settings.ini"); }
  void TearDown() override { SettingsStore::instance().setFileForTests({}); }
  SettingsStore& store() { return SettingsStore::instance(); }
  QTemporaryDir dir_;
};

}  // namespace

TEST_F(SettingsStoreTest, AbsentValuesGiveTheDefault) {
  EXPECT_EQ(store().get("Game", "ChangeResolution", "1"), "1");
  EXPECT_EQ(store().get("Game", "Nothing"), "");
}

TEST_F(SettingsStoreTest, ValuesSurviveAndAreKeptPerSection) {
  store().set("Game A", "DisableTransitions", "True");
  store().set("Game B", "DisableTransitions", "False");
  EXPECT_EQ(store().get("Game A", "DisableTransitions"), "True");
  EXPECT_EQ(store().get("game b", "disabletransitions"), "False");
  EXPECT_TRUE(QFile::exists(dir_.path() + "/cfg/settings.ini"));
}

TEST_F(SettingsStoreTest, AnyTextRoundTrips) {
  const QStringList values = {"  padded  ", "a=b", "[section]", "line1\r\nline2", "\"quoted\"", "'x'",
                              "100%", QString::fromUtf8("café € 日本"), "", "%41"};
  int i = 0;
  for (const QString& v : values) store().set("G", QString("k%1").arg(i++), v);
  i = 0;
  for (const QString& v : values) EXPECT_EQ(store().get("G", QString("k%1").arg(i++), "default"), v);
}

TEST_F(SettingsStoreTest, OddSectionAndKeyNames) {
  store().set("My [Game] = 1", "key=with]chars", "v");
  EXPECT_EQ(store().get("My [Game] = 1", "key=with]chars"), "v");
  EXPECT_EQ(store().get("My", "key"), "");
}

TEST_F(SettingsStoreTest, ApplicationsAreSeparate) {
  store().set("Other", "G", "k", "x");
  EXPECT_EQ(store().get("G", "k"), "");
  EXPECT_EQ(store().get("Other", "G", "k", ""), "x");
  store().set("G", "k", "y");
  store().remove("G", "k");
  EXPECT_EQ(store().get("G", "k", "gone"), "gone");
}

TEST_F(SettingsStoreTest, DefaultLocationFollowsXdgConfigHome) {
  store().setFileForTests({});
  const QByteArray savedEnv = qgetenv("QM_SETTINGS_FILE");
  const QByteArray savedXdg = qgetenv("XDG_CONFIG_HOME");
  qunsetenv("QM_SETTINGS_FILE");
  qputenv("XDG_CONFIG_HOME", dir_.path().toUtf8());
  EXPECT_EQ(store().file(), dir_.path() + "/quillmere/settings.ini");
  qputenv("QM_SETTINGS_FILE", "/tmp/elsewhere.ini");
  EXPECT_EQ(store().file(), "/tmp/elsewhere.ini");
  if (savedEnv.isEmpty()) qunsetenv("QM_SETTINGS_FILE"); else qputenv("QM_SETTINGS_FILE", savedEnv);
  if (savedXdg.isEmpty()) qunsetenv("XDG_CONFIG_HOME"); else qputenv("XDG_CONFIG_HOME", savedXdg);
}

// The settings file is shared by every game and every running player: a fault
// of one must never cost the others their settings.
namespace {

QByteArray fileBytes(const QString& path) {
  QFile f(path);
  return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
}

void writeBytes(const QString& path, const QByteArray& bytes) {
  QDir().mkpath(QFileInfo(path).absolutePath());
  QFile f(path);
  ASSERT_TRUE(f.open(QIODevice::WriteOnly));
  f.write(bytes);
}

// Runs fn in a child process and gives its exit code. As root the child drops
// to an unprivileged user first, so that file permissions hold for it.
int inChildProcess(const std::function<int()>& fn, bool unprivileged) {
  fflush(nullptr);
  const pid_t pid = ::fork();
  if (pid == 0) {
    if (unprivileged && ::geteuid() == 0 && (::setgid(65534) != 0 || ::setuid(65534) != 0)) ::_exit(99);
    ::_exit(fn());
  }
  int status = 0;
  ::waitpid(pid, &status, 0);
  return WIFEXITED(status) ? WEXITSTATUS(status) : 98;
}

}  // namespace

TEST_F(SettingsStoreTest, AnUnreadableFileIsNeverRewritten) {
  const QString path = dir_.path() + "/cfg/settings.ini";
  const QByteArray original = "[Software/Other game]\r\nDisableEffects=True\r\n";
  writeBytes(path, original);
  ASSERT_EQ(::chmod(QFile::encodeName(path).constData(), 0), 0);
  ::chmod(QFile::encodeName(dir_.path()).constData(), 0777);
  ::chmod(QFile::encodeName(dir_.path() + "/cfg").constData(), 0777);
  const int code = inChildProcess(
      [&] {
        store().set("Game", "ChangeResolution", "1");
        store().set("Game", "DisableTransitions", "True");
        // Kept in memory for the rest of the run.
        return store().get("Game", "ChangeResolution") == "1" && store().get("Game", "DisableTransitions") == "True"
                   ? 0
                   : 1;
      },
      true);
  EXPECT_EQ(code, 0);
  ::chmod(QFile::encodeName(path).constData(), 0600);
  EXPECT_EQ(fileBytes(path), original);
}

TEST_F(SettingsStoreTest, TwoPlayersWritingAtOnceLoseNoKey) {
  const QString path = dir_.path() + "/cfg/settings.ini";
  constexpr int kKeys = 150;
  auto writer = [&](const QString& game) {
    return [&, game] {
      for (int i = 0; i < kKeys; ++i) store().set(game, QString("k%1").arg(i), QString::number(i));
      return 0;
    };
  };
  fflush(nullptr);
  const pid_t a = ::fork();
  if (a == 0) ::_exit(writer("Game A")());
  const int b = inChildProcess(writer("Game B"), false);
  int status = 0;
  ::waitpid(a, &status, 0);
  EXPECT_EQ(b, 0);
  int kept = 0;
  for (const QString& game : {QString("Game A"), QString("Game B")})
    for (int i = 0; i < kKeys; ++i) kept += store().get(game, QString("k%1").arg(i)) == QString::number(i);
  EXPECT_EQ(kept, 2 * kKeys);
  EXPECT_FALSE(QFile::exists(path + ".lock"));
}

TEST_F(SettingsStoreTest, LinesNotChangedAreKeptByteForByte) {
  const QString path = dir_.path() + "/cfg/settings.ini";
  // Another game's value in Latin-1, a comment, odd line ends, no final line end.
  const QByteArray other = "; kept\n[Software/Old game]\r\nName=caf\xE9\r\n\r\n[Software/Game]\nA=1\rB=2";
  writeBytes(path, other);
  store().set("Game", "A", "changed");
  store().set("Game", "C", "new");
  EXPECT_EQ(fileBytes(path), "; kept\n[Software/Old game]\r\nName=caf\xE9\r\n\r\n[Software/Game]\nA=changed\nB=2\nC=new\n");
  EXPECT_EQ(store().get("Game", "B"), "2");
}

TEST_F(SettingsStoreTest, AUtf16FileStaysUtf16) {
  const QString path = dir_.path() + "/cfg/settings.ini";
  const QString text = QString::fromUtf8("[Software/Old game]\r\nName=日本\r\n");
  QByteArray bytes("\xFF\xFE", 2);
  bytes += QByteArray(reinterpret_cast<const char*>(text.utf16()), text.size() * 2);
  writeBytes(path, bytes);
  EXPECT_EQ(store().get("Old game", "Name"), QString::fromUtf8("日本"));
  store().set("Game", "K", QString::fromUtf8("é"));
  const QByteArray after = fileBytes(path);
  EXPECT_TRUE(after.startsWith(bytes));
  const QString added = QString::fromUtf8("[Software/Game]\r\nK=é\r\n");
  EXPECT_EQ(after.mid(bytes.size()), QByteArray(reinterpret_cast<const char*>(added.utf16()), added.size() * 2));
  EXPECT_EQ(store().get("Game", "K"), QString::fromUtf8("é"));
}

// A folder copied from a Windows disk keeps its name in raw Windows-1252 bytes;
// native paths carry those bytes escaped, and the settings must give back the
// same bytes, while paths in UTF-8 are stored as plain text as they always were.
TEST_F(SettingsStoreTest, PathsWithRawBytesReadBackByteForByte) {
  const QString path = dir_.path() + "/cfg/settings.ini";
  const QByteArray rawFolder = "/media/copies/Disque \xE9t\xE9 \x80";
  const QString raw = qm::platform::nameFromBytes(rawFolder);
  const QString utf8 = QString::fromUtf8("/media/copies/Disque été");
  store().set("Game", "DriveFolderE", raw);
  store().set("Game", "DriveFolderF", utf8);
  // Text a person typed that looks like the escape stays that text.
  store().set("Game", "Typed", "%uDCE9");
  EXPECT_EQ(qm::platform::bytesOfName(store().get("Game", "DriveFolderE")), rawFolder);
  EXPECT_EQ(store().get("Game", "DriveFolderF"), utf8);
  EXPECT_EQ(store().get("Game", "Typed"), "%uDCE9");
  const QByteArray bytes = fileBytes(path);
  EXPECT_TRUE(bytes.contains("DriveFolderE=/media/copies/Disque %uDCE9t%uDCE9 %uDC80\r\n")) << bytes.constData();
  EXPECT_TRUE(bytes.contains("DriveFolderF=" + utf8.toUtf8() + "\r\n")) << bytes.constData();
  EXPECT_TRUE(bytes.contains("Typed=%25uDCE9\r\n")) << bytes.constData();
  // A file written before keeps reading as it did; a pair of surrogates is a
  // character, not an escape.
  writeBytes(path, "[Software/Game]\nOld=/media/caf\xC3\xA9 %41\nDice=\xF0\x9F\x8E\xB2\n");
  EXPECT_EQ(store().get("Game", "Old"), QString::fromUtf8("/media/café A"));
  store().set("Game", "Dice2", store().get("Game", "Dice"));
  EXPECT_TRUE(fileBytes(path).contains("Dice2=\xF0\x9F\x8E\xB2\n"));
}
