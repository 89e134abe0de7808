#include "media/VideoBackend.h"
#include "media/Sentence.h"

#include <dlfcn.h>

#include <map>

#include "media/EMCIDeviceError.h"

namespace vorlo::media {
namespace {

VideoDeviceFactory& installedFactory() {
    static VideoDeviceFactory factory;
    return factory;
}

std::string cannotOpen(const std::string& path, const std::string& why) {
    return withFullStop("Cannot open \"" + path + "\" as a video: " + why);
}

}  // namespace

void setVideoDeviceFactory(VideoDeviceFactory factory) { installedFactory() = std::move(factory); }

bool hasVideoDeviceFactory() { return static_cast<bool>(installedFactory()); }

std::unique_ptr<MediaBackend> openVideoDevice(const std::string& path, PlayEndHandler onEnd) {
    const VideoDeviceFactory& factory = installedFactory();
    if (!factory) throw EMCIDeviceError(cannotOpen(path, kNoVideoPlayback));
    return factory(path, std::move(onEnd));
}

const VideoModule* loadVideoModule(const std::vector<std::string>& folders, std::string& error) {
    static std::map<std::string, VideoModule> loaded;
    std::string reasons;
    for (const std::string& folder : folders) {
        const std::string file = folder + "/" + kVideoModuleFile;
        if (const auto known = loaded.find(file); known != loaded.end()) return &known->second;
        // Kept loaded for the life of the process: its back ends, and Qt's plugins it brings in, may live to the end.
        void* handle = ::dlopen(file.c_str(), RTLD_NOW | RTLD_LOCAL);
        if (handle == nullptr) {
            const char* why = ::dlerror();
            if (!reasons.empty()) reasons += "; ";
            reasons += why != nullptr ? why : file;
            continue;
        }
        VideoModule module;
        module.open = reinterpret_cast<VideoModule::OpenFunction>(::dlsym(handle, "vorlo_video_open"));
        module.makeApplication =
            reinterpret_cast<VideoModule::ApplicationFunction>(::dlsym(handle, "vorlo_video_application"));
        if (module.open == nullptr || module.makeApplication == nullptr) {
            if (!reasons.empty()) reasons += "; ";
            reasons += file + " is not the video module";
            continue;
        }
        return &loaded.emplace(file, module).first->second;
    }
    error =
        "the video module cannot be loaded (" + (reasons.empty() ? std::string("no folder to look in") : reasons) + ")";
    return nullptr;
}

VideoDeviceFactory videoModuleFactory(std::vector<std::string> folders) {
    return [folders = std::move(folders)](const std::string& path, PlayEndHandler onEnd) {
        std::string error;
        const VideoModule* module = loadVideoModule(folders, error);
        if (module == nullptr) throw EMCIDeviceError(cannotOpen(path, error));
        std::unique_ptr<MediaBackend> device(module->open(path.c_str(), &onEnd, &error));
        if (!device) throw EMCIDeviceError(error);
        return device;
    };
}

std::vector<std::string> moduleFolders(const std::string& programFolder) {
    return {programFolder, programFolder + "/../lib/vorlo"};
}

}  // namespace vorlo::media
