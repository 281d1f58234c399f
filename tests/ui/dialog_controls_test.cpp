// The text readings behind the dialog's number and file name fields.
#include <gtest/gtest.h>

#include <climits>

#include "ui/dialog_controls.h"

TEST(ParseLeadingInt, ReadsLikeAtoi)
{
    EXPECT_EQ(parseLeadingInt(" \t\r\n\v\f42x"), 42);
    EXPECT_EQ(parseLeadingInt("+7"), 7);
    EXPECT_EQ(parseLeadingInt("-15ms"), -15);
    EXPECT_EQ(parseLeadingInt("12 34"), 12);
    EXPECT_EQ(parseLeadingInt("- 5"), 0);
    EXPECT_EQ(parseLeadingInt("+-5"), 0);
    EXPECT_EQ(parseLeadingInt("x5"), 0);
    EXPECT_EQ(parseLeadingInt(""), 0);
    EXPECT_EQ(parseLeadingInt("０１"), 0); // full-width digits are not digits
    EXPECT_EQ(parseLeadingInt("0000000000000000000000123"), 123);
}

TEST(ParseLeadingInt, SaturatesAtBothEndsOfTheRange)
{
    EXPECT_EQ(parseLeadingInt("2147483647"), INT_MAX);
    EXPECT_EQ(parseLeadingInt("2147483648"), INT_MAX);
    EXPECT_EQ(parseLeadingInt("99999999999999999999999999"), INT_MAX);
    EXPECT_EQ(parseLeadingInt("-2147483648"), INT_MIN);
    EXPECT_EQ(parseLeadingInt("-2147483649"), INT_MIN);
    EXPECT_EQ(parseLeadingInt("-99999999999999999999999999"), INT_MIN);
}

TEST(DropSplitCharacter, RemovesOnlyALeadByteWithoutItsTrail)
{
    std::string cut = "ab\x82";
    dropSplitCharacter(cut);
    EXPECT_EQ(cut, "ab");

    // 0x82 0x82 is one whole character whose trail byte is also a lead byte value.
    std::string whole = "\x82\x82";
    dropSplitCharacter(whole);
    EXPECT_EQ(whole, "\x82\x82");

    std::string wholeThenCut = "\x82\x82\x82";
    dropSplitCharacter(wholeThenCut);
    EXPECT_EQ(wholeThenCut, "\x82\x82");

    std::string halfWidthKana = "ｱｲ"; // single bytes 0xB1 0xB2
    dropSplitCharacter(halfWidthKana);
    EXPECT_EQ(halfWidthKana, "ｱｲ");

    std::string empty;
    dropSplitCharacter(empty);
    EXPECT_EQ(empty, "");
}
