// The machining length of a move list and the estimated machining time shown
// after a program is written. The estimate takes the whole length at the feed
// rate: rapids and the plunge rate do not enter it.
#pragma once

#include <cstdint>
#include <string>

#include "engine/toolpath/MoveList.h"

namespace calvoro {

// The sum of the 3D lengths of the feed moves. After a retract the move down
// is measured from the previous end point lifted to the feed plane (for the
// first retract: from above the new start), and that distance counts twice,
// once for the retract. Summed in double, so that millions of short moves do
// not drift.
double MachiningLength(const MoveList& moves);

// Round(length / feed rate * 60), the rate in units per minute; 0 for a rate
// that is not positive.
std::int64_t MachiningSeconds(double length, double feedRate);

// " 1h, 02m, 05s" for 3725 seconds: hours as they come, minutes and seconds in
// two digits, a blank in front. Negative times count as 0.
std::string FormatMachiningTime(std::int64_t seconds);

}  // namespace calvoro
