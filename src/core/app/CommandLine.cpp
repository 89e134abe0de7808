#include "core/app/CommandLine.h"

#include "core/playlist/MediaPaths.h"
#include "os/NativePath.h"

namespace vorlo {

namespace {

// Switches begin with "/". Here absolute paths do too, so a switch is one word after the slash and names no
// existing file: "/play" is a switch, "/home/me/song.mid" and an existing "/song.mid" are files.
bool isSwitch(const QString& argument) {
    return argument.startsWith(QLatin1Char('/')) && argument.indexOf(QLatin1Char('/'), 1) < 0 && !pathExists(argument);
}

}  // namespace

CommandLine CommandLine::parse(const QStringList& arguments) {
    CommandLine line;
    QStringList fileParts;
    for (qsizetype i = 0; i < arguments.size(); ++i) {
        const QString& argument = arguments[i];
        if (argument.isEmpty()) continue;
        if (!isSwitch(argument)) {
            fileParts << argument;
            continue;
        }
        const QString lower = argument.toLower();
        if (lower == QLatin1String("/play")) {
            line.playOnStart = true;
        } else if (lower == QLatin1String("/close")) {
            line.closeAfterPlay = true;
        } else if (lower == QLatin1String("/mode")) {
            while (i + 1 < arguments.size() &&
                   (arguments[i + 1].startsWith(QLatin1Char('+')) || arguments[i + 1].startsWith(QLatin1Char('-')))) {
                const QString mode = arguments[++i].toLower();
                if (mode.size() == 2 && QStringLiteral("alrms").contains(mode[1]))
                    line.modeChanges.push_back({mode[1].toLatin1(), mode[0] == QLatin1Char('+')});
            }
        }
    }
    // Joined by single blanks; a trailing blank goes.
    line.fileArgument = fileParts.join(QLatin1Char(' '));
    while (line.fileArgument.endsWith(QLatin1Char(' '))) line.fileArgument.chop(1);
    return line;
}

HandOver HandOver::resolve(const QString& tail, const QString& programFolder) {
    HandOver result;
    QString name = tail;
    if (name.startsWith(QLatin1Char('/'))) name.remove(0, 13);
    // On this system an absolute path also starts with "/": the prefix is only there when the text begins with
    // the play command's switches, so a plain path keeps its first characters.
    if (tail.startsWith(QLatin1Char('/')) && !tail.startsWith(QLatin1String("/play /close "), Qt::CaseInsensitive))
        name = tail;
    if (!pathExists(name)) {
        name = programFolder + QLatin1Char('/') + name;
        if (!pathExists(name)) return result;
    }
    const QString extension = extensionLowered(name);
    if (extension == QLatin1String(".mpl")) {
        result.kind = Kind::List;
    } else if (IsPlayableExt(extension)) {
        result.kind = Kind::Media;
    } else {
        return result;
    }
    result.path = name;
    return result;
}

}  // namespace vorlo
