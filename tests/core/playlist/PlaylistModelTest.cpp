#include "QtPrinters.h"
#include "core/playlist/MediaPaths.h"
#include "core/playlist/Playlist.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

using vorlo::Playlist;
using vorlo::PlaylistEntry;

namespace {

// A list of songs "a".."e" (paths /m/a.mid ...), saved: ListChanged clear.
void fill(Playlist& list, const std::string& names) {
    for (char c : names) {
        const QString name = QString(QChar(c)) + ".mid";
        list.append(PlaylistEntry{"/m/" + name, name, false});
    }
    list.MarkListSaved();
}

std::string order(const Playlist& list) {
    std::string names;
    for (int i = 0; i < list.count(); ++i) names += list.displayName(i).at(0).toLatin1();
    return names;
}

std::string checks(const Playlist& list) {
    std::string marks;
    for (int i = 0; i < list.count(); ++i) marks += list.isChecked(i) ? 'x' : '.';
    return marks;
}

QString currentSong(const Playlist& list) {
    return list.isValidIndex(list.CurrentIndex()) ? list.path(list.CurrentIndex()) : QString("none");
}

}  // namespace

TEST(PlayableExtension, LowerCasedExtensionsOfTheSixMediaTypesOnly) {
    for (const char* name : {"song.mid", "A.WAV", "clip.Avi", "x.rmi", "karaoke.KAR", "Track01.cda"})
        EXPECT_TRUE(vorlo::IsPlayableExt(vorlo::extensionLowered(name))) << name;
    for (const char* name : {"list.mpl", "song.midi", "song.mid.txt", "mid", "archive.zip", "/folder.mid/readme"})
        EXPECT_FALSE(vorlo::IsPlayableExt(vorlo::extensionLowered(name))) << name;
    EXPECT_FALSE(vorlo::IsPlayableExt(".MID"));  // the test itself takes lower case only
    EXPECT_EQ(vorlo::fileNamePart("/music/old/Canon.mid"), "Canon.mid");
    EXPECT_EQ(vorlo::folderWithSeparator("/music"), "/music/");
    EXPECT_EQ(vorlo::folderWithSeparator("/"), "/");
}

TEST(Playlist, RemovingKeepsTheSameSongCurrent) {
    Playlist list;
    fill(list, "abcde");
    list.setCurrentIndex(3);  // d
    auto result = list.removeEntry(1);
    EXPECT_EQ(result.removal, Playlist::Removal::RemovedOther);
    EXPECT_EQ(result.lineToSelect, 1);
    EXPECT_EQ(order(list), "acde");
    EXPECT_EQ(currentSong(list), "/m/d.mid");
    EXPECT_TRUE(list.ListChanged());

    result = list.removeEntry(3);  // the last line, below the current one
    EXPECT_EQ(result.lineToSelect, 2);
    EXPECT_EQ(currentSong(list), "/m/d.mid");

    result = list.removeEntry(2);  // the current one: one back, so the advance picks the next
    EXPECT_EQ(result.removal, Playlist::Removal::RemovedCurrent);
    EXPECT_EQ(result.lineToSelect, -1);
    EXPECT_EQ(list.CurrentIndex(), 1);
    EXPECT_EQ(order(list), "ac");

    EXPECT_EQ(list.removeEntry(7).removal, Playlist::Removal::Nothing);
    EXPECT_EQ(list.removeEntry(-1).removal, Playlist::Removal::Nothing);
}

TEST(Playlist, RemovingTheOnlyEntryClearsTheListAndNothingIsLeftToSave) {
    Playlist list;
    fill(list, "a");
    list.MarkListChanged();
    EXPECT_EQ(list.removeEntry(0).removal, Playlist::Removal::ClearedList);
    EXPECT_TRUE(list.isEmpty());
    EXPECT_FALSE(list.ListChanged());
}

