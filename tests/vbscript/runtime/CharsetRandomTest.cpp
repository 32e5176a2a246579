#include "vbscript/runtime/Charset.h"
#include "vbscript/runtime/RandomGenerator.h"

#include <gtest/gtest.h>

#include <cmath>

using namespace qm::vbs::rt;

TEST(Windows1252, HighRangeMapsToUnicode)
{
    EXPECT_EQ(windows1252ToUnicode(128), 0x20AC);
    EXPECT_EQ(windows1252ToUnicode(0x92), 0x2019);
    EXPECT_EQ(windows1252ToUnicode(0x81), 0x81);
    EXPECT_EQ(windows1252ToUnicode(0xE9), 0xE9);
    EXPECT_EQ(unicodeToWindows1252(0x20AC), 128);
    EXPECT_EQ(unicodeToWindows1252(0x178), 0x9F);
    EXPECT_EQ(unicodeToWindows1252(0x3B1), '?');
    for (int b = 0; b < 256; ++b)
        EXPECT_EQ(unicodeToWindows1252(windows1252ToUnicode(static_cast<unsigned char>(b))), b);
}

TEST(EscapeText, EscapeAndUnescape)
{
    EXPECT_EQ(escape(u"a b+c/d@e*f_g-h.i"), u"a%20b+c/d@e*f_g-h.i");
    EXPECT_EQ(escape(u"\u00e9\u20ac&"), u"%E9%u20AC%26");
    EXPECT_EQ(unescape(u"%E9%u20AC%26%20"), u"\u00e9\u20ac& ");
    EXPECT_EQ(unescape(u"100%"), u"100%");
    EXPECT_EQ(unescape(u"%zz%u12"), u"%zz%u12");
    EXPECT_EQ(unescape(escape(u"x\u1234\u00ff ?")), u"x\u1234\u00ff ?");
}

TEST(RandomNumbers, NegativeArgumentReseedsRepeatably)
{
    RandomGenerator g;
    EXPECT_NEAR(g.next(-1.0f), 0.2240070104599, 1e-7);
    EXPECT_NEAR(g.next(-1.0f), 0.2240070104599, 1e-7);
    float last = g.next(0.0f);
    EXPECT_EQ(g.next(0.0f), last);
    RandomGenerator h;
    EXPECT_NEAR(h.next(-2.5f), 0.3383257, 1e-7);
    EXPECT_NEAR(h.next(), 0.7874333, 1e-7);
    EXPECT_NEAR(h.next(1.0f), 0.3604596, 1e-7);
}

TEST(RandomNumbers, RandomizeWithSeedMixesIntoCurrentState)
{
    RandomGenerator g;
    g.randomize(5);
    EXPECT_NEAR(g.next(), 0.3257257, 1e-7);
    EXPECT_NEAR(g.next(), 0.7353894, 1e-7);
    // Rnd(-1) followed by Randomize n gives a repeatable sequence.
    RandomGenerator h;
    h.next(-1.0f);
    h.randomize(5);
    EXPECT_NEAR(h.next(), 0.8944274, 1e-7);
    EXPECT_NEAR(h.next(), 0.6981077, 1e-7);
}

TEST(RandomNumbers, ValuesStayInUnitInterval)
{
    RandomGenerator g;
    for (int i = 0; i < 100000; ++i) {
        float v = g.next();
        ASSERT_GE(v, 0.0f);
        ASSERT_LT(v, 1.0f);
    }
}
