// `vorlo summary LIST.mpl`: the player's playlist summary for scripts, the same report the player shows.
#include <QFileInfo>

#include <cstdio>
#include <memory>
#include <optional>

#include "Commands.h"
#include "SoundCommands.h"
#include "ToolApplication.h"
#include "Usage.h"
#include "core/info/PlaylistSummary.h"
#include "core/playlist/ListFile.h"
#include "media/MIDIPlayer.h"
#include "media/MediaSettings.h"
#include "os/NativePath.h"

namespace vorlo::tools {

int runSummary(const std::vector<std::string>& args, const std::string& programFolder) {
    media::MediaSettings settings;
    std::string listArg;
    bool usage = false;
    for (std::size_t i = 0; i < args.size(); ++i) {
        if (args[i] == "--cd" && i + 1 < args.size())
            settings.cdDevice = args[++i];
        else if (args[i] == "--" && i + 1 == args.size() - 1 && listArg.empty())
            listArg = args[++i];
        else if (listArg.empty() && (args[i].empty() || args[i][0] != '-'))
            listArg = args[i];
        else
            usage = true;
    }
    if (usage || listArg.empty()) {
        std::fputs(kSummaryUsage, stderr);
        return kExitUsage;
    }
    const QString listFile = QFileInfo(decodePath(listArg)).absoluteFilePath();
    QStringList paths;
    try {
        paths = ListFile::read(listFile);
    } catch (const EListFileError& error) {
        std::fprintf(stderr, "vorlo: %s\n", error.what());
        return kExitFileFailed;
    }

    // Only a video is measured by a device, and only then are Qt's application and the video module needed.
    std::optional<ToolApplication> app;
    std::unique_ptr<media::MIDIPlayer> videoDevice;
    EntryLengths::VideoProbe probe = [&](const QString& path) -> std::optional<std::int64_t> {
        if (!videoDevice) {
            app.emplace(programFolder, true);
            videoDevice = std::make_unique<media::MIDIPlayer>(settings);
        }
        return EntryLengths::throughDevice(*videoDevice)(path);
    };

    EntryLengths lengths(media::resolvedCdDevice(settings), probe);
    std::vector<SummaryRow> rows;
    rows.reserve(static_cast<std::size_t>(paths.size()));
    bool anyFailed = false;
    for (const QString& path : paths) {
        rows.push_back({path, lengths.measure(path)});
        anyFailed = anyFailed || !rows.back().lengthMs;
    }
    const QByteArray text = SummaryReport::lines(listFile, rows).join(QLatin1Char('\n')).toLocal8Bit() + '\n';
    std::fwrite(text.constData(), 1, static_cast<std::size_t>(text.size()), stdout);
    videoDevice.reset();
    return anyFailed ? kExitFileFailed : kExitOk;
}

}  // namespace vorlo::tools