TEST(Playlist, DraggingALineOntoItselfOrTheLineBelowChangesNothing) {
    Playlist list;
    fill(list, "abcd");
    EXPECT_EQ(list.dragMove(1, 1), 1);
    EXPECT_EQ(list.dragMove(1, 2), 1);
    EXPECT_EQ(order(list), "abcd");
    EXPECT_FALSE(list.ListChanged());
    EXPECT_EQ(list.dragMove(0, 9), -1);
    EXPECT_EQ(list.dragMove(-1, 2), -1);
}

TEST(Playlist, DraggedLinesLandBeforeTheDropLineAndTheCurrentSongStaysCurrent) {
    // Every drag of a five-line list with every entry current once: the song that was current before is
    // current after, and the moved line lands just before the line it was dropped on.
    for (int from = 0; from < 5; ++from) {
        for (int to = 0; to <= 5; ++to) {
            for (int current = 0; current < 5; ++current) {
                Playlist list;
                fill(list, "abcde");
                list.setCurrentIndex(current);
                const QString song = currentSong(list);
                const QString moved = list.path(from);
                const int landed = list.dragMove(from, to);
                EXPECT_EQ(currentSong(list), song) << from << "->" << to << " current " << current;
                EXPECT_EQ(list.path(landed), moved);
                if (to != from && to != from + 1) {
                    EXPECT_EQ(landed, from < to ? to - 1 : to);
                    EXPECT_TRUE(list.ListChanged());
                }
            }
        }
    }
}

TEST(Playlist, CheckMarksTravelWithTheirEntries) {
    Playlist list;
    fill(list, "abcde");
    list.setChecked(1, true);          // b
    list.setChecked(3, true);          // d
    EXPECT_FALSE(list.ListChanged());  // marks are not part of the list file

    list.dragMove(1, 5);
    EXPECT_EQ(order(list), "acdeb");
    EXPECT_EQ(checks(list), "..x.x");

    // Pushing an unchecked line up past a checked one.
    list.setCurrentIndex(2);      // d
    EXPECT_TRUE(list.moveUp(3));  // e passes d
    EXPECT_EQ(order(list), "acedb");
    EXPECT_EQ(checks(list), "...xx");
    EXPECT_EQ(currentSong(list), "/m/d.mid");
    EXPECT_TRUE(list.moveDown(3));  // the current entry itself goes down
    EXPECT_EQ(order(list), "acebd");
    EXPECT_EQ(currentSong(list), "/m/d.mid");
    EXPECT_FALSE(list.moveUp(0));
    EXPECT_FALSE(list.moveDown(4));

    list.UncheckAllEntries();
    EXPECT_EQ(checks(list), ".....");
}

TEST(Playlist, SortingIgnoresCaseClearsMarksAndMakesTheFirstEntryCurrent) {
    Playlist list;
    list.append({"/m/b/zeta.mid", "my zeta", false});
    list.append({"/m/A/song.mid", "song", true});
    list.append({"/m/a/Beta.MID", "beta", false});
    list.append({"/m/B/alpha.wav", "alpha", true});
    list.setCurrentIndex(2);
    list.MarkListSaved();
    ASSERT_TRUE(list.sort());
    EXPECT_EQ(list.PathList(), QStringList({"/m/a/Beta.MID", "/m/A/song.mid", "/m/B/alpha.wav", "/m/b/zeta.mid"}));
    EXPECT_EQ(list.displayName(0), "Beta.MID");
    EXPECT_EQ(list.displayName(3), "zeta.mid");
    EXPECT_EQ(checks(list), "....");
    EXPECT_EQ(list.CurrentIndex(), 0);
    EXPECT_TRUE(list.ListChanged());

    Playlist single;
    single.append({"/m/x.mid", "shown as", true});
    single.MarkListSaved();
    ASSERT_TRUE(single.sort());
    EXPECT_EQ(single.displayName(0), "x.mid");
    EXPECT_FALSE(single.isChecked(0));
    EXPECT_FALSE(single.ListChanged());  // one entry cannot change order

    Playlist empty;
    EXPECT_FALSE(empty.sort());
}

