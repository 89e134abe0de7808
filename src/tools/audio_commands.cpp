// `vorlo render` and `vorlo play`: through the synthesizer and the audio output.
#include <cstdio>

#include "tools/commands.h"

namespace vorlo::tools {

int runRender(const std::vector<std::string>&) {
  std::fputs("vorlo: render is not available yet\n", stderr);
  return kExitNoAudio;
}

int runPlay(const std::vector<std::string>&) {
  std::fputs("vorlo: play is not available yet\n", stderr);
  return kExitNoAudio;
}

}  // namespace vorlo::tools
