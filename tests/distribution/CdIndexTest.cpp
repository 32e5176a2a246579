// The CD index reader: the header, the skip rules of the records, and the
// errors of truncated or garbled files.
#include <gtest/gtest.h>

#include "distribution/CdIndex.h"
#include "platform/VbError.h"

namespace qm::distribution {
namespace {

TEST(CdIndexTest, RecordsFollowTheHeaderUntilTheEnd) {
  const CdIndex index = ReadCdIndex(
      "\"x\",1,#TRUE#\r\n2\r\n\"y\",\"z\"\r\n\"Hall.bmp\",2,1\r\n\"creak.wav\",1,2\r\n\"odd.bmp\",1,7\r\n");
  EXPECT_EQ(index.cdCount, 2);
  ASSERT_EQ(index.entries.size(), 3u);
  EXPECT_EQ(index.entries[0].name, "Hall.bmp");
  EXPECT_EQ(index.entries[0].cdNumber, 2);
  EXPECT_EQ(index.entries[0].type, "1");
  EXPECT_EQ(index.entries[1].type, "2");
  EXPECT_EQ(index.entries[2].type, "7");  // kept: the look-up decides what to do with it
}

TEST(CdIndexTest, RecordsOutsideTheCdsOrOfTypeZeroOrWithoutNameAreSkipped) {
  const CdIndex index = ReadCdIndex(
      "0,0,0,2,0,0\r\n"
      "\"zero.bmp\",0,1\r\n\"negative.bmp\",-1,1\r\n\"three.bmp\",3,1\r\n\"typeless.bmp\",1,0\r\n\"\",1,1\r\n"
      "\"first.bmp\",1,1\r\n\"last.bmp\",2,2\r\n");
  ASSERT_EQ(index.entries.size(), 2u);
  EXPECT_EQ(index.entries[0].name, "first.bmp");
  EXPECT_EQ(index.entries[1].name, "last.bmp");
}

TEST(CdIndexTest, AnEmptyListAfterTheHeaderIsAnEmptyIndex) {
  EXPECT_TRUE(ReadCdIndex("0,0,0,1,0,0\r\n").entries.empty());
}

TEST(CdIndexTest, TruncatedAndGarbledFilesRaiseReaderErrors) {
  auto number = [](const QByteArray& bytes) {
    try {
      ReadCdIndex(bytes);
    } catch (const VbError& e) {
      return e.number;
    }
    return 0;
  };
  EXPECT_EQ(number(""), 62);                              // no header at all
  EXPECT_EQ(number("0,0,0,2,0"), 62);                     // header cut short
  EXPECT_EQ(number("0,0,0,2,0,0\r\n\"a.bmp\",1"), 62);    // record cut short
  EXPECT_EQ(number("0,0,0,2,0,0\r\n\"a.bmp\",\"one\",1"), 13);  // quoted text as a number
  EXPECT_EQ(number("0,0,0,2,0,0\r\n\"a.bmp\",99999,1"), 6);     // beyond a 16-bit integer
  // Unquoted garbage reads as 0, so the record is skipped rather than failing.
  EXPECT_TRUE(ReadCdIndex("0,0,0,2,0,0\r\n\"a.bmp\",xyz,1\r\n").entries.empty());
}

}  // namespace
}  // namespace qm::distribution