TEST(Playlist, InsertingAboveTheCurrentEntryKeepsItsSong) {
    Playlist list;
    fill(list, "abc");
    list.setCurrentIndex(1);
    EXPECT_EQ(list.insertAtDropPoint(1, {{"/m/x.mid", "x.mid", false}, {"/m/y.mid", "y.mid", false}}), 2);
    EXPECT_EQ(order(list), "axybc");
    EXPECT_EQ(currentSong(list), "/m/b.mid");
    list.insertAtDropPoint(5, {{"/m/z.mid", "z.mid", false}});
    EXPECT_EQ(order(list), "axybcz");
    EXPECT_EQ(currentSong(list), "/m/b.mid");
    EXPECT_TRUE(list.ListChanged());

    Playlist empty;
    empty.insertAtDropPoint(0, {{"/m/x.mid", "x.mid", false}, {"/m/y.mid", "y.mid", false}});
    EXPECT_EQ(empty.CurrentIndex(), 0);  // nothing was current, so nothing is pushed out of the list
}

TEST(Playlist, TheChangedFlagFollowsEveryChangeOfThePaths) {
    Playlist list;
    std::vector<bool> reports;
    QObject::connect(&list, &Playlist::listChangedFlagChanged, [&](bool changed) { reports.push_back(changed); });
    list.append({"/m/a.mid", "a.mid", false});
    list.append({"/m/a.mid", "a.mid", false});  // the same file twice is two entries
    EXPECT_EQ(list.PathList(), QStringList({"/m/a.mid", "/m/a.mid"}));
    EXPECT_EQ(reports, std::vector<bool>({true}));  // raised once, not for every line
    list.MarkListSaved();
    list.setChecked(0, true);
    EXPECT_FALSE(list.ListChanged());
    list.moveDown(0);
    EXPECT_TRUE(list.ListChanged());
    list.MarkListSaved();
    list.removeEntry(1);
    EXPECT_TRUE(list.ListChanged());
    list.clear();
    EXPECT_FALSE(list.ListChanged());
    EXPECT_EQ(list.CurrentIndex(), 0);
    list.MarkListChanged();
    EXPECT_FALSE(list.settleChangedFlag());  // an empty list is never "changed"
}

TEST(Playlist, TheSelectedLineFollowsItsSongAndGoesWithTheList) {
    Playlist list;
    fill(list, "abcde");
    std::vector<int> shown;
    QObject::connect(&list, &Playlist::selectionChanged, [&](int line) { shown.push_back(line); });
    list.selectLine(2);  // c
    list.insertAtDropPoint(0, {{"/m/x.mid", "x.mid", false}});
    EXPECT_EQ(list.selectedLine(), 3);
    list.removeEntry(0);
    EXPECT_EQ(list.selectedLine(), 2);
    list.moveUp(2);
    EXPECT_EQ(list.selectedLine(), 1);
    list.dragMove(1, 5);  // c goes to the end
    EXPECT_EQ(list.selectedLine(), 4);
    EXPECT_EQ(list.displayName(list.selectedLine()), "c.mid");
    list.removeEntry(0);  // a line above
    list.removeEntry(3);  // the selected line itself
    EXPECT_EQ(list.selectedLine(), -1);
    list.selectLine(1);
    list.sort();
    EXPECT_EQ(list.selectedLine(), -1);
    list.selectLine(7);  // no such line
    EXPECT_EQ(list.selectedLine(), -1);
    list.selectLine(0);
    list.clear();
    EXPECT_EQ(list.selectedLine(), -1);
    // The view is told every time, so it can put its highlight where the list says.
    EXPECT_EQ(shown, (std::vector<int>{2, 3, 2, 1, 4, 3, -1, 1, -1, 0, -1}));
}
