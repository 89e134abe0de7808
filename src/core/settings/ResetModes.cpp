#include "core/settings/ResetModes.h"

#include "midi/SmfReader.h"
#include "os/NativePath.h"

#include <QFile>
#include <QFileInfo>

#include <variant>

namespace vorlo {

namespace {

const char* const kModeFiles[] = {"//Reset//Gm_reset.mid", "//Reset//Gs_reset.mid", "//Reset//Xg_reset.mid"};

MessageBox resetError(const QString& text) {
    MessageBox box;
    box.caption = QStringLiteral("Error - Reset File");
    box.text = text;
    box.icon = BoxIcon::Error;
    return box;
}

}  // namespace

QString ResetModes::fileFor(ResetMode mode, const QString& programFolder) {
    switch (mode) {
        case ResetMode::GM:
        case ResetMode::GS:
        case ResetMode::XG:
            // Plain concatenation, the doubled slashes included: stored options name the files this way.
            return programFolder + QLatin1String(kModeFiles[static_cast<int>(mode) - 1]);
        default: return {};
    }
}

ResetMode ResetModes::modeOf(const QString& resetFile, const QString& programFolder) {
    if (resetFile.isEmpty()) return ResetMode::None;
    if (!QFileInfo::exists(resetFile)) return ResetMode::Unselected;
    for (const ResetMode mode : {ResetMode::GM, ResetMode::GS, ResetMode::XG})
        if (resetFile == fileFor(mode, programFolder)) return mode;
    return ResetMode::Customized;
}

ResetChoice ResetModes::choose(ResetMode mode, const QString& customPath, const QString& resetFile,
                               const QString& programFolder) {
    ResetChoice choice{resetFile, std::nullopt};
    switch (mode) {
        case ResetMode::None:
        case ResetMode::Unselected: choice.resetFile.clear(); break;
        case ResetMode::GM:
        case ResetMode::GS:
        case ResetMode::XG: choice.resetFile = fileFor(mode, programFolder); break;
        case ResetMode::Customized:
            if (customPath.isEmpty()) {
                choice.error = resetError(QStringLiteral(
                    "You need to either type or browse to fill in a file name for customised MIDI reset."));
                return choice;
            }
            if (!QFileInfo::exists(customPath)) {
                choice.error = resetError(QStringLiteral(
                    "The customised MIDI Reset file that you specified does not exist!  Please check the file name "
                    "and path again to ensure everything is correct."));
                return choice;
            }
            // Any other file would be sent to the synthesizer before every song, and fail to open each time.
            if (!isReadableMidiFile(customPath)) {
                MessageBox box;
                box.caption = QStringLiteral("Warning - Reset File");
                box.text = QStringLiteral("Warning:  Do not fill in any file not for MIDI reset purpose!");
                box.icon = BoxIcon::Warning;
                choice.error = box;
                return choice;
            }
            choice.resetFile = customPath;
            break;
    }
    if (mode != ResetMode::None && !QFileInfo::exists(choice.resetFile))
        choice.error = resetError(QStringLiteral("The MIDI reset file for this mode is missing!"));
    return choice;
}

bool ResetModes::isReadableMidiFile(const QString& path) {
    if (!QFileInfo(path).isFile()) return false;
    const QByteArray name = encodePath(path);
    return std::holds_alternative<midi::MidiFile>(midi::readMidiFile(std::string(name.constData(), name.size())));
}

QString ResetModes::caption(const QString& resetFile, const QString& programFolder) {
    static const char* const kCaptions[] = {"GM Reset", "GS Reset", "XG Reset"};
    for (const ResetMode mode : {ResetMode::GM, ResetMode::GS, ResetMode::XG})
        if (resetFile == fileFor(mode, programFolder)) return QLatin1String(kCaptions[static_cast<int>(mode) - 1]);
    return QStringLiteral("Custom Reset");
}

}  // namespace vorlo
