#include <gtest/gtest.h>

#include "common/portable/text.h"

TEST(CopyText, CutsToCapacityAndAlwaysTerminates)
{
    struct Case {
        std::u16string_view src;
        size_t cap;
        std::u16string_view expected;
    } cases[] = {
        {u"hello", 10, u"hello"},
        {u"hello", 6, u"hello"},
        {u"hello", 5, u"hell"},
        {u"hello", 1, u""},
        {u"", 4, u""},
    };
    for (const Case &c : cases) {
        char16_t buf[16];
        std::fill(std::begin(buf), std::end(buf), u'#');
        size_t n = CopyText(buf, c.cap, c.src);
        EXPECT_EQ(std::u16string_view(buf, n), c.expected);
        EXPECT_EQ(buf[n], 0);
        EXPECT_EQ(buf[c.cap], u'#') << "wrote past the buffer";
    }
}
