// main() for test programs that need a QApplication (widgets, timers, sockets). Link vorlo_test_support and
// do not link GTest::gtest_main.
#include "core/app/ErrorHandler.h"
#include "media/video/VideoPlayback.h"
#include "player/app/PlayerApplication.h"

#include <QApplication>

#include <gtest/gtest.h>

int main(int argc, char** argv) {
    qputenv("QT_QPA_PLATFORM",
            qgetenv("QT_QPA_PLATFORM").isEmpty() ? QByteArray("offscreen") : qgetenv("QT_QPA_PLATFORM"));
    // The program folder of this build, where the player's data files are.
    if (qEnvironmentVariableIsEmpty("VORLO_PROGRAM_DIR")) qputenv("VORLO_PROGRAM_DIR", VORLO_BUILD_PROGRAM_DIR);
    // The player's own application object, so errors escaping event handlers take the player's path.
    vorlo::PlayerApplication app(argc, argv);
    // Video plays as in the player, here from the back end linked in.
    vorlo::media::installVideoPlayback();
    ::testing::InitGoogleTest(&argc, argv);
    return RUN_ALL_TESTS();
}
