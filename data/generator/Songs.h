#pragma once
// Our two sample songs, composed for the player to show itself off with.
#include "midi/SmfWriter.h"

namespace vorlo::data {

midi::SmfWriter aWalkToSeashore();
midi::SmfWriter theWaiterAndTheReaper();

}  // namespace vorlo::data
