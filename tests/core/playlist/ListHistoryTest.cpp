#include "core/playlist/ListHistory.h"

#include <QFile>
#include <QTemporaryDir>

#include <gtest/gtest.h>

using namespace vorlo;

namespace {

QString list(int n) { return QString("/lists/%1.mpl").arg(n); }

TEST(ListHistoryTest, OpeningTheSameListTwiceKeepsItOnceAtTheTop) {
    ListHistory history;
    history.PushHistory(list(1));
    history.PushHistory(list(2));
    history.PushHistory(list(1));
    EXPECT_EQ(history.entries(), (QStringList{list(1), list(2)}));
    EXPECT_EQ(history.menuItems(), QStringList{list(2)});  // the open list is not a recent one
}

TEST(ListHistoryTest, SixteenListsKeepFifteenAndTheMenuFourteen) {
    ListHistory history;
    for (int i = 1; i <= 16; ++i) history.PushHistory(list(i));
    ASSERT_EQ(history.entries().size(), 15);
    EXPECT_EQ(history.entries().first(), list(16));
    EXPECT_EQ(history.entries().last(), list(2));  // the oldest went
    ASSERT_EQ(history.menuItems().size(), 14);
    EXPECT_EQ(history.menuItems().first(), list(15));
    EXPECT_FALSE(history.menuItems().contains(list(16)));
}

TEST(ListHistoryTest, AClosedListHeadsTheMenuAndReopeningItMovesNothingElse) {
    ListHistory history;
    for (int i = 1; i <= 3; ++i) history.PushHistory(list(i));
    history.listClosed();
    EXPECT_EQ(history.menuItems(), (QStringList{list(3), list(2), list(1)}));
    history.PushHistory(list(3));
    EXPECT_EQ(history.menuItems(), (QStringList{list(2), list(1)}));
    EXPECT_EQ(history.entries(), (QStringList{list(3), list(2), list(1)}));
    history.listClosed();
    history.listClosed();  // closing twice adds no second item
    EXPECT_EQ(history.menuItems(), (QStringList{list(3), list(2), list(1)}));
}

TEST(ListHistoryTest, ARecentListThatIsGoneIsForgottenAlone) {
    ListHistory history;
    for (int i = 1; i <= 4; ++i) history.PushHistory(list(i));
    // menu: 3, 2, 1 while 4 is open
    history.forgetMenuItem(1);
    EXPECT_EQ(history.menuItems(), (QStringList{list(3), list(1)}));
    EXPECT_EQ(history.entries(), (QStringList{list(4), list(3), list(1)}));
}

TEST(ListHistoryTest, HistoryIniRoundTripAndStartUp) {
    QTemporaryDir dir;
    const QString ini = dir.path() + "/History.ini";
    ListHistory empty;
    empty.save(ini);
    EXPECT_FALSE(QFile::exists(ini));  // an empty history leaves no file (and keeps an old one)

    ListHistory saved;
    for (int i = 1; i <= 3; ++i) saved.PushHistory(list(i));
    saved.save(ini);
    QFile file(ini);
    ASSERT_TRUE(file.open(QIODevice::ReadOnly));
    EXPECT_EQ(file.readAll(), "/lists/3.mpl\r\n/lists/2.mpl\r\n/lists/1.mpl\r\n");

    ListHistory loaded;
    loaded.load(ini, "/ignored.mpl");
    EXPECT_EQ(loaded.entries(), saved.entries());
    EXPECT_EQ(loaded.menuItems(), saved.entries());
    loaded.takeOpenedFromMenu(list(3));  // auto-loaded at start: it is the open list
    EXPECT_EQ(loaded.menuItems(), (QStringList{list(2), list(1)}));

    ListHistory fresh;
    fresh.load(dir.path() + "/none.ini", "/last.mpl");
    EXPECT_EQ(fresh.entries(), QStringList{"/last.mpl"});
    EXPECT_TRUE(fresh.menuItems().isEmpty());
    ListHistory nothing;
    nothing.load(dir.path() + "/none.ini", "*.mpl");
    EXPECT_TRUE(nothing.isEmpty());
}

}  // namespace
