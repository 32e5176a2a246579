#include "vbscript/runtime/Regex.h"

#include <gtest/gtest.h>

using namespace qm::vbs::rt;

namespace {

std::u16string w(const std::string& s) { return std::u16string(s.begin(), s.end()); }
std::string n(const std::u16string& s) { return std::string(s.begin(), s.end()); }

// First match as "value" or "<none>", with groups appended as "|g1|g2" ("?" for unmatched).
std::string first(const std::string& pattern, const std::string& text, bool icase = false, bool multiline = false)
{
    Regex re(w(pattern), icase, multiline);
    RegexMatch m;
    std::u16string t = w(text);
    if (!re.search(t, 0, m))
        return "<none>";
    std::string out = n(t.substr(m.index, m.length));
    for (auto& g : m.groups)
        out += "|" + (g.first < 0 ? std::string("?") : n(t.substr(static_cast<size_t>(g.first), static_cast<size_t>(g.second - g.first))));
    return out;
}

std::string all(const std::string& pattern, const std::string& text, bool icase = false, bool multiline = false)
{
    Regex re(w(pattern), icase, multiline);
    std::u16string t = w(text);
    std::string out;
    size_t at = 0;
    RegexMatch m;
    while (at <= t.size() && re.search(t, at, m)) {
        out += "[" + n(t.substr(m.index, m.length)) + "]";
        at = m.index + (m.length ? m.length : 1);
    }
    return out;
}

int errorOf(const std::string& pattern)
{
    try {
        Regex re(w(pattern), false, false);
    } catch (const RegexError& e) {
        return e.number();
    }
    return 0;
}

} // namespace

TEST(RegexSyntax, LiteralsClassesAndEscapes)
{
    EXPECT_EQ(first("b.d", "abcde"), "bcd");
    EXPECT_EQ(first("a.c", "a\nc"), "<none>");
    EXPECT_EQ(first("[a-c]+", "xxbcaay"), "bcaa");
    EXPECT_EQ(first("[^a-c]+", "abcxyzab"), "xyz");
    EXPECT_EQ(first("\\d+\\.\\d*", "v 12.50 x"), "12.50");
    EXPECT_EQ(first("\\w+", "  hello_1 world"), "hello_1");
    EXPECT_EQ(first("\\s+", "a \t\nb"), " \t\n");
    EXPECT_EQ(first("[\\d,]+", "x1,000y"), "1,000");
    EXPECT_EQ(first("\\x41\\u0042\\t", "zAB\t"), "AB\t");
    EXPECT_EQ(first("[-a]+", "x-a-y"), "-a-");
    EXPECT_EQ(first("a{2}", "aaaa"), "aa");
    EXPECT_EQ(first("a{2,}", "aaaa"), "aaaa");
    EXPECT_EQ(first("a{1,3}", "aaaa"), "aaa");
    EXPECT_EQ(first("x{a", "x{a"), "x{a");
    EXPECT_EQ(first("\\.\\*\\(", "a.*(b"), ".*(");
    EXPECT_EQ(first("[\\]]", "a]b"), "]");
}

TEST(RegexSyntax, GreedyAndLazyQuantifiers)
{
    EXPECT_EQ(first("<.*>", "<a><b>"), "<a><b>");
    EXPECT_EQ(first("<.*?>", "<a><b>"), "<a>");
    EXPECT_EQ(first("a+?", "aaa"), "a");
    EXPECT_EQ(first("a??b", "ab"), "ab");
    EXPECT_EQ(first("a{2,3}?", "aaaa"), "aa");
    EXPECT_EQ(first("x*", "abc"), "");
}

