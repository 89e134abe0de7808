#include "core/playlist/PlaylistEnables.h"

#include <gtest/gtest.h>

using vorlo::MidPanelEnables;
using vorlo::PlaylistState;
using vorlo::PopupEnables;

namespace {
// Order: push up, push down, remove, clear, copy, move, kill.
MidPanelEnables mid(bool up, bool down, bool remove, bool clear, bool copy, bool move, bool kill) {
    return {up, down, remove, clear, copy, move, kill};
}
}  // namespace

TEST(MidPanelButtons, FollowTheListAndTheSelectedLine) {
    EXPECT_EQ(vorlo::midPanelEnables({0, -1, 0, false}), mid(false, false, false, false, false, false, false));
    EXPECT_EQ(vorlo::midPanelEnables({3, -1, 0, false}), mid(false, false, false, true, true, true, false));
    EXPECT_EQ(vorlo::midPanelEnables({3, 0, 0, false}), mid(false, true, true, true, true, true, true));
    EXPECT_EQ(vorlo::midPanelEnables({3, 1, 0, false}), mid(true, true, true, true, true, true, true));
    EXPECT_EQ(vorlo::midPanelEnables({3, 2, 0, false}), mid(true, false, true, true, true, true, true));
    EXPECT_EQ(vorlo::midPanelEnables({1, 0, 0, false}), mid(false, false, true, true, true, true, true));
}

TEST(MidPanelButtons, InZipModeOnlyThePlayedMemberCanBeCopied) {
    EXPECT_EQ(vorlo::midPanelEnables({3, 1, 1, true}), mid(true, true, true, true, true, false, false));
    EXPECT_EQ(vorlo::midPanelEnables({3, 1, 2, true}), mid(true, true, true, true, false, false, false));
    EXPECT_EQ(vorlo::midPanelEnables({3, -1, 2, true}), mid(false, false, false, true, false, false, false));
}

TEST(PopupItems, FollowTheListAndTheSelectedLine) {
    const PopupEnables empty = vorlo::popupEnables({0, -1, 0, false});
    EXPECT_EQ(empty.gotoCurrent, false);
    EXPECT_EQ(empty, (PopupEnables{false, false, false, false, false, false, false, false, false, false}));

    const PopupEnables noneSelected = vorlo::popupEnables({4, -1, 0, false});
    EXPECT_FALSE(noneSelected.gotoCurrent.has_value());  // keeps what it had
    EXPECT_EQ(noneSelected, (PopupEnables{std::nullopt, false, false, true, true, true, false, false, true, true}));

    const PopupEnables selected = vorlo::popupEnables({4, 2, 0, false});
    EXPECT_EQ(selected, (PopupEnables{true, true, true, true, true, true, true, true, true, true}));
}

TEST(PopupItems, InZipModeFilesOnlyTheMemberOnDiskCanBeInspectedOrCopied) {
    EXPECT_EQ(vorlo::popupEnables({4, 2, 2, true}),
              (PopupEnables{true, true, true, true, true, false, false, false, true, false}));
    EXPECT_EQ(vorlo::popupEnables({4, 1, 2, true}),
              (PopupEnables{true, false, true, true, false, false, false, false, true, false}));
}
