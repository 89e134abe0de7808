// main() for test programs of the core: an event loop without a display. Link vorlo_test_core_main and do not
// link GTest::gtest_main.
#include <QCoreApplication>

#include <gtest/gtest.h>

int main(int argc, char** argv) {
    // The program folder of this build, where the player's data files are.
    if (qEnvironmentVariableIsEmpty("VORLO_PROGRAM_DIR")) qputenv("VORLO_PROGRAM_DIR", VORLO_BUILD_PROGRAM_DIR);
    QCoreApplication app(argc, argv);
    ::testing::InitGoogleTest(&argc, argv);
    return RUN_ALL_TESTS();
}
