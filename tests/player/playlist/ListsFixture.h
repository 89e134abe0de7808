#pragma once

#include "CoreRig.h"
#include "QtPrinters.h"
#include "ScriptedMessageBoxes.h"
#include "core/playlist/ListCommands.h"
#include "player/playlist/ListDialogs.h"
#include "player/playlist/PlaylistPanel.h"
#include "player/playlist/RecentListsMenu.h"

#include <QTemporaryDir>

#include <gtest/gtest.h>

#include <memory>
#include <ostream>

inline void PrintTo(const QByteArray& bytes, std::ostream* out) { *out << '"' << bytes.toStdString() << '"'; }

namespace vorlo::test {

// The list commands of the player's core (offline media device, Auto off) with the player's own list dialogs
// and report window, a playlist panel and the recent lists menu, real files in a temporary folder, and scripted
// boxes and dialogs.
class ListsFixture : public ::testing::Test {
protected:
    void SetUp() override;
    void TearDown() override;

    // A short real medium in the temporary folder (a song, or a wave for ".wav"); returns its full path.
    QString song(const QString& name) const;
    QString path(const QString& name) const { return dir.path() + QLatin1Char('/') + name; }
    // A list file written byte for byte.
    QString writeBytes(const QString& name, const QByteArray& bytes) const;
    QString writeList(const QString& name, const QStringList& paths) const;
    static QByteArray readBytes(const QString& file);
    // The bytes of a list file holding `paths`.
    static QByteArray crlf(const QStringList& paths) {
        return paths.isEmpty() ? QByteArray() : (paths.join("\r\n") + "\r\n").toUtf8();
    }
    QStringList playlistPaths() const { return panel->playlist().PathList(); }

    // The next file dialog named `dialogName` gets `fileName` typed in and is accepted; its title is checked.
    void chooseFile(const QString& dialogName, const QString& title, const QString& fileName);
    // Opens a list through the open dialog (no save question expected).
    void openList(const QString& fileName);
    // Adds `names` as songs straight from the file box: the list becomes changed and has no file.
    void addSongs(const QStringList& names);

    // What the window shows now.
    PlayerView view() const { return rig->view(); }
    bool closeListEnabled() const { return view().closeList; }

    QTemporaryDir dir;
    ScriptedMessageBoxes boxes;
    std::unique_ptr<CoreRig> rig;
    std::unique_ptr<ListDialogs> dialogs;
    std::unique_ptr<PlaylistPanel> panel;
    std::unique_ptr<RecentListsMenu> recentMenu;
    ListCommands* lists = nullptr;

    // The last caption the window was given, and how many entries were opened on the media device.
    QString caption;
    int opened = 0;
};

}  // namespace vorlo::test
