// Tokens: what the parser receives for tricky inputs.
#include <gtest/gtest.h>

#include "vbscript/ScriptError.h"
#include "vbscript/compiler/Lexer.h"

namespace qm::vbs {
namespace {

std::vector<Tok> types(const char16_t* text) {
  std::vector<Tok> out;
  for (const auto& t : tokenize(text)) out.push_back(t.type);
  return out;
}

TEST(Lexer, OperatorsAndTheirAlternateSpellings) {
  auto toks = tokenize(u"a <> b >< c <= d =< e >= f => g");
  std::vector<Tok> ops;
  for (const auto& t : toks) {
    if (t.type != Tok::Ident && t.type != Tok::Newline && t.type != Tok::End) ops.push_back(t.type);
  }
  EXPECT_EQ(ops, (std::vector<Tok>{Tok::NotEqual, Tok::NotEqual, Tok::LessEq, Tok::LessEq, Tok::GreaterEq,
                                   Tok::GreaterEq}));
}

TEST(Lexer, KeywordsAreRecognisedExceptAfterADot) {
  auto toks = tokenize(u"If x.End Then");
  ASSERT_GE(toks.size(), 5u);
  EXPECT_EQ(toks[0].kw, Kw::If);
  EXPECT_EQ(toks[2].type, Tok::Dot);
  EXPECT_TRUE(toks[2].attachedDot);
  EXPECT_EQ(toks[3].kw, Kw::None);
  EXPECT_EQ(toks[3].text, u"End");
  EXPECT_EQ(toks[4].kw, Kw::Then);
}

TEST(Lexer, LeadingDotsInWithBlocksAreNotAttached) {
  auto toks = tokenize(u"x = .Name");
  EXPECT_EQ(toks[2].type, Tok::Dot);
  EXPECT_FALSE(toks[2].attachedDot);
}

TEST(Lexer, ColonsStayWhileLineEndsCollapse) {
  EXPECT_EQ(types(u"a\r\n\r\n\r\nb"), (std::vector<Tok>{Tok::Ident, Tok::Newline, Tok::Ident, Tok::Newline, Tok::End}));
  auto toks = tokenize(u"a : b");
  EXPECT_EQ(toks[1].text, u":");
}

TEST(Lexer, LineContinuationJoinsLinesAndKeepsLineNumbers) {
  auto toks = tokenize(u"a = 1 + _\r\n  2\r\nb");
  std::vector<Tok> t;
  for (const auto& k : toks) t.push_back(k.type);
  EXPECT_EQ(t, (std::vector<Tok>{Tok::Ident, Tok::Equal, Tok::Number, Tok::Plus, Tok::Number, Tok::Newline, Tok::Ident,
                                 Tok::Newline, Tok::End}));
  EXPECT_EQ(toks[4].line, 2);
  EXPECT_EQ(toks[6].line, 3);
}

TEST(Lexer, IdentifiersMayContainUnderscoresAndDigits) {
  auto toks = tokenize(u"my_var2 = a_");
  EXPECT_EQ(toks[0].text, u"my_var2");
  EXPECT_EQ(toks[2].text, u"a_");
}

TEST(Lexer, BadInputRaisesPositionedErrors) {
  try {
    tokenize(u"x = 1\r\ny = \"open");
    FAIL();
  } catch (const ScriptError& e) {
    EXPECT_EQ(e.number, err::UnterminatedString);
    EXPECT_EQ(e.line, 2);
    EXPECT_EQ(e.column, 5);
  }
  EXPECT_THROW(tokenize(u"x = [unclosed"), ScriptError);
  EXPECT_THROW(tokenize(u"x = &HFFFFFFFFF"), ScriptError);
  EXPECT_THROW(tokenize(u"x = 1e999"), ScriptError);
  EXPECT_THROW(tokenize(std::u16string(300, u'a').c_str()), ScriptError);
}

TEST(Lexer, RemStartsACommentOnlyAsAWord) {
  auto toks = tokenize(u"remark = 1 : Rem note\r\nx.Rem = 2");
  EXPECT_EQ(toks[0].text, u"remark");
  bool sawMemberRem = false;
  for (const auto& t : toks) sawMemberRem |= t.text == u"Rem";
  EXPECT_TRUE(sawMemberRem);
}

}  // namespace
}  // namespace qm::vbs
