// The archive reader: good archives of every kind games come in unpack to the
// same files, byte for byte and name for name; hostile ones are refused
// whole, with a message, and nothing lands outside the destination; damaged
// ones give a message and never crash.
#include <gtest/gtest.h>

#include <QDir>
#include <QTemporaryDir>
#include <algorithm>
#include <filesystem>
#include <string>
#include <vector>

#include "distribution/ArchiveReader.h"
#include "support/ArchiveWriter.h"

namespace qm::testing {
namespace {

namespace fs = std::filesystem;
using distribution::ArchiveLimits;
using distribution::ArchiveOutcome;
using distribution::isArchiveFile;
using distribution::scanArchive;
using distribution::unpackArchive;
using Type = ArchiveEntry::Type;

// A folder made for the test: the archive beside an empty destination.
class Scratch {
 public:
  Scratch() {
    EXPECT_TRUE(dir_.isValid());
    root_ = dir_.path().toStdString();
    fs::create_directory(destination());
    // Removed by bytes: the toolkit cannot remove names that are not UTF-8.
    dir_.setAutoRemove(false);
  }
  ~Scratch() {
    if (dir_.isValid() && root_.rfind(QDir::tempPath().toStdString() + "/", 0) == 0) fs::remove_all(root_);
  }
  std::string archive(const char* name = "game.bin") const { return root_ + "/" + name; }
  std::string destination() const { return root_ + "/out"; }
  const std::string& root() const { return root_; }
  // Every name in the scratch folder, recursively, except the archives at its top.
  std::vector<std::string> unpackedNames() const {
    std::vector<std::string> names;
    for (const auto& e : fs::recursive_directory_iterator(destination()))
      names.push_back(fs::relative(e.path(), destination()).native());
    std::sort(names.begin(), names.end());
    return names;
  }

