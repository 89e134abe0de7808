// main() for the media device tests: a QApplication, because the video device opens a window, and the video back
// end installed as the player installs it.
#include <QApplication>

#include <gtest/gtest.h>

#include "media/video/VideoPlayback.h"

// The sanitizer build checks for leaks at exit. Qt Multimedia's GStreamer plugin, PulseAudio's
// client and the offscreen platform's window buffers keep allocations until the process ends;
// those are theirs, not the player's.
extern "C" const char* __lsan_default_suppressions() {
    return "leak:libgstreamermediaplugin.so\n"
           "leak:libQt6Multimedia.so\n"
           "leak:libpulse.so\n"
           "leak:libglib-2.0.so\n"
           "leak:libqoffscreen.so\n"
           "leak:QBackingStore\n"
           "leak:QRasterPaintEngine\n";
}

// The video tests load the video module and GStreamer's plugins with dlopen, and the sanitizer's bookkeeping of
// their dynamic thread-local storage can keep a stale range; its leak check at exit then crashed reading it (after
// the tests had passed). Not tracking that storage avoids the crash; allocations held only there are none of ours.
extern "C" const char* __asan_default_options() { return "intercept_tls_get_addr=0"; }

int main(int argc, char** argv) {
    if (qgetenv("QT_QPA_PLATFORM").isEmpty()) qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    vorlo::media::installVideoPlayback();
    ::testing::InitGoogleTest(&argc, argv);
    return RUN_ALL_TESTS();
}
