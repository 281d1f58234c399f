#include <gtest/gtest.h>

#include "rights/elevation_rule.h"

// Windows refuses a program without administrator rights the token of one that has them; any
// other failure says nothing about rights. ERROR_INVALID_PARAMETER (87): the process is gone.
TEST(ForegroundRights, MoreRightsWhenTheTokenSaysElevatedOrTheSystemRefusesALook)
{
    struct Row {
        const char* name;
        ForegroundFacts facts; // window, own process, process error, token error, read, elevated
        bool moreRights;
    };
    const Row rows[] = {
        {"elevated token", {true, false, 0, 0, true, true}, true},
        {"limited token", {true, false, 0, 0, true, false}, false},
        {"token refused", {true, false, 0, kAccessDenied, false, false}, true},
        {"process refused", {true, false, kAccessDenied, 0, false, false}, true},
        {"process gone", {true, false, 87, 0, false, false}, false},
        {"token failed otherwise", {true, false, 0, 87, false, false}, false},
        {"elevation unread", {true, false, 0, 0, false, true}, false},
        {"no foreground window", {}, false},
        {"own window", {true, true, 0, 0, true, true}, false},
    };
    for (const Row& row : rows)
        EXPECT_EQ(foregroundHasMoreRights(row.facts), row.moreRights) << row.name;
}
