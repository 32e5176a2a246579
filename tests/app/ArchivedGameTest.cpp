// A game given to the program as its archive: checked and played like its
// folder, saves kept out of the cache, and hostile or unreadable files
// refused with a message and exit status 2, never a crash.
#include <gtest/gtest.h>

#include <QDir>
#include <QDirIterator>
#include <QFile>
#include <QProcess>
#include <QProcessEnvironment>
#include <QTemporaryDir>
#include <filesystem>

#include "support/ArchiveWriter.h"

namespace qm::testing {
namespace {

namespace fs = std::filesystem;

struct ProgramRun {
  int exitCode = -1;
  bool crashed = false;
  QString out, err;
};

class ArchivedGameTest : public ::testing::Test {
 protected:
  void SetUp() override {
    ASSERT_TRUE(scratch_.isValid());
    scratch_.setAutoRemove(false);  // removed by bytes below: unpacked names need not be UTF-8
  }
  void TearDown() override {
    if (scratch_.path().startsWith(QDir::tempPath() + '/')) fs::remove_all(scratch_.path().toStdString());
  }

  QString cache() const { return scratch_.filePath(QStringLiteral("cache")); }

  // The demo game packed as a download would be: its folder inside the archive.
  QString demoArchive(const char* name, ArchiveKind kind, const std::string& folder = "Demo Game") {
    std::vector<ArchiveEntry> entries;
    const fs::path demo(QM_SOURCE_DIR "/demo");
    for (const auto& e : fs::recursive_directory_iterator(demo)) {
      if (!e.is_regular_file()) continue;
      entries.push_back(fileEntry(folder + "/" + fs::relative(e.path(), demo).native(), readBytes(e.path().native())));
    }
    const QString path = scratch_.filePath(QString::fromUtf8(name));
    EXPECT_TRUE(writeArchive(path.toStdString(), kind, entries));
    return path;
  }

  ProgramRun run(const QStringList& args) {
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    env.insert("QT_QPA_PLATFORM", "offscreen");
    env.insert("SDL_AUDIODRIVER", "dummy");
    env.insert("QM_SETTINGS_FILE", scratch_.filePath("settings.ini"));
    env.insert("XDG_CACHE_HOME", cache());
    QProcess process;
    process.setProcessEnvironment(env);
    process.start(QStringLiteral(QM_BINARY_DIR "/quillmere"), args);
    ProgramRun r;
    if (!process.waitForFinished(120000)) process.kill();
    r.crashed = process.exitStatus() == QProcess::CrashExit;
    r.exitCode = process.exitCode();
    r.out = QString::fromUtf8(process.readAllStandardOutput());
    r.err = QString::fromUtf8(process.readAllStandardError());
    return r;
  }

  QString stepsFile(const QString& steps) {
    const QString path = scratch_.filePath(QStringLiteral("steps.txt"));
    QFile f(path);
    EXPECT_TRUE(f.open(QIODevice::WriteOnly | QIODevice::Truncate));
    f.write(steps.toUtf8());
    return path;
  }

  QStringList filesInCache(const QString& pattern) const {
    QStringList found;
    QDirIterator it(cache(), {pattern}, QDir::Files | QDir::Hidden, QDirIterator::Subdirectories);
    while (it.hasNext()) found << it.next();
    return found;
  }

  QTemporaryDir scratch_;
};

TEST_F(ArchivedGameTest, CheckReadsTheGameInsideAnArchiveLikeItsFolder) {
  const ProgramRun r = run({"--check", demoArchive("demo.zip", ArchiveKind::Zip)});
  EXPECT_EQ(r.exitCode, 0) << r.out.toStdString() << r.err.toStdString();
  EXPECT_TRUE(r.out.contains(QStringLiteral("0 errors, 0 warnings, 0 notes"))) << r.out.toStdString();
  const QStringList unpacked = QDir(cache() + "/quillmere/archives").entryList(QDir::Dirs | QDir::NoDotAndDotDot | QDir::Hidden);
  ASSERT_EQ(unpacked.size(), 1) << unpacked.join(' ').toStdString();
  EXPECT_TRUE(unpacked[0].startsWith(QStringLiteral("demo-")));
}

TEST_F(ArchivedGameTest, AGameFolderNamedInACodePageIsCheckedToo) {
  // "Château" in Windows-1252, as an archive made on an old Windows holds it.
  const ProgramRun r = run({"--check", demoArchive("chateau.tar", ArchiveKind::Tar, "Ch\xE2teau")});
  EXPECT_EQ(r.exitCode, 0) << r.out.toStdString() << r.err.toStdString();
  EXPECT_TRUE(r.out.contains(QStringLiteral("0 errors, 0 warnings, 0 notes"))) << r.out.toStdString();
}

TEST_F(ArchivedGameTest, AGamePlayedFromItsArchiveSavesOutsideTheCache) {
  const QString steps = stepsFile(QStringLiteral(
      "start\nclick 2\nclick 1\nexpect frame Library\nsave \"from the archive\"\nexpect file \"from the archive.sav\"\n"));
  const QString archive = demoArchive("demo.tar.gz", ArchiveKind::TarGz);
  const ProgramRun first = run({"--walkthrough", steps, archive, "--fast"});
  EXPECT_EQ(first.exitCode, 0) << first.out.toStdString() << first.err.toStdString();
  EXPECT_TRUE(filesInCache("*.sav").isEmpty()) << filesInCache("*.sav").join(' ').toStdString();
  // The second run plays what the first one unpacked.
  const ProgramRun second = run({"--walkthrough", steps, archive, "--fast"});
  EXPECT_EQ(second.exitCode, 0) << second.out.toStdString() << second.err.toStdString();
  EXPECT_EQ(QDir(cache() + "/quillmere/archives").entryList(QDir::Dirs | QDir::NoDotAndDotDot | QDir::Hidden).size(), 1);
}

TEST_F(ArchivedGameTest, HostileAndUnreadableFilesAreRefusedWithAMessage) {
  const QString hostile = scratch_.filePath("evil.tar");
  ASSERT_TRUE(writeArchive(hostile.toStdString(), ArchiveKind::Tar,
                           {fileEntry("Game/Config/General", "General"), fileEntry("../../escaped", "x")}));
  const QString text = scratch_.filePath("notes.zip");
  writeBytes(text.toStdString(), "just some text\n");
  const QString steps = stepsFile(QStringLiteral("start\n"));
  for (const QStringList& args : {QStringList{"--check", hostile}, QStringList{"--walkthrough", steps, hostile}}) {
    const ProgramRun r = run(args);
    EXPECT_FALSE(r.crashed);
    EXPECT_EQ(r.exitCode, 2);
    EXPECT_TRUE(r.err.contains(QStringLiteral("cannot unpack ") + hostile)) << r.err.toStdString();
    EXPECT_TRUE(r.err.contains(QStringLiteral("points outside the archive's folder"))) << r.err.toStdString();
  }
  const ProgramRun r = run({"--check", text});
  EXPECT_EQ(r.exitCode, 2);
  EXPECT_TRUE(r.err.contains(QStringLiteral("is neither a game folder nor an archive"))) << r.err.toStdString();
  EXPECT_TRUE(QDir(cache() + "/quillmere/archives").entryList(QDir::AllEntries | QDir::NoDotAndDotDot | QDir::Hidden).isEmpty());
  EXPECT_FALSE(fs::exists(fs::path(scratch_.path().toStdString()).parent_path() / "escaped"));
}

}  // namespace
}  // namespace qm::testing
