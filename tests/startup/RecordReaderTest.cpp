#include <gtest/gtest.h>

#include "platform/VbError.h"
#include "startup/RecordReader.h"
#include "startup/RecordWriter.h"

using qm::VbError;
using qm::startup::FieldKind;
using qm::startup::RecordReader;
using qm::startup::RecordWriter;

namespace {

RecordReader reader(const char* text) { return RecordReader(QByteArray(text)); }

int errorOf(const std::function<void()>& f) {
  try {
    f();
  } catch (const VbError& e) {
    return e.number;
  }
  return 0;
}

}  // namespace

TEST(RecordReaderFields, ReadsEveryKindOfField) {
  auto in = reader("\"Hall\",12,-3.5,#TRUE#,#FALSE#,#NULL#,#1994-07-13#,#ERROR 53#,1E+20\r\n");
  EXPECT_EQ(in.readString(), "Hall");
  EXPECT_EQ(in.readInt16(), 12);
  EXPECT_DOUBLE_EQ(in.readDouble(), -3.5);
  EXPECT_TRUE(in.readBool());
  EXPECT_FALSE(in.readBool());
  EXPECT_EQ(in.readAny().kind, FieldKind::Null);
  auto date = in.readAny();
  EXPECT_EQ(date.kind, FieldKind::Date);
  EXPECT_EQ(date.text, "1994-07-13");
  auto error = in.readAny();
  EXPECT_EQ(error.kind, FieldKind::Error);
  EXPECT_EQ(error.number, 53);
  EXPECT_DOUBLE_EQ(in.readDouble(), 1e20);
  EXPECT_TRUE(in.atEnd());
}

TEST(RecordReaderFields, LineEndsSeparateFieldsLikeCommas) {
  auto in = reader("\"a\"\r\n\"b\",\"c\"\n  7\r8\r\n");
  EXPECT_EQ(in.readString(), "a");
  EXPECT_EQ(in.readString(), "b");
  EXPECT_EQ(in.readString(), "c");
  EXPECT_EQ(in.readInt16(), 7);
  EXPECT_EQ(in.readInt16(), 8);
  EXPECT_TRUE(in.atEnd());
}

TEST(RecordReaderFields, BlanksBeforeAndAfterFieldsAreSkipped) {
  auto in = reader("   \"x y\"  ,\t 42  , abc def  \r\n");
  EXPECT_EQ(in.readString(), "x y");
  EXPECT_EQ(in.readInt32(), 42);
  EXPECT_EQ(in.readString(), "abc def");
}

TEST(RecordReaderFields, EmptyFieldsBetweenCommasAndBlankLines) {
  auto in = reader("1,,2\r\n\r\n3\r\n");
  EXPECT_EQ(in.readInt16(), 1);
  auto empty = in.readAny();
  EXPECT_EQ(empty.kind, FieldKind::Empty);
  EXPECT_EQ(in.readInt16(), 2);
  EXPECT_EQ(in.readAny().kind, FieldKind::Empty);  // the blank line
  EXPECT_EQ(in.readInt16(), 3);
}

TEST(RecordReaderFields, StringsDecodeWindows1252) {
  QByteArray bytes("\"caf\xE9 \x80 \x93quoted\x94 \xFE\"\r\n");
  RecordReader in(bytes);
  EXPECT_EQ(in.readString(), QString::fromUtf8("café € “quoted” þ"));
}

TEST(RecordReaderFields, CommasInsideQuotesBelongToTheString) {
  auto in = reader("\"a, b\",\"\"\r\n");
  EXPECT_EQ(in.readString(), "a, b");
  EXPECT_EQ(in.readString(), "");
}

TEST(RecordReaderFields, UnquotedFieldsReadAsStringKeepTheirText) {
  auto in = reader("3.50,#TRUE#,Hello\r\n");
  EXPECT_EQ(in.readString(), "3.50");
  EXPECT_EQ(in.readString(), "True");
  EXPECT_EQ(in.readString(), "Hello");
}

TEST(RecordReaderFields, BooleansAreCaseInsensitiveAndConvertToNumbers) {
  auto in = reader("#true#,#TRUE#,#False#\r\n");
  EXPECT_TRUE(in.readBool());
  EXPECT_EQ(in.readInt16(), -1);
  EXPECT_EQ(in.readInt16(), 0);
}

TEST(RecordReaderFields, HexAndOctalNumbers) {
  auto in = reader("&H10,&HFFFF,&O17\r\n");
  EXPECT_EQ(in.readInt16(), 16);
  EXPECT_EQ(in.readInt16(), -1);
  EXPECT_EQ(in.readInt16(), 15);
}

