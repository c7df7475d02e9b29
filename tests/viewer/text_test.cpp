// The text strings: 1-based substrings that are empty for starts outside the
// text and cut at its end, byte-exact equality, and character codes 0..255.
#include <gtest/gtest.h>

#include <string>

#include "app/text.h"

namespace {

std::string str(app::Text t) { return std::string(reinterpret_cast<const char*>(t.bytes), size_t(t.length)); }

TEST(Text, SubstringTakesOneBasedStartsAndCutsAtTheEnd) {
    const app::Text t = app::text_literal("QUILLON");
    struct Case {
        int32_t start, length;
        const char* expected;
    } cases[] = {
        {1, 3, "QUI"}, {5, 3, "LON"}, {7, 1, "N"}, {6, 103, "ON"}, {1, 7, "QUILLON"},
        {0, 3, ""},    {-4, 10, ""},  {8, 1, ""},  {3, 0, ""},    {3, -2, ""},
    };
    for (const Case& c : cases)
        EXPECT_EQ(str(app::text_sub(t, c.start, c.length)), c.expected) << c.start << "," << c.length;
    EXPECT_EQ(app::text_sub(app::Text{}, 1, 5).length, 0);
}

TEST(Text, EqualityIsSameLengthAndSameBytes) {
    const uint8_t end_with_zero[] = {'<', 'E', 'N', 'D', '>', 0};
    EXPECT_TRUE(app::text_equal(app::text_literal("<END>"), app::text_literal("<END>")));
    EXPECT_TRUE(app::text_equal(app::text_literal(""), app::Text{}));
    EXPECT_FALSE(app::text_equal(app::text_literal("<END>"), app::text_literal("<end>")));
    EXPECT_FALSE(app::text_equal(app::text_literal("<END>"), app::text_literal("<END> ")));
    EXPECT_FALSE(app::text_equal(app::text_literal("<END>"), app::text_of(end_with_zero, 6)));
}

TEST(Text, CodesAreUnsignedAndOutsideTheTextThereIsNone) {
    const uint8_t bytes[] = {0xDB, 0x09, 'A'};
    const app::Text t = app::text_of(bytes, 3);
    EXPECT_EQ(app::text_code(t, 1), 219);
    EXPECT_EQ(app::text_code(t, 2), 9);
    EXPECT_EQ(app::text_code(t, 3), 'A');
    EXPECT_EQ(app::text_code(t, 0), -1);
    EXPECT_EQ(app::text_code(t, 4), -1);
}

}  // namespace
