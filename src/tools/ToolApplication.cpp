#include "ToolApplication.h"

#include <vector>

#include "media/VideoBackend.h"

namespace vorlo::tools {

ToolApplication::ToolApplication(const std::string& programFolder, bool withVideo) {
    if (withVideo) {
        const std::vector<std::string> folders = media::moduleFolders(programFolder);
        media::setVideoDeviceFactory(media::videoModuleFactory(folders));
        std::string unused;
        if (const media::VideoModule* video = media::loadVideoModule(folders, unused))
            app_.reset(video->makeApplication(&argc_, argv_));
    }
    if (!app_) app_ = std::make_unique<QCoreApplication>(argc_, argv_);
}

}  // namespace vorlo::tools