TEST(RecordReaderConversions, IntegersRoundHalfToEven) {
  auto in = reader("2.5,3.5,-2.5,0.4999,1.5\r\n");
  EXPECT_EQ(in.readInt16(), 2);
  EXPECT_EQ(in.readInt16(), 4);
  EXPECT_EQ(in.readInt16(), -2);
  EXPECT_EQ(in.readInt32(), 0);
  EXPECT_EQ(in.readInt32(), 2);
}

TEST(RecordReaderConversions, OutOfRangeIsOverflow) {
  EXPECT_EQ(errorOf([] { reader("32768").readInt16(); }), 6);
  EXPECT_EQ(errorOf([] { reader("-32769").readInt16(); }), 6);
  EXPECT_EQ(reader("-32768").readInt16(), -32768);
  EXPECT_EQ(reader("32767.4").readInt16(), 32767);
  EXPECT_EQ(errorOf([] { reader("2147483648").readInt32(); }), 6);
  EXPECT_EQ(reader("2147483647").readInt32(), 2147483647);
  EXPECT_EQ(errorOf([] { reader("1E+400").readDouble(); }), 6);
  EXPECT_EQ(errorOf([] { reader("1E+400").readInt16(); }), 6);
}

TEST(RecordReaderConversions, QuotedTextIntoANumberIsATypeMismatch) {
  EXPECT_EQ(errorOf([] { reader("\"abc\"").readInt16(); }), 13);
  EXPECT_EQ(errorOf([] { reader("\"abc\"").readBool(); }), 13);
  EXPECT_EQ(reader("\" 12 \"").readInt16(), 12);
  EXPECT_EQ(reader("\"True\"").readInt16(), -1);
  EXPECT_TRUE(reader("\"true\"").readBool());
  EXPECT_EQ(reader("\"\"").readInt16(), 0);
}

TEST(RecordReaderConversions, UnquotedNonNumericDataReadsAsZero) {
  EXPECT_EQ(reader("abc").readInt16(), 0);
  EXPECT_EQ(reader("12abc").readInt32(), 0);
  EXPECT_DOUBLE_EQ(reader("x").readDouble(), 0.0);
  EXPECT_FALSE(reader("junk").readBool());
}

TEST(RecordReaderConversions, NullIsInvalidAsTypedValue) {
  EXPECT_EQ(errorOf([] { reader("#NULL#").readString(); }), 94);
  EXPECT_EQ(errorOf([] { reader("#NULL#").readInt16(); }), 94);
  EXPECT_EQ(errorOf([] { reader("#ERROR 5#").readString(); }), 13);
}

TEST(RecordReaderConversions, NumbersToBooleans) {
  auto in = reader("0,1,-1,0.0\r\n");
  EXPECT_FALSE(in.readBool());
  EXPECT_TRUE(in.readBool());
  EXPECT_TRUE(in.readBool());
  EXPECT_FALSE(in.readBool());
}

TEST(RecordReaderEnd, ReadingPastTheEndFails) {
  auto in = reader("1\r\n");
  EXPECT_EQ(in.readInt16(), 1);
  EXPECT_TRUE(in.atEnd());
  EXPECT_EQ(errorOf([&] { in.readInt16(); }), 62);
  EXPECT_EQ(errorOf([] { reader("").readString(); }), 62);
  EXPECT_EQ(errorOf([] { reader("   \r\n  ").readString(); }), 62);
}

TEST(RecordReaderEnd, TrailingBlankLinesAndCtrlZCountAsEnd) {
  auto in = reader("1\r\n\r\n  \r\n");
  in.readInt16();
  EXPECT_TRUE(in.atEnd());
  QByteArray withMark("1,2\r\n\x1A\"junk\"\r\n");
  RecordReader marked(withMark);
  marked.skip(2);
  EXPECT_TRUE(marked.atEnd());
  EXPECT_EQ(errorOf([&] { marked.readString(); }), 62);
}

TEST(RecordReaderEnd, FileWithoutFinalLineEnd) {
  auto in = reader("\"a\",5");
  EXPECT_EQ(in.readString(), "a");
  EXPECT_FALSE(in.atEnd());
  EXPECT_EQ(in.readInt16(), 5);
  EXPECT_TRUE(in.atEnd());
}

TEST(RecordReaderMalformed, UnterminatedQuoteRunsToTheEnd) {
  auto in = reader("\"abc, def\r\nghi");
  EXPECT_EQ(in.readString(), "abc, def\r\nghi");
  EXPECT_TRUE(in.atEnd());
}

TEST(RecordReaderMalformed, TextAfterAClosingQuoteIsDropped) {
  auto in = reader("\"abc\"def,2\r\n");
  EXPECT_EQ(in.readString(), "abc");
  EXPECT_EQ(in.readInt16(), 2);
}

