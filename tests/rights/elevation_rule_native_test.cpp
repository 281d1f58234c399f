#include <gtest/gtest.h>

#include "rights/elevation_rule.h"

namespace {

ForegroundFacts other() { return ForegroundFacts{.window = true}; }

ForegroundFacts token(bool elevated)
{
    ForegroundFacts facts = other();
    facts.elevationRead = true;
    facts.elevated = elevated;
    return facts;
}

ForegroundFacts failed(unsigned long processError, unsigned long tokenError)
{
    ForegroundFacts facts = other();
    facts.processError = processError;
    facts.tokenError = tokenError;
    return facts;
}

} // namespace

// Windows refuses a program without administrator rights the token of one that has them; any
// other failure says nothing about rights. ERROR_INVALID_PARAMETER (87): the process is gone.
TEST(ForegroundRights, MoreRightsWhenTheTokenSaysElevatedOrTheSystemRefusesALook)
{
    struct Row {
        const char* name;
        bool programElevated;
        ForegroundFacts facts;
        bool moreRights;
    };
    ForegroundFacts ownElevated = token(true);
    ownElevated.ownProcess = true;
    const Row rows[] = {
        {"elevated token", false, token(true), true},
        {"limited token", false, token(false), false},
        {"token refused", false, failed(0, kAccessDenied), true},
        {"process refused", false, failed(kAccessDenied, 0), true},
        {"process gone", false, failed(87, 0), false},
        {"token failed otherwise", false, failed(0, 87), false},
        {"elevation unread", false, other(), false},
        {"no foreground window", false, ForegroundFacts{}, false},
        {"own window", false, ownElevated, false},
        {"program elevated, elevated token", true, token(true), false},
        {"program elevated, token refused", true, failed(0, kAccessDenied), false},
    };
    for (const Row& row : rows)
        EXPECT_EQ(foregroundHasMoreRights(row.programElevated, row.facts), row.moreRights) << row.name;
}
