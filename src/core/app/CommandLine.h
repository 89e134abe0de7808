#pragma once

#include <QString>
#include <QStringList>

#include <vector>

namespace vorlo {

// What the player's own command line asks for: switches "/play", "/close", "/mode" with its mode arguments, and
// one file argument (every other argument, joined by single blanks, so a path with blanks needs no quotes).
struct CommandLine {
    struct ModeChange {
        char mode;  // 'a' Auto, 'l' Loop, 'r' Repeat, 'm' Random, 's' Shuffle
        bool on;
    };

    bool playOnStart = false;
    bool closeAfterPlay = false;
    std::vector<ModeChange> modeChanges;  // in the order given
    QString fileArgument;

    // `arguments` excludes the program name. Switches ignore case; unknown switches and mode arguments are
    // ignored; an empty argument is ignored as well.
    static CommandLine parse(const QStringList& arguments);
};

// A command-line tail handed over by a second start, resolved to the file the player should take.
struct HandOver {
    enum class Kind { Ignore, List, Media };
    Kind kind = Kind::Ignore;
    QString path;

    // Strips the "/play /close " prefix the desktop's play command puts in front (the first 13 characters
    // whenever the text begins with "/"), then looks for the file as given and then in the program folder.
    // A file found nowhere, or with an extension the player does not take, is ignored.
    static HandOver resolve(const QString& tail, const QString& programFolder);
};

}  // namespace vorlo
