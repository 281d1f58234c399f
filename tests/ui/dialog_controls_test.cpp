// The reading behind the dialog's number field, for inputs that the driven dialog cannot tell apart
// (every result below 1 is stored as 1).
#include <gtest/gtest.h>

#include <climits>

#include "ui/dialog_controls.h"

TEST(ParseLeadingInt, ReadsLikeAtoiAndSaturatesAtBothEnds)
{
    const std::pair<const char*, int> cases[]
        = {{" \t\r\n\v\f42x", 42}, {"+7", 7}, {"-15ms", -15}, {"12 34", 12}, {"- 5", 0}, {"+-5", 0},
            {"x5", 0}, {"", 0}, {"０１", 0} /* full-width */, {"0000000000000000000000123", 123},
            {"2147483647", INT_MAX}, {"2147483648", INT_MAX}, {"99999999999999999999999999", INT_MAX},
            {"-2147483648", INT_MIN}, {"-2147483649", INT_MIN}, {"-99999999999999999999999999", INT_MIN}};
    for (const auto& [text, value] : cases)
        EXPECT_EQ(parseLeadingInt(text), value) << text;
}
