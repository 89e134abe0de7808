#pragma once
// Video playback for programs that link this library: installs its back end into the media device.
namespace vorlo::media {

// Installs the back end of this library as the media device's video factory. Call on the user-interface thread.
void installVideoPlayback();

}  // namespace vorlo::media
