// The Recent Lists menu and the history file.
#include "ListsFixture.h"

#include "core/playlist/ListHistory.h"
#include "player/playlist/RecentListsMenu.h"

#include <QAction>
#include <QFile>

namespace vorlo::test {
namespace {

using RecentLists = ListsFixture;

QStringList menuCaptions(const RecentListsMenu& menu) {
    QStringList texts;
    for (const QAction* action : menu.actions()) texts << action->text();
    return texts;
}

TEST_F(RecentLists, AClosedListHeadsTheMenuAndReopeningItMovesNoOtherItem) {
    const QString a = writeList("a.mpl", {song("1.mid")});
    const QString b = writeList("b.mpl", {song("2.mid")});
    const QString c = writeList("c & d.mpl", {song("3.mid")});
    openList(a);
    openList(b);
    openList(c);
    panel->playlist().setChecked(0, true);
    EXPECT_EQ(lists->history().entries(), QStringList({c, b, a}));
    EXPECT_EQ(recentMenu->captions(), QStringList({b, a}));

    ASSERT_TRUE(lists->FileCloseListClick());
    EXPECT_EQ(recentMenu->captions(), QStringList({c, b, a}));
    // The item shows the path itself: an ampersand is no mnemonic.
    EXPECT_EQ(menuCaptions(*recentMenu).first(), path("c && d.mpl"));

    recentMenu->actions().first()->trigger();
    EXPECT_EQ(lists->history().entries(), QStringList({c, b, a}));
    EXPECT_EQ(recentMenu->captions(), QStringList({b, a}));
    EXPECT_EQ(playlistPaths(), QStringList{path("3.mid")});
    EXPECT_FALSE(panel->playlist().isChecked(0));  // check marks are never stored
    EXPECT_EQ(lists->listFile(), c);
    EXPECT_TRUE(closeListEnabled());

    // An older list moves to the top; the list that was open becomes the first recent one.
    recentMenu->actions().at(1)->trigger();
    EXPECT_EQ(lists->history().entries(), QStringList({a, c, b}));
    EXPECT_EQ(recentMenu->captions(), QStringList({c, b}));
}

TEST_F(RecentLists, ARecentListWhoseFileHasGoneIsDroppedWithoutAWord) {
    const QString a = writeList("a.mpl", {song("1.mid")});
    const QString b = writeList("b.mpl", {song("2.mid")});
    const QString c = writeList("c.mpl", {song("3.mid")});
    openList(a);
    openList(b);
    openList(c);
    ASSERT_TRUE(QFile::remove(b));

    lists->RecentListClick(0);
    EXPECT_EQ(lists->history().entries(), QStringList({c, a}));
    EXPECT_EQ(recentMenu->captions(), QStringList{a});
    // The open list stays open.
    EXPECT_EQ(playlistPaths(), QStringList{path("3.mid")});
    EXPECT_EQ(lists->listFile(), c);
}

}  // namespace
}  // namespace vorlo::test
