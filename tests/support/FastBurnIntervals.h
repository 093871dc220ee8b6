#pragma once
// Burn waits short enough for a test to take a fraction of a second, with
// `cancelSettle` ms for a cancelled burn to settle. Header-only: include it
// from a test that links the production module.

#include "production/BurnDVDWorkflow.h"

namespace testsupport {

inline BurnDVDWorkflow::BurnIntervals fastBurnIntervals(int cancelSettle)
{
    BurnDVDWorkflow::BurnIntervals intervals;
    intervals.startAttempt = 1;
    intervals.statusPoll = 5;
    intervals.sheetPoll = 10;
    intervals.cancelSettle = cancelSettle;
    return intervals;
}

}  // namespace testsupport