 private:
  QTemporaryDir dir_;
  std::string root_;
};

std::vector<ArchiveEntry> smallGame() {
  return {folderEntry("Quest/"),
          folderEntry("Quest/Config/"),
          fileEntry("Quest/Config/General", std::string("General\r\nbytes\0with a zero", 26)),
          fileEntry("Quest/Frames/Hall.fme", std::string(70000, 'h')),  // more than one read buffer
          fileEntry("Quest/empty.txt", ""),
          folderEntry("Quest/Saves/")};
}

class GoodArchives : public ::testing::TestWithParam<ArchiveKind> {};

TEST_P(GoodArchives, UnpackToTheSameFilesAndFolders) {
  Scratch s;
  ASSERT_TRUE(writeArchive(s.archive(), GetParam(), smallGame()));
  EXPECT_TRUE(isArchiveFile(s.archive()));
  const ArchiveOutcome out = unpackArchive(s.archive(), s.destination());
  ASSERT_TRUE(out.ok) << out.error;
  EXPECT_EQ(readBytes(s.destination() + "/Quest/Config/General"), std::string("General\r\nbytes\0with a zero", 26));
  EXPECT_EQ(readBytes(s.destination() + "/Quest/Frames/Hall.fme"), std::string(70000, 'h'));
  EXPECT_TRUE(fs::is_regular_file(s.destination() + "/Quest/empty.txt"));
  EXPECT_TRUE(fs::is_directory(s.destination() + "/Quest/Saves"));
  EXPECT_EQ(out.bytes, 26u + 70000u);
}

INSTANTIATE_TEST_SUITE_P(EveryKind, GoodArchives,
                         ::testing::Values(ArchiveKind::Zip, ArchiveKind::TarGz, ArchiveKind::SevenZip,
                                           ArchiveKind::Iso),
                         [](const auto& info) {
                           switch (info.param) {
                             case ArchiveKind::Zip: return std::string("Zip");
                             case ArchiveKind::TarGz: return std::string("TarGz");
                             case ArchiveKind::SevenZip: return std::string("SevenZip");
                             case ArchiveKind::Iso: return std::string("Iso");
                             case ArchiveKind::Tar: return std::string("Tar");
                           }
                           return std::string("Other");
                         });

TEST(ArchiveNames, RawCodePageNamesAreKeptByteForByte) {
  // "Église.bmp" in Windows-1252, as old archives hold it: not UTF-8.
  const std::string raw = "Quest/\xC9glise.bmp";
  for (ArchiveKind kind : {ArchiveKind::Tar, ArchiveKind::Zip}) {
    Scratch s;
    ASSERT_TRUE(writeArchive(s.archive(), kind, {fileEntry(raw, "picture")}));
    const ArchiveOutcome out = unpackArchive(s.archive(), s.destination());
    ASSERT_TRUE(out.ok) << out.error;
    EXPECT_EQ(readBytes(s.destination() + "/" + raw), "picture");
    EXPECT_EQ(s.unpackedNames(), (std::vector<std::string>{"Quest", raw}));
  }
}

TEST(ArchiveNames, DotPartsAndDoubledSlashesStayInside) {
  Scratch s;
  ASSERT_TRUE(writeArchive(s.archive(), ArchiveKind::Tar,
                           {folderEntry("./"), fileEntry("./Quest//Config/./General", "g")}));
  const ArchiveOutcome out = unpackArchive(s.archive(), s.destination());
  ASSERT_TRUE(out.ok) << out.error;
  EXPECT_EQ(readBytes(s.destination() + "/Quest/Config/General"), "g");
}

TEST(ArchiveDetection, GoesByContentNotByName) {
  Scratch s;
  ASSERT_TRUE(writeArchive(s.archive("game.dat"), ArchiveKind::Zip, smallGame()));
  EXPECT_TRUE(isArchiveFile(s.archive("game.dat")));
  writeBytes(s.archive("notes.zip"), "[General]\r\nThis is a text file, not an archive.\r\n");
  EXPECT_FALSE(isArchiveFile(s.archive("notes.zip")));
  writeBytes(s.archive("empty.zip"), "");
  EXPECT_FALSE(isArchiveFile(s.archive("empty.zip")));
  EXPECT_FALSE(isArchiveFile(s.archive("missing.zip")));
  // Zero bytes read as an empty tar: nothing to play, said so.
  writeBytes(s.archive("zeros.iso"), std::string(40000, '\0'));
  const ArchiveOutcome zeros = unpackArchive(s.archive("zeros.iso"), s.destination());
  EXPECT_FALSE(zeros.ok);
  EXPECT_NE(zeros.error.find("holds no files"), std::string::npos) << zeros.error;
  const ArchiveOutcome out = unpackArchive(s.archive("notes.zip"), s.destination());
  EXPECT_FALSE(out.ok);
  EXPECT_NE(out.error.find("not an archive"), std::string::npos) << out.error;
}

// ---- Hostile archives ------------------------------------------------------------

struct Hostile {
  const char* what;
  ArchiveKind kind;
  std::vector<ArchiveEntry> entries;
  const char* message;  // part of the refusal
};

ArchiveEntry special(std::string name, Type type, std::string target = {}) {
  ArchiveEntry e;
  e.name = std::move(name);
  e.type = type;
  e.target = std::move(target);
  return e;
}

std::vector<Hostile> hostileArchives() {
  return {
      {"DotDot", ArchiveKind::Tar, {fileEntry("../evil", "x")}, "outside the archive's folder"},
      {"DotDotInside", ArchiveKind::Tar, {fileEntry("Quest/../../evil", "x")}, "outside the archive's folder"},
      {"DotDotInZip", ArchiveKind::Zip, {fileEntry("Quest/Config/General", "g"), fileEntry("../evil", "x")},
       "outside the archive's folder"},
      {"Absolute", ArchiveKind::Tar, {fileEntry("/tmp/evil", "x")}, "absolute path"},
      {"Symlink", ArchiveKind::Tar, {special("Quest/link", Type::Symlink, "/etc")}, "is a link"},
      {"SymlinkInZip", ArchiveKind::Zip, {special("Quest/link", Type::Symlink, "../../..")}, "is a link"},
      {"Hardlink", ArchiveKind::Tar,
       {fileEntry("Quest/a", "a"), special("Quest/b", Type::Hardlink, "/etc/passwd")}, "is a link"},
      {"Fifo", ArchiveKind::Tar, {special("Quest/pipe", Type::Fifo)}, "device, FIFO or socket"},
      {"Device", ArchiveKind::Tar, {special("Quest/null", Type::CharDevice)}, "device, FIFO or socket"},
  };
}

TEST(HostileArchives, AreRefusedWholeWithAMessageAndWriteNothingOutside) {
  for (const Hostile& h : hostileArchives()) {
    SCOPED_TRACE(h.what);
    Scratch s;
    ASSERT_TRUE(writeArchive(s.archive(), h.kind, h.entries));
    const ArchiveOutcome out = unpackArchive(s.archive(), s.destination());
    EXPECT_FALSE(out.ok);
    EXPECT_NE(out.error.find(h.message), std::string::npos) << out.error;
    EXPECT_FALSE(fs::exists(s.root() + "/evil"));
    EXPECT_FALSE(fs::exists(fs::path(s.root()).parent_path() / "evil"));
    for (const auto& e : fs::recursive_directory_iterator(s.destination()))
      EXPECT_FALSE(fs::is_symlink(e.symlink_status()) || fs::is_fifo(e.symlink_status()) ||
                   fs::is_character_file(e.symlink_status()))
          << e.path();
    // The same refusal when the archive is only read.
    const std::string bytes = readBytes(s.archive());
    const ArchiveOutcome scanned = scanArchive(bytes.data(), bytes.size());
    EXPECT_FALSE(scanned.ok);
    EXPECT_EQ(scanned.error, out.error);
  }
}

TEST(HostileArchives, ControlBytesInANameAreShownEscaped) {
  Scratch s;
  ASSERT_TRUE(writeArchive(s.archive(), ArchiveKind::Tar, {fileEntry("\x1b[2J/../x", "x")}));
  const ArchiveOutcome out = unpackArchive(s.archive(), s.destination());
  EXPECT_FALSE(out.ok);
  EXPECT_EQ(out.error.find('\x1b'), std::string::npos);
  EXPECT_NE(out.error.find("\\x1B[2J"), std::string::npos) << out.error;
}

TEST(ArchiveLimitsTest, MoreBytesThanTheLimitAreRefused) {
  Scratch s;
  ASSERT_TRUE(writeArchive(s.archive(), ArchiveKind::Zip,
                           {fileEntry("a", std::string(600, 'a')), fileEntry("b", std::string(600, 'b'))}));
  ArchiveLimits limits;
  limits.maxUnpackedBytes = 1000;
  const ArchiveOutcome out = unpackArchive(s.archive(), s.destination(), limits);
  EXPECT_FALSE(out.ok);
  EXPECT_NE(out.error.find("unpacks to more than 1000 bytes"), std::string::npos) << out.error;
  limits.maxUnpackedBytes = 1200;  // exactly the limit is allowed
  Scratch again;
  ASSERT_TRUE(writeArchive(again.archive(), ArchiveKind::Zip,
                           {fileEntry("a", std::string(600, 'a')), fileEntry("b", std::string(600, 'b'))}));
  EXPECT_TRUE(unpackArchive(again.archive(), again.destination(), limits).ok);
}

TEST(ArchiveLimitsTest, TheDefaultLimitIsTwoGigabytesAndIsNamedSo) {
  Scratch s;
  ASSERT_TRUE(writeArchive(s.archive(), ArchiveKind::Tar, {fileEntry("a", "a")}));
  EXPECT_EQ(ArchiveLimits{}.maxUnpackedBytes, std::uint64_t{2} << 30);
  EXPECT_EQ(ArchiveLimits{}.maxEntries, 100000u);
}

TEST(ArchiveLimitsTest, ALyingSizeIsCaughtByWhatIsRead) {
  // A gzip stream that inflates far beyond its size on disk.
  Scratch s;
  ASSERT_TRUE(writeArchive(s.archive(), ArchiveKind::TarGz, {fileEntry("bomb", std::string(1 << 20, '\0'))}));
  ArchiveLimits limits;
  limits.maxUnpackedBytes = 100000;
  const ArchiveOutcome out = unpackArchive(s.archive(), s.destination(), limits);
  EXPECT_FALSE(out.ok);
  EXPECT_LE(out.bytes, limits.maxUnpackedBytes);
}

TEST(ArchiveLimitsTest, MoreEntriesThanTheLimitAreRefused) {
  std::vector<ArchiveEntry> many;
  for (int i = 0; i < 6; ++i) many.push_back(fileEntry("f" + std::to_string(i), "x"));
  Scratch s;
  ASSERT_TRUE(writeArchive(s.archive(), ArchiveKind::Tar, many));
  ArchiveLimits limits;
  limits.maxEntries = 5;
  const ArchiveOutcome out = unpackArchive(s.archive(), s.destination(), limits);
  EXPECT_FALSE(out.ok);
  EXPECT_NE(out.error.find("more than 5 entries"), std::string::npos) << out.error;
  limits.maxEntries = 6;
  Scratch again;
  ASSERT_TRUE(writeArchive(again.archive(), ArchiveKind::Tar, many));
  EXPECT_TRUE(unpackArchive(again.archive(), again.destination(), limits).ok);
}

// ---- Damaged archives ------------------------------------------------------------

class DamagedArchives : public ::testing::TestWithParam<ArchiveKind> {};

TEST_P(DamagedArchives, TruncatedOnesGiveAMessageOrLoseNothing) {
  Scratch s;
  ASSERT_TRUE(writeArchive(s.archive(), GetParam(), smallGame()));
  const std::string whole = readBytes(s.archive());
  const ArchiveOutcome full = scanArchive(whole.data(), whole.size());
  ASSERT_TRUE(full.ok) << full.error;
  int refused = 0;
  const std::size_t step = std::max<std::size_t>(1, whole.size() / 97);
  for (std::size_t cut = 0; cut < whole.size(); cut += step) {
    SCOPED_TRACE(cut);
    const ArchiveOutcome out = scanArchive(whole.data(), cut);
    if (out.ok) {
      // Only an index or padding after the last entry was cut off.
      EXPECT_EQ(out.bytes, full.bytes) << out.entries << " of " << full.entries << " at " << cut << "/" << whole.size();
    } else {
      ++refused;
      EXPECT_FALSE(out.error.empty());
    }
  }
  EXPECT_GT(refused, 0);
}

TEST_P(DamagedArchives, FlippedBytesNeverCrash) {
  Scratch s;
  ASSERT_TRUE(writeArchive(s.archive(), GetParam(), smallGame()));
  const std::string whole = readBytes(s.archive());
  for (std::size_t at = 0; at < whole.size(); at += std::max<std::size_t>(1, whole.size() / 200)) {
    std::string damaged = whole;
    damaged[at] = static_cast<char>(damaged[at] ^ 0x5A);
    const ArchiveOutcome out = scanArchive(damaged.data(), damaged.size());
    if (!out.ok) {
      EXPECT_FALSE(out.error.empty());
    }
  }
}

INSTANTIATE_TEST_SUITE_P(EveryKind, DamagedArchives,
                         ::testing::Values(ArchiveKind::Zip, ArchiveKind::TarGz, ArchiveKind::SevenZip,
                                           ArchiveKind::Iso),
                         [](const auto& info) { return std::to_string(static_cast<int>(info.param)); });

}  // namespace
}  // namespace qm::testing
