// The entry points of the video module, which a program loads when it first opens a video (media/VideoBackend.h).
// No exception leaves the module: errors come back as text.
#include <QApplication>

#include <exception>
#include <memory>
#include <string>

#include "media/MediaBackend.h"
#include "media/video/VideoDevice.h"

using vorlo::media::MediaBackend;
using vorlo::media::PlayEndHandler;

extern "C" __attribute__((visibility("default"))) MediaBackend* vorlo_video_open(const char* path,
                                                                                 const PlayEndHandler* onEnd,
                                                                                 std::string* error) {
    try {
        return new vorlo::media::VideoDevice(path, onEnd != nullptr ? *onEnd : PlayEndHandler());
    } catch (const std::exception& failure) {
        if (error != nullptr) *error = failure.what();
    } catch (...) {
        if (error != nullptr) *error = std::string("Cannot open \"") + path + "\" as a video.";
    }
    return nullptr;
}

extern "C" __attribute__((visibility("default"))) QCoreApplication* vorlo_video_application(int* argc, char** argv) {
    const bool display = !qEnvironmentVariableIsEmpty("DISPLAY") || !qEnvironmentVariableIsEmpty("WAYLAND_DISPLAY");
    if (display) return new QApplication(*argc, argv);
    return new QCoreApplication(*argc, argv);
}