TEST(RecordReaderMalformed, EmbeddedQuotesSplitTheString) {
  auto in = reader("\"1,2\"\"X\"\r\n");
  EXPECT_EQ(in.readString(), "1,2");
  EXPECT_EQ(in.readString(), "X");
}

TEST(RecordReaderMalformed, LoneHashAndOddDatesAreText) {
  auto in = reader("#,#abc\r\n");
  EXPECT_EQ(in.readString(), "#");
  EXPECT_EQ(in.readString(), "#abc");
}

TEST(RecordReaderMalformed, NulBytesAndBinaryGarbageDoNotStopTheReader) {
  QByteArray bytes("\"a\0b\",\xFF\xFE,3\r\n", 13);
  RecordReader in(bytes);
  EXPECT_EQ(in.readString().size(), 3);
  EXPECT_EQ(in.readInt16(), 0);
  EXPECT_EQ(in.readInt16(), 3);
}

TEST(RecordReaderSeparators, AtRecordEndPeeksWithoutMoving) {
  auto in = reader("\"x\",\"----- SEPARATOR -----\"\r\n\"y\"\r\n\"----- SEPARATOR -----\"\r\n");
  EXPECT_FALSE(in.atRecordEnd());
  EXPECT_EQ(in.readString(), "x");
  EXPECT_TRUE(in.atRecordEnd());
  EXPECT_TRUE(in.atRecordEnd());
  EXPECT_EQ(in.readString(), "----- SEPARATOR -----");
  EXPECT_FALSE(in.atRecordEnd());
  EXPECT_EQ(in.readString(), "y");
  EXPECT_TRUE(in.atRecordEnd());
  in.skip();
  EXPECT_TRUE(in.atRecordEnd());  // end of file
}

TEST(RecordReaderSeparators, AtRecordEndSurvivesUnreadableFields) {
  auto in = reader("#NULL#,\"abc");
  EXPECT_FALSE(in.atRecordEnd());
  EXPECT_EQ(in.readAny().kind, FieldKind::Null);
}

TEST(RecordReaderSeparators, SkipRecordStopsAfterTheSeparator) {
  auto in = reader("1,2,3,\"----- SEPARATOR -----\"\r\n4,\"----- SEPARATOR -----\"\r\n5\r\n");
  EXPECT_EQ(in.skipRecord(), 4);
  EXPECT_EQ(in.readInt16(), 4);
  in.skip();
  EXPECT_EQ(in.skipRecord(), 1);  // the last record ends at the end of the file
  EXPECT_TRUE(in.atEnd());
}

TEST(RecordReaderFile, MissingFileIsFileNotFound) {
  EXPECT_EQ(errorOf([] { RecordReader::fromFile("/nonexistent/folder/General"); }), 53);
}

TEST(RecordWriterFormat, WritesWhatTheReaderReads) {
  RecordWriter w;
  w.str("Hall").integer(-12).num(3.25).boolean(true).boolean(false).null().endRecord();
  w.str(QString::fromUtf8("café €")).num(1e20).num(0.001).empty().integer(7);
  EXPECT_EQ(w.bytes(), QByteArray("\"Hall\",-12,3.25,#TRUE#,#FALSE#,#NULL#\r\n\"caf\xE9 \x80\",1E+20,0.001,,7\r\n"));
  RecordReader in(w.bytes());
  EXPECT_EQ(in.readString(), "Hall");
  EXPECT_EQ(in.readInt16(), -12);
  EXPECT_DOUBLE_EQ(in.readDouble(), 3.25);
  EXPECT_TRUE(in.readBool());
  EXPECT_FALSE(in.readBool());
  EXPECT_EQ(in.readAny().kind, FieldKind::Null);
  EXPECT_EQ(in.readString(), QString::fromUtf8("café €"));
  EXPECT_DOUBLE_EQ(in.readDouble(), 1e20);
  EXPECT_DOUBLE_EQ(in.readDouble(), 0.001);
  EXPECT_EQ(in.readAny().kind, FieldKind::Empty);
  EXPECT_EQ(in.readInt16(), 7);
  EXPECT_TRUE(in.atEnd());
}

TEST(RecordWriterFormat, NumbersRoundTripExactly) {
  for (double v : {0.1, -2.5, 1.0 / 3.0, 123456789.125, 1e-7, 65535.0, -0.0}) {
    RecordWriter w;
    w.num(v);
    RecordReader in(w.bytes());
    EXPECT_EQ(in.readDouble(), v) << w.bytes().constData();
  }
}

TEST(RecordWriterFormat, SeparatorRecord) {
  RecordWriter w;
  w.integer(1).separator();
  EXPECT_EQ(w.bytes(), QByteArray("1\r\n\"----- SEPARATOR -----\"\r\n"));
}
