// The compiled-module cache behind AddCode.
#include <gtest/gtest.h>

#include "vbscript/ScriptError.h"
#include "vbscript/vm/ParseCache.h"

namespace qm::vbs {
namespace {

TEST(ParseCache, TheSameTextGivesTheSameModule) {
  auto a = compileCached(u"Sub CacheProbe\r\nEnd Sub\r\n", false);
  auto b = compileCached(u"Sub CacheProbe\r\nEnd Sub\r\n", false);
  EXPECT_EQ(a.get(), b.get());
  auto c = compileCached(u"Sub CacheProbe\r\nEnd Sub\r\n ", false);
  EXPECT_NE(a.get(), c.get());
  auto d = compileCached(u"x = 1", true);
  auto e = compileCached(u"x = 1", false);
  EXPECT_NE(d.get(), e.get());
}

TEST(ParseCache, SyntaxErrorsAreRaisedEveryTime) {
  for (int i = 0; i < 2; ++i) {
    try {
      compileCached(u"If\r\n", false);
      FAIL();
    } catch (const ScriptError& err) {
      EXPECT_EQ(err.kind, ErrorKind::Syntax);
    }
  }
}

TEST(ParseCache, ManyDifferentTextsStayBounded) {
  clearParseCache();
  auto first = compileCached(u"x = 0", false);
  for (int i = 1; i < 400; ++i) compileCached(u"x = " + fromAscii(std::to_string(i)), false);
  // The first entry has been evicted: compiling again gives a new module.
  auto again = compileCached(u"x = 0", false);
  EXPECT_NE(first.get(), again.get());
}

}  // namespace
}  // namespace qm::vbs
