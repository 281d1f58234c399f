#include "rights/elevation_rule.h"

bool foregroundHasMoreRights(const ForegroundFacts& facts)
{
    if (!facts.window || facts.ownProcess)
        return false;
    if (facts.processError != 0)
        return facts.processError == kAccessDenied;
    if (facts.tokenError != 0)
        return facts.tokenError == kAccessDenied;
    return facts.elevationRead && facts.elevated;
}