TEST(RegexSyntax, GroupsAlternationAndBackreferences)
{
    EXPECT_EQ(first("(\\w+)@(\\w+)\\.com", "mail joe@site.com now"), "joe@site.com|joe|site");
    EXPECT_EQ(first("(?:ab)+", "ababab"), "ababab");
    EXPECT_EQ(first("cat|dog", "hotdog"), "dog");
    EXPECT_EQ(first("(a)|(b)", "b"), "b|?|b");
    EXPECT_EQ(first("(\\w)\\1", "abccd"), "cc|c");
    EXPECT_EQ(first("(a*)+b", "aaab"), "aaab|aaa");
    EXPECT_EQ(first("(a|ab)(c|bcd)(d*)", "abcd"), "abcd|a|bcd|");
    EXPECT_EQ(first("q(?=u)", "qatqu"), "q");
    EXPECT_EQ(first("q(?!u)\\w", "quqa"), "qa");
    EXPECT_EQ(first("(\\d+)(?=px)", "10em 20px"), "20|20");
}

TEST(RegexSyntax, AnchorsAndWordBoundaries)
{
    EXPECT_EQ(all("^\\w+", "one\ntwo\nthree"), "[one]");
    EXPECT_EQ(all("^\\w+", "one\ntwo\r\nthree", false, true), "[one][two][three]");
    EXPECT_EQ(all("\\w+$", "one\ntwo", false, true), "[one][two]");
    EXPECT_EQ(all("\\w+$", "one\ntwo"), "[two]");
    EXPECT_EQ(all("\\bis\\b", "this is it"), "[is]");
    EXPECT_EQ(all("\\Bis", "this is it"), "[is]");
    EXPECT_EQ(all("", "ab"), "[][][]");
}

TEST(RegexSyntax, IgnoreCase)
{
    EXPECT_EQ(first("HELLO", "say hello", true), "hello");
    EXPECT_EQ(first("[a-z]+", "ABC", true), "ABC");
    EXPECT_EQ(first("(a)\\1", "aA", true), "aA|a");
    Regex re(u"\u00e9t\u00e9", true, false);
    RegexMatch m;
    EXPECT_TRUE(re.search(u"\u00c9T\u00c9", 0, m));
}

TEST(RegexSyntax, MalformedPatternsRaiseTheirNumbers)
{
    EXPECT_EQ(errorOf("*a"), 5018);
    EXPECT_EQ(errorOf("a**"), 5018);
    EXPECT_EQ(errorOf("[abc"), 5019);
    EXPECT_EQ(errorOf("(abc"), 5020);
    EXPECT_EQ(errorOf("[z-a]"), 5021);
    EXPECT_EQ(errorOf("abc)"), 5017);
    EXPECT_EQ(errorOf("(?<x>a)"), 5017);
    EXPECT_EQ(errorOf("a{3,1}"), 5017);
    EXPECT_EQ(errorOf(std::string(2000, '(') + std::string(2000, ')')), 5017);
}

TEST(RegexLimits, HostilePatternsEndWithAnError)
{
    Regex re(u"(a+)+b", false, false);
    re.setStepLimit(2'000'000);
    RegexMatch m;
    EXPECT_THROW(re.search(std::u16string(40, u'a'), 0, m), RegexError);
}

TEST(RegexLimits, LongInputsDoNotExhaustTheStack)
{
    std::u16string text(1'000'000, u'x');
    text += u"y";
    Regex re(u".*y", false, false);
    RegexMatch m;
    ASSERT_TRUE(re.search(text, 0, m));
    EXPECT_EQ(m.length, text.size());
    Regex alt(u"(?:x|z)*y", false, false);
    ASSERT_TRUE(alt.search(text, 0, m));
    EXPECT_EQ(m.length, text.size());
}

TEST(RegexReplace, TemplateExpansion)
{
    Regex re(u"(\\w+) (\\w+)", false, false);
    std::u16string t = u"hello world!";
    RegexMatch m;
    ASSERT_TRUE(re.search(t, 0, m));
    EXPECT_EQ(expandReplacement(u"$2 $1", t, m), u"world hello");
    EXPECT_EQ(expandReplacement(u"[$&]", t, m), u"[hello world]");
    EXPECT_EQ(expandReplacement(u"$'|$`|$$|$3|$", t, m), u"!||$|$3|$");
}
