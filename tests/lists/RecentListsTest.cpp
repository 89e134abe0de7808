// The Recent Lists menu and the history file.
#include "ListsFixture.h"

#include "player/playlist/ListHistory.h"
#include "player/playlist/RecentListsMenu.h"

#include <QAction>
#include <QDir>
#include <QFile>

namespace vorlo::test {
namespace {

using RecentLists = ListsFixture;

QStringList menuCaptions(const RecentListsMenu& menu) {
    QStringList texts;
    for (const QAction* action : menu.actions())
        texts << action->text();
    return texts;
}

TEST_F(RecentLists, AClosedListHeadsTheMenuAndReopeningItMovesNoOtherItem) {
    const QString a = writeList("a.mpl", {song("1.mid")});
    const QString b = writeList("b.mpl", {song("2.mid")});
    const QString c = writeList("c & d.mpl", {song("3.mid")});
    openList(a);
    openList(b);
    openList(c);
    EXPECT_EQ(lists->history().entries(), QStringList({c, b, a}));
    EXPECT_EQ(lists->recentMenu()->captions(), QStringList({b, a}));

    ASSERT_TRUE(lists->FileCloseListClick());
    EXPECT_EQ(lists->recentMenu()->captions(), QStringList({c, b, a}));
    // The item shows the path itself: an ampersand is no mnemonic.
    EXPECT_EQ(menuCaptions(*lists->recentMenu()).first(), path("c && d.mpl"));

    lists->recentMenu()->actions().first()->trigger();
    EXPECT_EQ(lists->history().entries(), QStringList({c, b, a}));
    EXPECT_EQ(lists->recentMenu()->captions(), QStringList({b, a}));
    EXPECT_EQ(playlistPaths(), QStringList{path("3.mid")});
    EXPECT_EQ(lists->listFile(), c);
    EXPECT_TRUE(closeListEnabled);

    // An older list moves to the top; the list that was open becomes the first recent one.
    lists->recentMenu()->actions().at(1)->trigger();
    EXPECT_EQ(lists->history().entries(), QStringList({a, c, b}));
    EXPECT_EQ(lists->recentMenu()->captions(), QStringList({c, b}));
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
    EXPECT_EQ(lists->recentMenu()->captions(), QStringList{a});
    // The open list stays open.
    EXPECT_EQ(playlistPaths(), QStringList{path("3.mid")});
    EXPECT_EQ(lists->listFile(), c);
}

TEST_F(RecentLists, CancelInTheSaveQuestionOpensNothing) {
    const QString a = writeList("a.mpl", {song("1.mid")});
    const QString b = writeList("b.mpl", {song("2.mid")});
    openList(a);
    openList(b);
    addSongs({"new.mid"});
    boxes.expect("Save list now?", "This list has been changed. Save it now?", BoxIcon::Question,
                 BoxButtons::YesNoCancel, BoxButton::Cancel);
    lists->RecentListClick(0);
    EXPECT_EQ(lists->listFile(), b);
    EXPECT_EQ(playlistPaths().size(), 2);
}

TEST_F(RecentLists, TheHistoryHoldsFifteenListsAndSurvivesARestart) {
    QStringList written;
    for (int i = 0; i < 16; ++i) {
        written.prepend(writeList(QString("list%1.mpl").arg(i), {song(QString("%1.mid").arg(i))}));
        openList(written.first());
    }
    written.removeLast();
    EXPECT_EQ(lists->history().entries(), written);
    EXPECT_EQ(lists->recentMenu()->captions().size(), 14);

    const QString programFolder = path("program");
    QDir().mkpath(programFolder);
    lists->saveHistory(programFolder);
    EXPECT_EQ(readBytes(programFolder + "/History.ini"), (written.join("\r\n") + "\r\n").toUtf8());

    ListCommands next(*panel, hooks, nullptr);
    next.loadHistory(programFolder);
    EXPECT_EQ(next.history().entries(), written);
    EXPECT_EQ(next.recentMenu()->captions(), written);

    // Without a program folder the history is neither read nor written.
    ListCommands homeless(*panel, hooks, nullptr);
    homeless.loadHistory({});
    EXPECT_TRUE(homeless.history().isEmpty());
    EXPECT_EQ(ListCommands::historyFile({}), QString());
}

}  // namespace
}  // namespace vorlo::test
