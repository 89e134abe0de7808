#pragma once
// Video clips play through a back end that this library does not link: it needs Qt Multimedia, GStreamer and,
// for its window, Qt Widgets, which a program that never shows a video should not load. A program that plays video
// installs a factory for it; without one, opening a video fails with kNoVideoPlayback in the error.
//
// The back end also comes as a plugin module (kVideoModuleFile) in the program folder, loaded only when the first
// video is opened: videoModuleFactory() is the factory that does so.
#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "media/MediaBackend.h"

class QCoreApplication;

namespace vorlo::media {

// Makes the back end for the video at `path`; throws EMCIDeviceError with the reason when it cannot play it.
// Called on the user-interface thread, by MIDIPlayer::open.
using VideoDeviceFactory = std::function<std::unique_ptr<MediaBackend>(const std::string& path, PlayEndHandler onEnd)>;

// Process-wide. Call on the user-interface thread, before or between opens; an empty factory removes it.
void setVideoDeviceFactory(VideoDeviceFactory factory);
bool hasVideoDeviceFactory();
// Through the installed factory. Throws EMCIDeviceError when none is installed or the video cannot be played.
std::unique_ptr<MediaBackend> openVideoDevice(const std::string& path, PlayEndHandler onEnd);

inline constexpr const char* kNoVideoPlayback = "this program has no video playback";
inline constexpr const char* kVideoModuleFile = "vorlo-video.so";

// What the video module offers; both are called on the thread that runs the application.
struct VideoModule {
    // The back end for `path`, or null with `error` set (no exception crosses the module's edge).
    using OpenFunction = MediaBackend* (*)(const char* path, const PlayEndHandler* onEnd, std::string* error);
    // The application a program without one of its own needs for video: a QApplication where a display is
    // there (the picture gets its window), else a QCoreApplication (the sound track plays alone).
    using ApplicationFunction = QCoreApplication* (*)(int* argc, char** argv);
    OpenFunction open = nullptr;
    ApplicationFunction makeApplication = nullptr;
};

// Loads the video module from the first of `folders` that holds it (each file once per process; it stays loaded).
// Null with `error` set when none can be loaded. Thread: any, but not at the same time as another call.
const VideoModule* loadVideoModule(const std::vector<std::string>& folders, std::string& error);
// A factory that loads the module from `folders` when the first video is opened.
VideoDeviceFactory videoModuleFactory(std::vector<std::string> folders);
// Where a program finds its modules: its own folder, then ../lib/vorlo beside it (an installed program).
std::vector<std::string> moduleFolders(const std::string& programFolder);

}  // namespace vorlo::media
