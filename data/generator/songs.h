#pragma once
// Our two sample songs, composed for the player to show itself off with.
#include "midi/smf_writer.h"

namespace vorlo::data {

midi::SmfWriter aWalkToSeashore();
midi::SmfWriter theWaiterAndTheReaper();

}  // namespace vorlo::data
