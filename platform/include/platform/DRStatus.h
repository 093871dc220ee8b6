#pragma once
// Keys and values of the disc-recording layer's dictionaries: the status a
// burn reports (DRNotificationCenter::burnStatusChanged, DRBurn::status) and
// the properties a burn is configured with (DRBurn::setProperties).
//
// A burn status holds DRStatusStateKey (one of the DRStatusState values) and
// DRStatusPercentCompleteKey (a double 0..1 for the current phase, negative
// when the fraction is not known). A failed burn adds DRErrorStatusKey, a
// message that can be shown to the user.

#include <QLatin1String>

// Status keys.
inline constexpr QLatin1String DRStatusStateKey{"State"};
inline constexpr QLatin1String DRStatusPercentCompleteKey{"PercentComplete"};
inline constexpr QLatin1String DRErrorStatusKey{"ErrorStatus"};

// States of a burn, in the order they are passed.
inline constexpr QLatin1String DRStatusStatePreparing{"Preparing"};
inline constexpr QLatin1String DRStatusStateTrackWrite{"TrackWrite"};
inline constexpr QLatin1String DRStatusStateSessionClose{"SessionClose"};
inline constexpr QLatin1String DRStatusStateVerifying{"Verifying"};
inline constexpr QLatin1String DRStatusStateDone{"Done"};
inline constexpr QLatin1String DRStatusStateFailed{"Failed"};

// Burn property keys (boolean values).
inline constexpr QLatin1String DRBurnVerifyDiscKey{"VerifyDisc"};
inline constexpr QLatin1String DRBurnOverwriteDiscKey{"OverwriteDisc"};
