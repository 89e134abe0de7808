#include "core/playlist/ZipSession.h"

#include <gtest/gtest.h>

#include <vector>

using vorlo::ZipSession;

TEST(ZipSession, HasOneOwnerThatTellsWhenZipModeBeginsAndEnds) {
    ZipSession zip;
    std::vector<bool> changes;
    QObject::connect(&zip, &ZipSession::changed, [&](bool active) { changes.push_back(active); });
    EXPECT_FALSE(zip.active());
    zip.leave();  // nothing to leave
    zip.enter("/music/pack.zip");
    EXPECT_TRUE(zip.active());
    EXPECT_EQ(zip.archive(), "/music/pack.zip");
    zip.enter("/music/other.zip");  // another archive: still zip mode
    EXPECT_EQ(zip.archive(), "/music/other.zip");
    zip.leave();
    EXPECT_FALSE(zip.active());
    EXPECT_TRUE(zip.archive().isEmpty());
    EXPECT_EQ(changes, (std::vector<bool>{true, false}));
}
