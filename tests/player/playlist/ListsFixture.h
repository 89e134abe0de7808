#pragma once

#include "ScriptedMessageBoxes.h"
#include "player/playlist/ListCommands.h"
#include "player/playlist/PlaylistPanel.h"

#include <QTemporaryDir>

#include <gtest/gtest.h>

#include <map>
#include <memory>
#include <ostream>

// Readable failure messages for Qt strings.
inline void PrintTo(const QString& text, std::ostream* out) { *out << '"' << text.toStdString() << '"'; }
inline void PrintTo(const QStringList& list, std::ostream* out) {
    *out << '{' << list.join(QStringLiteral(", ")).toStdString() << '}';
}
inline void PrintTo(const QByteArray& bytes, std::ostream* out) { *out << '"' << bytes.toStdString() << '"'; }

namespace vorlo::test {

// A playlist panel with its list commands, real files in a temporary folder, scripted boxes and dialogs, and
// hooks that record what the commands asked of the player.
class ListsFixture : public ::testing::Test {
protected:
    void SetUp() override;

    // An (empty) media file in the temporary folder; returns its full path.
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

    bool enabled(ListCommand command) const {
        const auto found = commands.find(command);
        return found != commands.end() && found->second;
    }

    QTemporaryDir dir;
    ScriptedMessageBoxes boxes;
    std::unique_ptr<PlaylistPanel> panel;
    std::unique_ptr<ListCommands> lists;
    ListHooks hooks;

    // What the hooks saw.
    std::map<ListCommand, bool> commands;
    bool closeListEnabled = false;
    QString caption;
    int opened = 0;
};

}  // namespace vorlo::test
