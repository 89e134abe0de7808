#include "media/video/VideoPlayback.h"

#include "media/VideoBackend.h"
#include "media/video/VideoDevice.h"

namespace vorlo::media {

void installVideoPlayback() {
    setVideoDeviceFactory([](const std::string& path, PlayEndHandler onEnd) -> std::unique_ptr<MediaBackend> {
        return std::make_unique<VideoDevice>(path, std::move(onEnd));
    });
}

}  // namespace vorlo::media
