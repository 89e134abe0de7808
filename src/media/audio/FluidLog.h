#pragma once
// FluidSynth reports through a global log; we keep its warnings off the terminal and turn its
// errors into text for the user.
#include <string>

namespace vorlo::audio {

void quietFluidLog();
// The last error FluidSynth logged on this thread (cleared by reading it).
std::string takeFluidError();

}  // namespace vorlo::audio
